#include "sim/support/win_handles.h"

#include "sim/support/win_errors.h"

namespace korvet::sim {

FileSearch::FileSearch(const std::string& pattern) : handle_(FindFirstFileA(pattern.c_str(), &data_)) {}

bool FileSearch::Next() { return Valid() && FindNextFileA(handle_.Get(), &data_) != 0; }

WinLibrary LoadLibraryOrExplain(const std::string& path, std::string* error) {
  WinLibrary library(path);
  if (!library) {
    const DWORD code = GetLastError();
    *error = "cannot load " + path + ": " + DescribeError(code);
  }
  return library;
}

}  // namespace korvet::sim
