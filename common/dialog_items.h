// Small helpers over a dialog's controls, shared by every dialog of the system.
#pragma once

#include <windows.h>

#include <string>

namespace korvet {

std::string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);
bool IsItemChecked(HWND dialog, int id);
void SetItemChecked(HWND dialog, int id, bool checked);

// Registers the common controls before a program's first dialog, so that the version 6 controls that
// the programs' manifests ask for (visual styles) are there.
void InitDialogControls();
// The whole of a desktop program: the controls registered, then its one modal dialog from the
// program's resources until it closes. The program's exit code, 0.
int RunProgramDialog(HINSTANCE instance, int dialogId, DLGPROC procedure, LPARAM parameter = 0);

// A message box with an OK button; texts as the system's own.
void ShowMessage(HWND owner, const std::string& text, const std::string& caption);

}  // namespace korvet
