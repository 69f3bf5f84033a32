// A fresh folder under the temporary folder for one test, removed with everything in it afterwards.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "common/paths.h"
#include "common/win_file.h"

namespace korvet::testing {

class ScratchFolder {
 public:
  ScratchFolder() {
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    static unsigned counter = 0;
    for (;;) {
      path_ = (temp / ("korvet-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) + "-" +
                       std::to_string(++counter)))
                  .string();
      std::error_code error;
      if (std::filesystem::create_directory(path_, error)) break;
    }
  }
  ~ScratchFolder() {
    std::error_code error;
    // Files a test made read-only go as well.
    for (auto entry = std::filesystem::recursive_directory_iterator(path_, error);
         !error && entry != std::filesystem::recursive_directory_iterator(); entry.increment(error)) {
      std::error_code ignored;
      std::filesystem::permissions(entry->path(), std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }
  // The folder with a trailing backslash, as the report folder file holds it.
  std::string WithSlash() const { return path_ + "\\"; }
  std::string File(const std::string& name) const { return JoinPath(path_, name); }

  // The folders the name passes through are made first.
  std::string Write(const std::string& name, const std::string& bytes) const {
    for (std::size_t at = 0; at < name.size(); at += CharBytesAt(name, at))
      if (name[at] == '\\') CreateDirectoryA(File(name.substr(0, at)).c_str(), nullptr);
    return WritePath(File(name), bytes);
  }

  static std::string WritePath(const std::string& path, const std::string& bytes) {
    WinFile::CreateAlways(path).Write(bytes);
    return path;
  }

  // The file's bytes, or "<missing>" when it does not exist.
  std::string Read(const std::string& name) const { return ReadPath(File(name)); }

  static std::string ReadPath(const std::string& path) {
    WinFile file = WinFile::OpenForSharedReading(path);
    if (!file) return "<missing>";
    std::string bytes;
    char chunk[4096];
    for (std::optional<std::size_t> got; (got = file.Read(chunk, sizeof chunk)) && *got > 0;) bytes.append(chunk, *got);
    return bytes;
  }

  bool Exists(const std::string& name) const {
    return GetFileAttributesA(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

 private:
  std::string path_;
};

}  // namespace korvet::testing
