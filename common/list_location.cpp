#include "common/list_location.h"

#include <windows.h>

#include <vector>

#include "common/cond_mgr.h"
#include "common/paths.h"
#include "common/win_file.h"
#include "common/win_library.h"

namespace korvet {

std::optional<std::string> FindProgramFile(const char* fileName) {
  constexpr std::size_t kMaxFoundPath = 255;  // the tools have always kept found paths in 256 bytes
  auto in = [fileName](const std::string& folder) -> std::optional<std::string> {
    const std::string path = JoinPath(folder, fileName);
    if (folder.empty() || path.size() > kMaxFoundPath || !FileExists(path)) return std::nullopt;
    return path;
  };
  if (std::optional<std::string> beside = in(ModuleFolder(nullptr))) return beside;
  // The Conduit Manager is asked only when needed: it is another library to load.
  std::optional<std::string> core = QueryHotSyncCorePath(256);
  return core ? in(*core) : std::nullopt;
}

std::optional<std::string> FindToolListFile(const char* toolFileName) {
  std::optional<std::string> found = FindProgramFile(toolFileName);
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
