#include "common/list_writers.h"

#include <optional>

#include "common/list_format.h"
#include "common/report_folder_reader.h"
#include "common/win_file.h"

namespace korvet {
namespace {

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

ListWrite Replace(WinFile& file, const std::string& path, const std::string& content) {
  return {ReplaceFileContent(file, path, content) ? ListWrite::kWritten : ListWrite::kFailed};
}

// Runs `write` on the list, held exclusively from the read to the write. Missing, or held by another
// program: nothing is written, as the tools have always done silently; there but not writable: a
// failure the user is told of.
template <typename Write>
ListWrite WithList(const std::string& path, Write&& write) {
  WinFile file = WinFile::OpenForUpdate(path);
  if (file) return write(file);
  const DWORD error = file.OpenError();
  const bool absent =
      error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_SHARING_VIOLATION;
  return {absent ? ListWrite::kNotOpened : ListWrite::kFailed};
}

ListWrite RewriteWithFlags(const std::string& path, const std::string& flags, std::size_t minimumLength) {
  return WithList(path, [&](WinFile& file) -> ListWrite {
    auto kept = ReadKeptText(file);
    if (!kept) return {ListWrite::kFailed};
    std::string result = kept->first;
    if (kept->second) result += flags;
    if (result.size() <= minimumLength) result.clear();
    return Replace(file, path, result);
  });
}

// The flag bytes that follow the first '@' of the file (read from the current position, just after
// it): at most `count`, each one of the characters its position allows.
std::string ReadFlagBytes(WinFile& file, const std::string* allowed, std::size_t count) {
  std::string flags;
  for (std::size_t i = 0; i < count; ++i) {
    std::uint8_t byte = 0;
    if (file.ReadByte(byte) != WinFile::ReadResult::kByte) break;
    if (allowed[i].find(static_cast<char>(byte)) == std::string::npos) break;
    flags.push_back(static_cast<char>(byte));
  }
  return flags;
}

// A tool's OK: the new text, '@' and the flags that followed the old '@', and nothing after them,
// so that no stale bytes of a longer old content stay behind.
ListWrite ReplaceKeepingFlags(const std::string& path, const std::string& text, const std::string* allowed,
                              std::size_t flagCount) {
  return WithList(path, [&](WinFile& file) -> ListWrite {
    auto kept = ReadKeptText(file);
    if (!kept) return {ListWrite::kFailed};
    std::string content = text + lists::kEndMarker;
    if (kept->second) content += ReadFlagBytes(file, allowed, flagCount);
    return Replace(file, path, content);
  });
}

}  // namespace

std::string ListWriteFailureText(const std::string& path) {
  return "Unable to write " + path + "\nIt was left as it was.";
}

ListWrite WriteSettingsListEntries(const std::string& path, const std::string& entryText) {
  if (entryText.size() < 4) return WithList(path, [&](WinFile& file) { return Replace(file, path, ""); });
  static const std::string allowed[] = {{lists::kPurgeList, lists::kKeepList, lists::kKeepListQuiet}};
  return ReplaceKeepingFlags(path, entryText, allowed, 1);
}

ListWrite WriteReportFolder(const std::string& path, const std::string& folderText) {
  static const std::string allowed[] = {{lists::kRetrieve, lists::kDoNotRetrieve},
                                        {lists::kDeleteOnHandheld, lists::kKeepOnHandheld}};
  return ReplaceKeepingFlags(path, ReportFolderSettings::StoredFolder(folderText), allowed, 2);
}

ListWrite RewriteSettingsListFlag(const std::string& path, bool purgeAfterHotSync) {
  return RewriteWithFlags(path, std::string(1, purgeAfterHotSync ? lists::kPurgeList : lists::kKeepList), 6);
}

ListWrite RewriteReportFolderFlags(const std::string& path, bool doNotRetrieve, bool deleteOnHandheld) {
  return RewriteWithFlags(path, ReportFolderSettings::FlagBytes(!doNotRetrieve, deleteOnHandheld), 3);
}

}  // namespace korvet
