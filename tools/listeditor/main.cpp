// Xembrafilepath: the settings-file list editor. Shows the files listed in Xembrafilepath.dat, adds
// files through the file-open dialog, removes them, and writes the entries back on OK. It never
// writes the purge flag; the program that started it decides that.
#include <windows.h>

#include <optional>
#include <string>

#include "common/dialog_items.h"
#include "common/list_display.h"
#include "common/list_format.h"
#include "common/list_location.h"
#include "common/list_writers.h"
#include "common/settings_controls.h"
#include "common/shell_dialogs.h"
#include "tools/listeditor/list_editor_ids.h"
#include "tools/listeditor/settings_list_model.h"

namespace korvet {
namespace {

constexpr const char* kFilter = "Xembra Setting Files (*.qzl)|*.qzl|All Files (*.*)|*.*||";

struct Editor {
  std::optional<std::string> listPath;
  SettingsListModel model{""};
};

Editor* EditorOf(HWND dialog) { return reinterpret_cast<Editor*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

void ShowLines(HWND dialog, const SettingsListModel& model) {
  HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const ListedFile& file : model.Files())
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(file.Shown().c_str()));
}

void Add(HWND dialog, Editor& editor) {
  if (editor.model.Full()) {
    ShowMessage(dialog, "A maximum of fifty files can be sent at a time", "Note");
    return;
  }
  std::optional<ChosenFile> chosen = ChooseFileToOpen(dialog, kFilter);
  if (!chosen) return;
  if (std::optional<std::string> refusal = editor.model.Add(chosen->path, chosen->fileName)) {
    ShowMessage(dialog, *refusal, "Error");
    return;
  }
  ShowLines(dialog, editor.model);
}

void Remove(HWND dialog, Editor& editor) {
  LRESULT selected = SendDlgItemMessageA(dialog, IDC_FILE_LIST, LB_GETCURSEL, 0, 0);
  if (selected == LB_ERR) return;
  editor.model.Remove(static_cast<std::size_t>(selected));
  ShowLines(dialog, editor.model);
}

// A list that could not be written leaves the editor open with the user's entries.
void Confirm(HWND dialog, const Editor& editor) {
  if (!editor.model.Unchanged() && editor.listPath &&
      settings_controls::TellIfFailed(dialog, *editor.listPath,
                                      WriteSettingsListEntries(*editor.listPath, editor.model.EntryText())))
    return;
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK EditorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* editor = reinterpret_cast<Editor*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    std::optional<std::string> text = editor->listPath ? ReadListEntryText(*editor->listPath) : std::nullopt;
    editor->model = SettingsListModel(text.value_or(""));
    ShowLines(dialog, editor->model);
    return TRUE;
  }
  Editor* editor = EditorOf(dialog);
  if (message != WM_COMMAND || !editor) return FALSE;
  switch (LOWORD(wParam)) {
    case IDC_ADD:
      Add(dialog, *editor);
      return TRUE;
    case IDC_REMOVE:
      Remove(dialog, *editor);
      return TRUE;
    case IDOK:
      Confirm(dialog, *editor);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace
}  // namespace korvet

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  korvet::Editor editor;
  editor.listPath = korvet::FindToolListFile(korvet::lists::kSettingsListTool);
  return korvet::RunProgramDialog(instance, IDD_LIST_EDITOR, korvet::EditorProc, reinterpret_cast<LPARAM>(&editor));
}
