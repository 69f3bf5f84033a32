#include "common/tool_start.h"

#include <string>

#include "common/dialog_items.h"
#include "common/list_location.h"
#include "common/win_process.h"

namespace korvet {

bool RunToolAndWait(HWND owner, const char* toolFileName) {
  std::optional<std::string> path = FindProgramFile(toolFileName);
  std::optional<WinProcess> tool = path ? WinProcess::Start(*path) : std::nullopt;
  if (!tool) {
    ShowMessage(owner, std::string("Cannot locate file ") + toolFileName, "File Not Found");
    return false;
  }
  tool->WaitForExit();
  return true;
}

}  // namespace korvet
