// Cardoon: the report folder picker. Shows the folder named in Cardoon.dat, lets the user pick
// another one with the shell's folder browser, and writes it back on OK. It never writes the
// retrieve and delete flags; the program that started it decides those.
#include <windows.h>

#include <optional>
#include <string>

#include "common/chosen_path_check.h"
#include "common/dialog_items.h"
#include "common/list_display.h"
#include "common/list_format.h"
#include "common/list_location.h"
#include "common/list_writers.h"
#include "common/settings_controls.h"
#include "common/shell_dialogs.h"
#include "tools/folderpicker/folder_picker_ids.h"

namespace korvet {
namespace {

std::optional<std::string> g_folderFile;

void Browse(HWND dialog) {
  std::optional<std::string> folder = ChooseFolder(dialog);
  if (!folder) return;
  if (std::optional<std::string> refusal = ReportFolderRefusal(*folder)) {
    ShowMessage(dialog, *refusal, "Error");
    return;
  }
  SetItemText(dialog, IDC_FOLDER, *folder);
}

// A folder that could not be written leaves the picker open with the user's choice.
void Confirm(HWND dialog) {
  if (g_folderFile && settings_controls::TellIfFailed(dialog, *g_folderFile,
                                                      WriteReportFolder(*g_folderFile, ItemText(dialog, IDC_FOLDER))))
    return;
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK PickerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    std::optional<std::string> text = g_folderFile ? ReadFolderPickerText(*g_folderFile) : std::nullopt;
    SetItemText(dialog, IDC_FOLDER, text.value_or(""));
    // The focus goes to "Browse...", the only way to change the folder, not to the read-only text.
    SetFocus(GetDlgItem(dialog, IDC_BROWSE));
    return FALSE;
  }
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDC_BROWSE:
      Browse(dialog);
      return TRUE;
    case IDC_PICKER_OK:
      Confirm(dialog);
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
  korvet::g_folderFile = korvet::FindToolListFile(korvet::lists::kReportFolderTool);
  return korvet::RunProgramDialog(instance, IDD_FOLDER_PICKER, korvet::PickerProc);
}
