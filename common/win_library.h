// A library loaded with LoadLibraryA, freed when the object goes.
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

}  // namespace korvet
