#include "common/list_location.h"

#include <windows.h>

#include <vector>

#include "common/cond_mgr.h"
#include "common/win_library.h"
#include "common/win_process.h"

namespace korvet {

std::optional<std::string> FindToolListFile(const char* toolFileName) {
  std::optional<std::string> found = FindOnSearchPath(toolFileName);
  if (!found || found->size() < 3) return std::nullopt;
  std::string path = *found;
  path.replace(path.size() - 3, 3, "dat");
  return path;
}

std::optional<std::string> QueryHotSyncCorePath(long capacity) {
  WinLibrary library(kCondMgrLibrary);
  auto getCorePath = library.Get<CmGetCorePathFn>("CmGetCorePath");
  if (!getCorePath || capacity <= 0) return std::nullopt;
  std::vector<char> buffer(static_cast<std::size_t>(capacity) + 1, '\0');
  std::int32_t size = static_cast<std::int32_t>(capacity);
  if (getCorePath(buffer.data(), &size) != 0) return std::nullopt;
  return std::string(buffer.data());  // the extra byte keeps the text terminated
}

}  // namespace korvet
