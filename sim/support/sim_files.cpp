#include "sim/support/sim_files.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "common/paths.h"
#include "sim/support/win_errors.h"

namespace korvet::sim {
namespace {

// Reads and writes go in pieces no larger than this, so that no single call gets a huge count.
constexpr std::size_t kChunkBytes = std::size_t{1} << 16;

// "<action><path>: <why>" into *error; always false. The arguments build no string, so the caller's
// GetLastError() is taken before anything could change it.
bool Fail(std::string* error, const char* action, const std::string& path, DWORD code, ErrorDescriber describe) {
  *error = action + path + ": " + describe(code);
  return false;
}

// Appends the rest of the file, at most limit bytes, to *into; 0 or the Win32 error of a failed read.
template <typename Buffer>
DWORD ReadRest(WinFile& file, std::size_t limit, Buffer* into) {
  while (limit > 0) {
    const std::size_t at = into->size();
    const std::size_t wanted = std::min(limit, kChunkBytes);
    into->resize(at + wanted);
    const std::optional<std::size_t> got = file.Read(into->data() + at, wanted);
    const DWORD code = got ? ERROR_SUCCESS : GetLastError();
    into->resize(at + got.value_or(0));
    if (!got) return code;
    if (*got == 0) break;  // the end of the file, which may have shrunk while it was read
    limit -= *got;
  }
  return ERROR_SUCCESS;
}

bool WriteFlushed(const std::string& path, const char* data, std::size_t size, ErrorDescriber describe,
                  std::string* error) {
  WinFile file = WinFile::CreateAlways(path);
  if (!file) return Fail(error, "cannot create ", path, file.OpenError(), describe);
  for (std::size_t done = 0; done < size; done += kChunkBytes) {
    if (!file.Write(data + done, std::min(size - done, kChunkBytes)))
      return Fail(error, "cannot write ", path, GetLastError(), describe);
  }
  // A rename that follows must never put a file in place whose bytes are still in a cache.
  if (!file.Flush()) return Fail(error, "cannot flush ", path, GetLastError(), describe);
  if (!file.Close()) return Fail(error, "cannot close ", path, GetLastError(), describe);
  return true;
}

}  // namespace

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolderTree(const std::string& folder, std::string* error) {
  if (folder.empty()) return true;
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return true;
    *error = folder + " exists but is not a folder";
    return false;
  }
  if (const std::string parent = ParentFolder(folder); !parent.empty()) {
    // "C:" and "\\server\share" roots are not created; everything below them is.
    if (!(parent.size() == 2 && parent[1] == ':') && !CreateFolderTree(parent, error)) return false;
  }
  if (!CreateDirectoryA(folder.c_str(), nullptr)) {
    const DWORD code = GetLastError();
    if (code != ERROR_ALREADY_EXISTS) return Fail(error, "cannot create the folder ", folder, code, DescribeWin32Error);
  }
  return true;
}

bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>* bytes,
                   std::string* error) {
  WinFile file = WinFile::OpenForSharedReading(path);
  if (!file) return Fail(error, "cannot open ", path, file.OpenError(), DescribeWin32Error);
  const std::optional<std::uint64_t> size = file.Size();
  if (!size) return Fail(error, "cannot get the size of ", path, GetLastError(), DescribeWin32Error);
  if (*size > maxBytes) {
    *error = path + " is too large (" + std::to_string(*size) + " bytes, at most " + std::to_string(maxBytes) + ")";
    return false;
  }
  bytes->clear();
  bytes->reserve(static_cast<std::size_t>(*size));
  const DWORD code = ReadRest(file, static_cast<std::size_t>(*size), bytes);
  return code == ERROR_SUCCESS || Fail(error, "cannot read ", path, code, DescribeWin32Error);
}

bool ReadTextFile(const std::string& path, std::string* contents, bool* missing, std::string* error) {
  *missing = false;
  WinFile file = WinFile::OpenForSharedReading(path);
  if (!file) {
    *missing = file.OpenError() == ERROR_FILE_NOT_FOUND;
    return Fail(error, "cannot open ", path, file.OpenError(), DescribeError);
  }
  contents->clear();
  const DWORD code = ReadRest(file, std::numeric_limits<std::size_t>::max(), contents);
  return code == ERROR_SUCCESS || Fail(error, "cannot read ", path, code, DescribeError);
}

bool ReplaceFileContents(const std::string& path, const std::string& temporary, std::string_view bytes,
                         ErrorDescriber describe, std::string* error) {
  if (!WriteFlushed(temporary, bytes.data(), bytes.size(), describe, error)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Fail(error, "cannot replace ", path, GetLastError(), describe);
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
  // The process ID keeps two processes that replace the same file off each other's temporary file.
  return ReplaceFileContents(path, path + ".new" + std::to_string(GetCurrentProcessId()), bytes, DescribeError, error);
}

DWORD AppendToFile(const std::string& path, std::string_view bytes) {
  // Readers may follow the file while it grows; other writers append through the same call.
  WinFile file = WinFile::OpenForAppending(path);
  if (!file) return file.OpenError();
  if (file.Write(bytes.data(), bytes.size())) return ERROR_SUCCESS;
  const DWORD code = GetLastError();
  return code != ERROR_SUCCESS ? code : ERROR_WRITE_FAULT;
}

}  // namespace korvet::sim
