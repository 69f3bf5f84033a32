#include "common/win_file.h"

#include <algorithm>
#include <utility>

#include "common/file_steps.h"

namespace korvet {

WinFile WinFile::Open(const std::string& path, DWORD access, DWORD disposition, DWORD share) {
  WinFile file;
  file.handle_.Reset(CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.handle_) file.openError_ = GetLastError();
  return file;
}

WinFile WinFile::NotOpened(DWORD error) {
  WinFile file;
  file.openError_ = error;
  return file;
}

WinFile WinFile::OpenForReading(const std::string& path) { return Open(path, GENERIC_READ, OPEN_EXISTING); }
WinFile WinFile::OpenForWriting(const std::string& path) { return Open(path, GENERIC_WRITE, OPEN_EXISTING); }
WinFile WinFile::OpenForUpdate(const std::string& path) {
  return Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
}
WinFile WinFile::OpenTruncated(const std::string& path) { return Open(path, GENERIC_WRITE, TRUNCATE_EXISTING); }
WinFile WinFile::CreateNew(const std::string& path) { return Open(path, GENERIC_WRITE, CREATE_NEW); }
WinFile WinFile::CreateAlways(const std::string& path) { return Open(path, GENERIC_WRITE, CREATE_ALWAYS); }
WinFile WinFile::OpenForSharedReading(const std::string& path) {
  return Open(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ);
}
WinFile WinFile::OpenForAppending(const std::string& path) {
  return Open(path, FILE_APPEND_DATA, OPEN_ALWAYS, FILE_SHARE_READ | FILE_SHARE_WRITE);
}

WinFile::ReadResult WinFile::ReadByte(std::uint8_t& byte) {
  if (!IsOpen()) {
    readError_ = ERROR_INVALID_HANDLE;
    return ReadResult::kFailed;
  }
  DWORD got = 0;
  if (!ReadFile(handle_.Get(), &byte, 1, &got, nullptr)) {
    readError_ = GetLastError();
    return ReadResult::kFailed;
  }
  return got == 1 ? ReadResult::kByte : ReadResult::kEndOfFile;
}

std::optional<std::size_t> WinFile::Read(void* buffer, std::size_t size) {
  if (!IsOpen()) return std::nullopt;
  DWORD got = 0;
  if (!ReadFile(handle_.Get(), buffer, static_cast<DWORD>(size), &got, nullptr)) return std::nullopt;
  return got;
}

bool WinFile::Write(const void* data, std::size_t size) {
  if (!IsOpen()) return false;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(handle_.Get(), bytes, static_cast<DWORD>(size), &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

bool WinFile::SeekToStart() {
  return IsOpen() && SetFilePointer(handle_.Get(), 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

std::optional<std::uint64_t> WinFile::Size() const {
  LARGE_INTEGER size{};
  if (!IsOpen() || !GetFileSizeEx(handle_.Get(), &size)) return std::nullopt;
  return static_cast<std::uint64_t>(size.QuadPart);
}

std::optional<std::uint64_t> WinFile::Position() const {
  LARGE_INTEGER zero{};
  LARGE_INTEGER position{};
  if (!IsOpen() || !SetFilePointerEx(handle_.Get(), zero, &position, FILE_CURRENT)) return std::nullopt;
  return static_cast<std::uint64_t>(position.QuadPart);
}

bool WinFile::SeekTo(std::uint64_t offset) {
  LARGE_INTEGER to{};
  to.QuadPart = static_cast<LONGLONG>(offset);
  return IsOpen() && SetFilePointerEx(handle_.Get(), to, nullptr, FILE_BEGIN);
}

bool WinFile::SetLength(std::uint64_t length) { return SeekTo(length) && SetEndOfFile(handle_.Get()); }

bool WinFile::Flush() { return IsOpen() && FlushFileBuffers(handle_.Get()); }

bool WinFile::SetLastWriteTime(const FILETIME& time) {
  return IsOpen() && SetFileTime(handle_.Get(), nullptr, nullptr, &time);
}

bool WinFile::Close() { return handle_.Reset(); }

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
  WinFile file = WinFile::OpenForReading(path);
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[4096];
  for (;;) {
    auto got = file.Read(chunk, sizeof chunk);
    if (!got) return std::nullopt;
    if (*got == 0) return bytes;
    bytes.insert(bytes.end(), chunk, chunk + *got);
  }
}

namespace {

// Writes in place, reserving the new length first: writing the bytes beyond the old end allocates
// them, so that a full disk fails while the old content is still whole (only the tail it added goes).
bool WriteInPlace(WinFile& file, const std::string& content) {
  const std::optional<std::uint64_t> size = file.Size();
  if (!size) return false;
  const std::size_t kept = static_cast<std::size_t>(std::min<std::uint64_t>(*size, content.size()));
  if (content.size() > kept) {
    if (!file.SeekTo(kept) || !file.Write(content.data() + kept, content.size() - kept) || !file.Flush()) {
      file.SetLength(*size);
      return false;
    }
  }
  return file.SeekToStart() && file.Write(content.data(), kept) && file.SetLength(content.size()) && file.Flush();
}

// Takes away a file that an ended save left, whatever its attributes.
void RemoveStale(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
}

}  // namespace

FileSteps& PlainFileSteps() {
  static FileSteps steps;
  return steps;
}

bool ReplaceFileContent(WinFile& held, const std::string& path, const std::string& content, FileSteps& steps) {
  const std::string next = path + ".new";
  RemoveStale(next);
  WinFile out = steps.Create(next, ExistingFile::kEmpty);
  if (!out) {
    const bool written = WriteInPlace(held, content);
    held.Close();
    return written;
  }
  bool complete = steps.Write(out, content) && steps.Flush(out);
  // A close can report a write that the system held back (a network folder): the new content is then
  // not known to be whole.
  complete = steps.Close(out) && complete;
  if (!complete) {
    DeleteFileA(next.c_str());
    held.Close();
    return false;
  }
  // The replace needs the old file closed; what another program could do in between fails the
  // replace, which leaves the old file as it was.
  held.Close();
  if (ReplaceFileA(path.c_str(), next.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) return true;
  DeleteFileA(next.c_str());
  // A folder that lets a file be made but not replaced (no right to delete in it): in place.
  WinFile again = WinFile::OpenForUpdate(path);
  return again && WriteInPlace(again, content);
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace korvet
