// Detachor: asks whether to unregister the conduit, then removes Korvet's registration from HotSync
// Manager. It deletes no files.
#include <windows.h>

#include "common/cond_mgr.h"
#include "common/dialog_items.h"
#include "common/win_library.h"
#include "install/detach/detachor_ids.h"
#include "install/question_dialog.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  korvet::InitDialogControls();
  if (korvet::AskQuestion(instance, IDD_DETACHOR) != korvet::kAnswerYes) return 0;
  bool found = false;
  {
    korvet::WinLibrary condMgr(korvet::kCondMgrLibrary);
    if (auto remove = condMgr.Get<korvet::CmRemoveConduitByCreatorIDFn>("CmRemoveConduitByCreatorID")) {
      found = true;
      // 1 means removed; a conduit that was not registered ends the program as quietly.
      remove(korvet::kCreatorId);
    }
  }
  if (!found) korvet::ShowMessage(nullptr, "Cannot find CondMgr.dll", "error");
  return 0;
}
