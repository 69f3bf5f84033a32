#include "sim/condmgr/host_files.h"

#include <vector>

namespace korvet::hotsync {

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    Reset();
    handle_ = other.handle_;
    other.handle_ = INVALID_HANDLE_VALUE;
  }
  return *this;
}

void FileHandle::Reset() {
  if (Valid()) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

Library& Library::operator=(Library&& other) noexcept {
  if (this != &other) {
    Reset();
    module_ = other.module_;
    other.module_ = nullptr;
  }
  return *this;
}

Library Library::Load(const std::string& path) {
  Library library;
  library.module_ = LoadLibraryA(path.c_str());
  return library;
}

void Library::Reset() {
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
}

std::string DescribeError(DWORD code) {
  char* message = nullptr;
  DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, code, 0, reinterpret_cast<char*>(&message), 0, nullptr);
  std::string text = length && message ? std::string(message, length) : std::string("Error");
  if (message) LocalFree(message);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
    text.pop_back();
  return text + ". (" + std::to_string(code) + ")";
}

std::string ModuleFolder(HMODULE module) {
  // Paths may exceed MAX_PATH; grow until the whole name fits.
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameA(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      std::string path(buffer.data(), length);
      std::size_t slash = path.find_last_of("\\/");
      return slash == std::string::npos ? std::string() : path.substr(0, slash);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string FolderOfModuleContaining(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<const char*>(address), &module))
    return {};
  return ModuleFolder(module);
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string JoinPath(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
  path += name;
  return path;
}

bool ReadTextFile(const std::string& path, std::string* contents, bool* missing, std::string* error) {
  *missing = false;
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    DWORD code = GetLastError();
    *missing = code == ERROR_FILE_NOT_FOUND;
    *error = "cannot open " + path + ": " + DescribeError(code);
    return false;
  }
  contents->clear();
  char chunk[4096];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr)) {
      *error = "cannot read " + path + ": " + DescribeError(GetLastError());
      return false;
    }
    if (got == 0) return true;
    contents->append(chunk, got);
  }
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
  std::string temporary = path + ".new" + std::to_string(GetCurrentProcessId());
  {
    FileHandle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
      *error = "cannot create " + temporary + ": " + DescribeError(GetLastError());
      return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size() && FlushFileBuffers(file.Get());
    if (!ok) {
      *error = "cannot write " + temporary + ": " + DescribeError(GetLastError());
      file.Reset();
      DeleteFileA(temporary.c_str());
      return false;
    }
  }
  if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    *error = "cannot replace " + path + ": " + DescribeError(GetLastError());
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

DWORD AppendToFile(const std::string& path, std::string_view bytes) {
  // Readers may follow the file while it grows; other writers append through the same call.
  FileHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return GetLastError();
  DWORD written = 0;
  if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
    return GetLastError();
  return written == bytes.size() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

}  // namespace korvet::hotsync
