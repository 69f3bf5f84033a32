// A library loaded with LoadLibraryA, freed when the object goes.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace korvet {

class WinLibrary {
 public:
  WinLibrary() = default;
  explicit WinLibrary(const std::string& name) : module_(LoadLibraryA(name.c_str())) {}
  ~WinLibrary() { Free(); }
  WinLibrary(WinLibrary&& other) noexcept : module_(std::exchange(other.module_, nullptr)) {}
  WinLibrary& operator=(WinLibrary&& other) noexcept {
    if (this != &other) {
      Free();
      module_ = std::exchange(other.module_, nullptr);
    }
    return *this;
  }
  WinLibrary(const WinLibrary&) = delete;
  WinLibrary& operator=(const WinLibrary&) = delete;

  bool IsLoaded() const { return module_ != nullptr; }
  explicit operator bool() const { return IsLoaded(); }
  HMODULE Handle() const { return module_; }

  // The named function as the given function-pointer type, or null when missing.
  template <typename Fn>
  Fn Get(const char* name) const {
    if (!module_) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  void Free() {
    if (module_) FreeLibrary(std::exchange(module_, nullptr));
  }

 private:
  HMODULE module_ = nullptr;
};

}  // namespace korvet
