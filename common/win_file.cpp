#include "common/win_file.h"

#include <utility>

namespace korvet {

WinFile WinFile::Open(const std::string& path, DWORD access, DWORD disposition) {
  WinFile file;
  file.handle_.Reset(CreateFileA(path.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.handle_) file.openError_ = GetLastError();
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

WinFile::ReadResult WinFile::ReadByte(std::uint8_t& byte) {
  if (!IsOpen()) return ReadResult::kFailed;
  DWORD got = 0;
  if (!ReadFile(handle_.Get(), &byte, 1, &got, nullptr)) return ReadResult::kFailed;
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

bool WinFile::TruncateAtStart() { return SeekToStart() && SetEndOfFile(handle_.Get()); }

bool WinFile::Flush() { return IsOpen() && FlushFileBuffers(handle_.Get()); }

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

bool ReplaceFileContent(WinFile& held, const std::string& path, const std::string& content) {
  const std::string next = path + ".new";
  WinFile out = WinFile::CreateAlways(next);
  bool complete = out && out.Write(content) && out.Flush();
  out.Close();
  held.Close();
  if (complete && MoveFileExA(next.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  DeleteFileA(next.c_str());
  return false;
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace korvet
