// Small helpers over a dialog's controls, shared by every dialog of the system.
#pragma once

#include <windows.h>

#include <string>

namespace korvet {

std::string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);
bool IsItemChecked(HWND dialog, int id);
void SetItemChecked(HWND dialog, int id, bool checked);

// A message box with an OK button; texts as the system's own.
void ShowMessage(HWND owner, const std::string& text, const std::string& caption);

}  // namespace korvet
