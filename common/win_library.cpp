#include "common/win_library.h"

#include <vector>

#include "common/paths.h"

namespace korvet {

std::string ModuleFolder(HMODULE module) {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      const std::string path(buffer.data(), length);
      const std::size_t slash = LastSeparator(path, true);
      return slash == std::string::npos ? std::string() : path.substr(0, slash);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string FolderOfModuleContaining(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<const char*>(address), &module))
    return {};
  return ModuleFolder(module);
}

}  // namespace korvet
