// The Win32 handles the stand-ins use beside common's file handle (UniqueFile): file searches and
// loaded libraries, each owned through the one handle template.
#pragma once

#include <string>

#include <windows.h>

#include "common/unique_handle.h"

namespace korvet::sim {

// A FindFirstFileA search and its current entry.
class FileSearch {
 public:
  explicit FileSearch(const std::string& pattern);

  bool Valid() const { return handle_.IsValid(); }
  const WIN32_FIND_DATAA& Current() const { return data_; }
  bool Next();

 private:
  WIN32_FIND_DATAA data_{};
  UniqueFileSearch handle_;
};

// A loaded library, freed on destruction.
class Library {
 public:
  // LoadLibraryA of the path; an invalid library when it does not load (GetLastError tells why).
  static Library Load(const std::string& path);
  // As above; when it does not load, *error says "cannot load <path>: <why>".
  static Library Load(const std::string& path, std::string* error);

  bool Valid() const { return module_.IsValid(); }
  HMODULE Get() const { return module_.Get(); }
  // The export of that name, cast to the function type the caller names; null when missing.
  template <typename Function>
  Function Find(const char* name) const {
    return module_ ? reinterpret_cast<Function>(GetProcAddress(module_.Get(), name)) : nullptr;
  }
  void Reset() { module_.Reset(); }

 private:
  UniqueLibrary module_;
};

}  // namespace korvet::sim
