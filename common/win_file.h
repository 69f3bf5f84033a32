// A file opened with CreateFileA, closed when the object goes. Every program of the system opens its
// files without sharing, so a file held by one program is refused to another at the same moment.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/byte_source.h"
#include "common/unique_handle.h"

namespace korvet {

class FileSteps;
FileSteps& PlainFileSteps();

class WinFile final : public ByteSource {
 public:
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
  // For the stand-ins and the tests, which share what the system's programs do not: an existing file
  // for reading that others may read at the same time; and a file, created when missing, that every
  // write appends to while others read and append.
  static WinFile OpenForSharedReading(const std::string& path);
  static WinFile OpenForAppending(const std::string& path);
  // No file: an open that failed with `error`, as a stand-in for one that the system refuses.
  static WinFile NotOpened(DWORD error);

  bool IsOpen() const { return handle_.IsValid(); }
  explicit operator bool() const { return IsOpen(); }
  // GetLastError() of the failed open, for messages.
  DWORD OpenError() const { return openError_; }

  ReadResult ReadByte(std::uint8_t& byte) override;
  std::uint32_t ReadError() const override { return readError_; }
  // Reads up to `size` bytes; returns how many were read, or nothing on a failed read.
  std::optional<std::size_t> Read(void* buffer, std::size_t size);
  // Writes all bytes; false when any write fails.
  bool Write(const void* data, std::size_t size);
  bool Write(const std::string& text) { return Write(text.data(), text.size()); }
  bool SeekToStart();
  bool SeekTo(std::uint64_t offset);
  // Makes the file `length` bytes long (cut or extended) and leaves the position at its end.
  bool SetLength(std::uint64_t length);
  // The file's length and the current position in bytes; nothing when the file is not open.
  std::optional<std::uint64_t> Size() const;
  std::optional<std::uint64_t> Position() const;
  // Hands everything written to the disk (FlushFileBuffers); false when that fails.
  bool Flush();
  // Sets the time of the last write, as a file that was written then would carry it.
  bool SetLastWriteTime(const FILETIME& time);
  // False when closing reports an error; the file is closed all the same.
  bool Close();

 private:
  static WinFile Open(const std::string& path, DWORD access, DWORD disposition, DWORD share = 0);

  UniqueFile handle_;
  DWORD openError_ = 0;
  DWORD readError_ = 0;
};

// The whole content of a file opened without sharing, or nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);

// Gives the file at `path` exactly `content` without ever leaving it empty or half-written. `held` is
// the caller's handle on the old file, opened for update (OpenForUpdate), so that no other program
// comes in between; it is closed here.
//   - The content goes completely into "<path>.new" first (a stale one, read-only or hidden, is
//     removed), which then takes the old file's place with ReplaceFileA: the file keeps its
//     attributes, owner and access list, which a standard user's save must not take away.
//   - Where the folder takes no new file (a standard user in the HotSync folder under Program Files,
//     whose list files the installer made writable), the file is written in place through `held`:
//     the new length is reserved first, by writing the part beyond the old end, so that a full disk
//     fails before any old byte changes; then the rest is written, flushed, and the end set.
// False, with the old content kept, when anything fails before the content is complete.
// `steps` make and write "<path>.new".
bool ReplaceFileContent(WinFile& held, const std::string& path, const std::string& content,
                        FileSteps& steps = PlainFileSteps());

}  // namespace korvet
