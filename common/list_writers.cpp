#include "common/list_writers.h"

#include <optional>

#include "common/list_format.h"
#include "common/win_file.h"

namespace korvet {
namespace {

bool WriteFromStart(const std::string& path, const std::string& bytes) {
  WinFile file = WinFile::OpenForUpdate(path);
  return file && file.Write(bytes);
}

// The file's bytes up to and including the first '@', and whether there was one. The caller keeps the
// file open (exclusively) for the rewrite, so no other program can come in between.
std::optional<std::pair<std::string, bool>> ReadKeptText(WinFile& file) {
  std::string kept;
  for (;;) {
    std::uint8_t byte = 0;
    WinFile::ReadResult read = file.ReadByte(byte);
    if (read == WinFile::ReadResult::kFailed) return std::nullopt;
    if (read == WinFile::ReadResult::kEndOfFile) return std::pair{kept, false};
    kept.push_back(static_cast<char>(byte));
    if (byte == lists::kEndMarker) return std::pair{kept, true};
  }
}

bool RewriteWithFlags(const std::string& path, const std::string& flags, std::size_t minimumLength) {
  WinFile file = WinFile::OpenForUpdate(path);
  if (!file) return false;
  auto kept = ReadKeptText(file);
  if (!kept) return false;
  std::string result = kept->first;
  if (kept->second) result += flags;
  if (!file.TruncateAtStart()) return false;
  return result.size() <= minimumLength || file.Write(result);
}

}  // namespace

bool WriteSettingsListEntries(const std::string& path, const std::string& entryText) {
  if (entryText.size() < 4) {
    WinFile file = WinFile::OpenTruncated(path);
    return static_cast<bool>(file);
  }
  return WriteFromStart(path, entryText + lists::kEndMarker);
}

bool WriteReportFolder(const std::string& path, const std::string& folderText) {
  return WriteFromStart(path, folderText + "\\" + lists::kEndMarker);
}

bool RewriteSettingsListFlag(const std::string& path, bool purgeAfterHotSync) {
  return RewriteWithFlags(path, std::string(1, purgeAfterHotSync ? lists::kPurgeList : lists::kKeepList), 6);
}

bool RewriteReportFolderFlags(const std::string& path, bool doNotRetrieve, bool deleteOnHandheld) {
  std::string flags;
  flags.push_back(doNotRetrieve ? lists::kDoNotRetrieve : lists::kRetrieve);
  flags.push_back(deleteOnHandheld ? lists::kDeleteOnHandheld : lists::kKeepOnHandheld);
  return RewriteWithFlags(path, flags, 3);
}

}  // namespace korvet
