#include "common/dialog_items.h"

#include <commctrl.h>

#include <vector>

namespace korvet {

std::string ItemText(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  if (!item) return {};
  int length = GetWindowTextLengthA(item);
  std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
  int got = GetWindowTextA(item, text.data(), length + 1);
  return std::string(text.data(), got > 0 ? static_cast<std::size_t>(got) : 0);
}

void SetItemText(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

bool IsItemChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void SetItemChecked(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void InitDialogControls() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);
}

int RunProgramDialog(HINSTANCE instance, int dialogId, DLGPROC procedure, LPARAM parameter) {
  InitDialogControls();
  DialogBoxParamA(instance, MAKEINTRESOURCEA(dialogId), nullptr, procedure, parameter);
  return 0;
}

void ShowMessage(HWND owner, const std::string& text, const std::string& caption) {
  MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK);
}

}  // namespace korvet
