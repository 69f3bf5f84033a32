// A file opened with CreateFileA, closed when the object goes. Every program of the system opens its
// files without sharing, so a file held by one program is refused to another at the same moment.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/unique_handle.h"

namespace korvet {

class WinFile {
 public:
  enum class ReadResult { kByte, kEndOfFile, kFailed };

  // An existing file, for reading, no sharing.
  static WinFile OpenForReading(const std::string& path);
  // An existing file, for writing only, from its start without shortening it, no sharing.
  static WinFile OpenForWriting(const std::string& path);
  // An existing file, for reading and writing from its start without shortening it, no sharing.
  static WinFile OpenForUpdate(const std::string& path);
  // An existing file emptied (its length cut to 0), for writing, no sharing.
  static WinFile OpenTruncated(const std::string& path);
  // A file that must not exist yet, for writing, no sharing.
  static WinFile CreateNew(const std::string& path);
  // The file emptied or created, for writing, no sharing.
  static WinFile CreateAlways(const std::string& path);

  bool IsOpen() const { return handle_.IsValid(); }
  explicit operator bool() const { return IsOpen(); }
  // GetLastError() of the failed open, for messages.
  DWORD OpenError() const { return openError_; }

  ReadResult ReadByte(std::uint8_t& byte);
  // Reads up to `size` bytes; returns how many were read, or nothing on a failed read.
  std::optional<std::size_t> Read(void* buffer, std::size_t size);
  // Writes all bytes; false when any write fails.
  bool Write(const void* data, std::size_t size);
  bool Write(const std::string& text) { return Write(text.data(), text.size()); }
  bool SeekToStart();
  // The file's length and the current position in bytes; nothing when the file is not open.
  std::optional<std::uint64_t> Size() const;
  std::optional<std::uint64_t> Position() const;
  // Cuts the file to length 0 and goes back to its start.
  bool TruncateAtStart();
  // Hands everything written to the disk (FlushFileBuffers); false when that fails.
  bool Flush();
  // False when closing reports an error; the file is closed all the same.
  bool Close();

 private:
  static WinFile Open(const std::string& path, DWORD access, DWORD disposition);

  UniqueFile handle_;
  DWORD openError_ = 0;
};

// The whole content of a file opened without sharing, or nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);

// Gives the file at `path` exactly `content` without ever leaving it empty or half-written: the
// content goes completely into a file beside it first, which then takes the old file's place in one
// step. `held` is the caller's open handle on the old file (kept until the new content is complete,
// so that no other program comes in between) and is closed here. False, with the old content kept,
// when anything fails.
bool ReplaceFileContent(WinFile& held, const std::string& path, const std::string& content);

}  // namespace korvet
