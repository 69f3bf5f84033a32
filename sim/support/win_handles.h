// RAII owners of the Win32 handles the stand-ins use: files, file searches and loaded libraries.
#pragma once

#include <string>

#include <windows.h>

namespace korvet::sim {

// Owns one Win32 handle and closes it on destruction.
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  ~OwnedHandle() { Close(); }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = INVALID_HANDLE_VALUE; }
  OwnedHandle& operator=(OwnedHandle&& other) noexcept;

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }
  // Closes now; false when CloseHandle reported a failure (GetLastError tells why).
  bool Close();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Owns a FindFirstFileA search.
class FileSearch {
 public:
  explicit FileSearch(const std::string& pattern);
  ~FileSearch();
  FileSearch(const FileSearch&) = delete;
  FileSearch& operator=(const FileSearch&) = delete;

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  const WIN32_FIND_DATAA& Current() const { return data_; }
  bool Next();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA data_{};
};

// Owns a loaded library and frees it on destruction.
class Library {
 public:
  Library() = default;
  ~Library() { Reset(); }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  Library(Library&& other) noexcept : module_(other.module_) { other.module_ = nullptr; }
  Library& operator=(Library&& other) noexcept;

  // LoadLibraryA of the path; an invalid library when it does not load (GetLastError tells why).
  static Library Load(const std::string& path);
  // As above; when it does not load, *error says "cannot load <path>: <why>".
  static Library Load(const std::string& path, std::string* error);

  bool Valid() const { return module_ != nullptr; }
  HMODULE Get() const { return module_; }
  // The export of that name, cast to the function type the caller names; null when missing.
  template <typename Function>
  Function Find(const char* name) const {
    return module_ ? reinterpret_cast<Function>(GetProcAddress(module_, name)) : nullptr;
  }
  void Reset();

 private:
  HMODULE module_ = nullptr;
};

}  // namespace korvet::sim
