#include "sim/pdb/win_file.h"

#include <algorithm>
#include <utility>

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
  const bool closed = CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0;
  return closed;
}

FileSearch::FileSearch(const std::string& pattern) { handle_ = FindFirstFileA(pattern.c_str(), &data_); }

FileSearch::~FileSearch() {
  if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
}

bool FileSearch::Next() { return Valid() && FindNextFileA(handle_, &data_) != 0; }

std::string DescribeWin32Error(DWORD code) {
  char text[512] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                text, sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ')) {
    text[--length] = '\0';
  }
  std::string result = length > 0 ? std::string(text, length) + " " : std::string();
  return result + "(Windows error " + std::to_string(code) + ")";
}

bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>* bytes,
                   std::string* error) {
  OwnedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    *error = "cannot open " + path + ": " + DescribeWin32Error(GetLastError());
    return false;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) {
    *error = "cannot get the size of " + path + ": " + DescribeWin32Error(GetLastError());
    return false;
  }
  if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
    *error = path + " is too large (" + std::to_string(size.QuadPart) + " bytes, at most " +
             std::to_string(maxBytes) + ")";
    return false;
  }
  bytes->assign(static_cast<std::size_t>(size.QuadPart), 0);
  std::size_t done = 0;
  while (done < bytes->size()) {
    DWORD chunk = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes->size() - done, 1u << 20));
    if (!ReadFile(file.Get(), bytes->data() + done, wanted, &chunk, nullptr)) {
      *error = "cannot read " + path + ": " + DescribeWin32Error(GetLastError());
      return false;
    }
    if (chunk == 0) break;  // the file shrank while it was read
    done += chunk;
  }
  bytes->resize(done);
  return true;
}

bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* error) {
  OwnedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
  if (!file.Valid()) {
    *error = "cannot create " + path + ": " + DescribeWin32Error(GetLastError());
    return false;
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    if (!WriteFile(file.Get(), bytes.data() + done, wanted, &chunk, nullptr) || chunk == 0) {
      *error = "cannot write " + path + ": " + DescribeWin32Error(GetLastError());
      return false;
    }
    done += chunk;
  }
  // The rename that follows must never put a file in place whose bytes are still in a cache.
  if (!FlushFileBuffers(file.Get())) {
    *error = "cannot flush " + path + ": " + DescribeWin32Error(GetLastError());
    return false;
  }
  if (!file.Close()) {
    *error = "cannot close " + path + ": " + DescribeWin32Error(GetLastError());
    return false;
  }
  return true;
}

bool CreateFolderTree(const std::string& folder, std::string* error) {
  if (folder.empty()) return true;
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return true;
    *error = folder + " exists but is not a folder";
    return false;
  }
  const std::size_t slash = folder.find_last_of("\\/");
  if (slash != std::string::npos && slash > 0) {
    const std::string parent = folder.substr(0, slash);
    // "C:" and "\\server\share" roots are not created; everything below them is.
    if (!(parent.size() == 2 && parent[1] == ':') && !CreateFolderTree(parent, error)) return false;
  }
  if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    *error = "cannot create the folder " + folder + ": " + DescribeWin32Error(GetLastError());
    return false;
  }
  return true;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace korvet::sim
