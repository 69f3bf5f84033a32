// Small RAII wrappers and file helpers shared by the stand-in HotSync libraries and synchost.
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

namespace korvet::hotsync {

// Owns one Win32 file handle and closes it on destruction.
class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Reset(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  FileHandle(FileHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = INVALID_HANDLE_VALUE; }
  FileHandle& operator=(FileHandle&& other) noexcept;

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }
  void Reset();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
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

// "The system cannot find the file specified. (2)" for a Win32 error code.
std::string DescribeError(DWORD code);

// The folder of a loaded module, without a trailing backslash.
std::string ModuleFolder(HMODULE module);
// The folder of the module whose code or data holds the address (a DLL finds its own folder so).
std::string FolderOfModuleContaining(const void* address);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
std::string JoinPath(const std::string& folder, std::string_view name);

// Reads a whole file. A missing file gives false with *missing set; other failures say why in *error.
bool ReadTextFile(const std::string& path, std::string* contents, bool* missing, std::string* error);
// Writes the bytes to a temporary file beside the target and renames it over the target, so a reader
// sees either the old file or the new one, never half of it.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error);
// Appends the bytes in one write, creating the file when missing; 0 or the Win32 error.
DWORD AppendToFile(const std::string& path, std::string_view bytes);

}  // namespace korvet::hotsync
