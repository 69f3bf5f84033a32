// The Win32 handles the stand-ins use beside common's file and library: file searches, owned through
// the one handle template, and libraries loaded with the reason they did not load.
#pragma once

#include <string>

#include <windows.h>

#include "common/unique_handle.h"
#include "common/win_library.h"

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

// LoadLibraryA of the path; when it does not load, *error says "cannot load <path>: <why>".
WinLibrary LoadLibraryOrExplain(const std::string& path, std::string* error);

}  // namespace korvet::sim
