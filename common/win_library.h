// A library loaded with LoadLibraryA, freed when the object goes, and the folder a module lies in.
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_handle.h"

namespace korvet {

class WinLibrary {
 public:
  WinLibrary() = default;
  explicit WinLibrary(const std::string& name) : module_(LoadLibraryA(name.c_str())) {}

  bool IsLoaded() const { return module_.IsValid(); }
  explicit operator bool() const { return IsLoaded(); }
  HMODULE Handle() const { return module_.Get(); }

  // The named function as the given function-pointer type, or null when missing.
  template <typename Fn>
  Fn Get(const char* name) const {
    if (!module_) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_.Get(), name)));
  }

  void Free() { module_.Reset(); }

 private:
  UniqueLibrary module_;
};

// The folder of a loaded module (null: the program), without a trailing backslash; empty when the
// module's path cannot be had. The buffer grows, so paths past MAX_PATH come back whole.
std::string ModuleFolder(HMODULE module);
// The folder of the module whose code or data holds the address (a DLL finds its own folder so).
std::string FolderOfModuleContaining(const void* address);

}  // namespace korvet
