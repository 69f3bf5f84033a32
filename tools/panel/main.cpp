// Setpanel: the list-file settings of the conduit's configuration dialog as a program of its own,
// without the sync action part.
#include <windows.h>

#include "common/dialog_items.h"
#include "common/settings_controls.h"
#include "tools/panel/panel_ids.h"

namespace korvet {
namespace {

INT_PTR CALLBACK PanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    settings_controls::SetInitialChecks(dialog);
    settings_controls::ShowLists(dialog);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  if (wParam == IDOK) {
    settings_controls::WriteFlags(dialog);
    EndDialog(dialog, IDOK);
    return TRUE;
  }
  if (wParam == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return settings_controls::HandleToolCommand(dialog, wParam) ? TRUE : FALSE;
}

}  // namespace
}  // namespace korvet

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return korvet::RunProgramDialog(instance, IDD_PANEL, korvet::PanelProc);
}
