// Setpanelrun: asks the Conduit Manager for the HotSync core directory and starts Setpanel.exe from
// there without waiting for it.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "common/cond_mgr.h"
#include "common/dialog_items.h"
#include "common/paths.h"
#include "common/win_library.h"
#include "common/win_process.h"
#include "tools/launcher/launcher_ids.h"

namespace korvet {
namespace {

// Posted at initialisation, so that the launcher's window is up before any message box.
constexpr UINT kLaunch = WM_APP + 1;
constexpr std::int32_t kCorePathCapacity = 512;

void Launch(HWND dialog) {
  std::string panel;
  {
    WinLibrary condMgr(kCondMgrLibrary);
    if (!condMgr) {
      ShowMessage(dialog, "Unable to find the Hotsync directory.", "Error");
      EndDialog(dialog, 1);
      return;
    }
    auto getCorePath = condMgr.Get<CmGetCorePathFn>("CmGetCorePath");
    if (!getCorePath) {
      EndDialog(dialog, 1);
      return;
    }
    // One byte more than the capacity given keeps the text terminated whatever the library writes.
    char core[kCorePathCapacity + 1] = {};
    std::int32_t capacity = kCorePathCapacity;
    if (getCorePath(core, &capacity) != 0) {
      EndDialog(dialog, 1);
      return;
    }
    panel = JoinPath(core, "Setpanel.exe");
  }
  if (WinProcess::Start(panel)) {
    EndDialog(dialog, 0);
    return;
  }
  // The launcher stays with its "Please wait" text until the user presses Cancel.
  ShowMessage(dialog, "Cannot locate file Setpanel.exe\nin the Hotsync directory", "File Not Found");
}

INT_PTR CALLBACK LauncherProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      PostMessageA(dialog, kLaunch, 0, 0);
      return TRUE;
    case kLaunch:
      Launch(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 1);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace
}  // namespace korvet

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return korvet::RunProgramDialog(instance, IDD_LAUNCHER, korvet::LauncherProc);
}
