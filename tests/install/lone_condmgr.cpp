// A Conduit Manager that knows only CmGetCorePath, for the installer's tests: a copy found before
// the HotSync installation's own one, or one through which nothing can be registered. It answers
// the folder written in CorePath.txt beside it, or fails when there is no such file.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

#include "common/cond_mgr.h"
#include "common/paths.h"
#include "common/win_file.h"
#include "common/win_library.h"

extern "C" long CmGetCorePath(char* buffer, std::int32_t* capacity) {
  static const char anchor = 0;
  const std::string file = korvet::JoinPath(korvet::FolderOfModuleContaining(&anchor), "CorePath.txt");
  korvet::WinFile handle = korvet::WinFile::OpenForSharedReading(file);
  if (!handle) return -1006;
  char folder[1024] = {};
  const std::optional<std::size_t> got = handle.Read(folder, sizeof folder - 1);
  if (!got || !buffer || !capacity || static_cast<std::int32_t>(*got) >= *capacity) return -1005;
  std::memcpy(buffer, folder, *got + 1);
  return 0;
}

static_assert(std::is_same_v<decltype(&CmGetCorePath), korvet::CmGetCorePathFn>);
