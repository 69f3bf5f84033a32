#include "sim/support/win_handles.h"

#include <utility>

#include "sim/support/win_errors.h"

namespace korvet::sim {

OwnedHandle& OwnedHandle::operator=(OwnedHandle&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
  }
  return *this;
}

bool OwnedHandle::Close() {
  if (!Valid()) return true;
  return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0;
}

FileSearch::FileSearch(const std::string& pattern) { handle_ = FindFirstFileA(pattern.c_str(), &data_); }

FileSearch::~FileSearch() {
  if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
}

bool FileSearch::Next() { return Valid() && FindNextFileA(handle_, &data_) != 0; }

Library& Library::operator=(Library&& other) noexcept {
  if (this != &other) {
    Reset();
    module_ = std::exchange(other.module_, nullptr);
  }
  return *this;
}

Library Library::Load(const std::string& path) {
  Library library;
  library.module_ = LoadLibraryA(path.c_str());
  return library;
}

Library Library::Load(const std::string& path, std::string* error) {
  Library library = Load(path);
  if (!library.Valid()) {
    const DWORD code = GetLastError();
    *error = "cannot load " + path + ": " + DescribeError(code);
  }
  return library;
}

void Library::Reset() {
  if (module_) FreeLibrary(std::exchange(module_, nullptr));
}

}  // namespace korvet::sim
