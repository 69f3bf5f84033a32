// Small RAII helpers over the ANSI Win32 file calls that the emulated handheld needs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
  // Closes now; false when CloseHandle reported a failure.
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

// "The system cannot find the file specified. (2)" for a Win32 error code.
std::string DescribeWin32Error(DWORD code);

// Reads a whole file; false with *error set when it cannot be opened or read, or exceeds maxBytes.
bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>* bytes,
                   std::string* error);
// Creates or truncates the file and writes the bytes, flushed to disk before it is closed.
bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* error);
// Creates the folder and any missing parent folders.
bool CreateFolderTree(const std::string& folder, std::string* error);
bool FileExists(const std::string& path);

}  // namespace korvet::sim
