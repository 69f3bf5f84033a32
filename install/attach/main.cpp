// Attachor: asks whether to register the conduit, then copies the desktop tools into the HotSync
// core directory and registers Korv.dll with HotSync Manager.
#include <windows.h>

#include "common/dialog_items.h"
#include "install/attach/attachor_ids.h"
#include "install/attach/installer.h"
#include "install/question_dialog.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  korvet::InitDialogControls();
  switch (korvet::AskQuestion(instance, IDD_ATTACHOR)) {
    case korvet::kAnswerYes:
      korvet::attach::InstallConduit();
      // Whatever happened: HotSync Manager reads its conduit list only when it starts.
      korvet::ShowMessage(nullptr, "The Hotsync Manager must be restarted\nafter the install is complete.", "Note");
      break;
    case korvet::kAnswerNo:
      korvet::ShowMessage(nullptr, "The Conduit will not be registered with the Hotsync Manager", "Note");
      break;
    default:  // the dialog could not be shown
      break;
  }
  return 0;
}
