#include "common/settings_list_reader.h"

#include "common/chosen_path_check.h"
#include "common/list_format.h"
#include "common/paths.h"

namespace korvet {
namespace {

SettingsListEntry Rejected(SettingsListEntry entry, const char* why) {
  entry.kind = SettingsListEntry::Kind::kRejected;
  entry.reason = std::string("Ostrel settings file entry ") + why + ", not sent: " + entry.text;
  return entry;
}

}  // namespace

SettingsListReader::SettingsListReader(WinFile& file)
    : readByte_([&file](std::uint8_t& byte) { return file.ReadByte(byte); }) {}

SettingsListReader::SettingsListReader(std::string bytes)
    : readByte_([bytes = std::move(bytes), next = std::size_t{0}](std::uint8_t& byte) mutable {
        if (next == bytes.size()) return WinFile::ReadResult::kEndOfFile;
        byte = static_cast<std::uint8_t>(bytes[next++]);
        return WinFile::ReadResult::kByte;
      }) {}

WinFile::ReadResult SettingsListReader::Next(std::uint8_t& byte) {
  if (!putBack_.empty()) {
    byte = static_cast<std::uint8_t>(putBack_.front());
    putBack_.erase(0, 1);
    ++offset_;
    return WinFile::ReadResult::kByte;
  }
  const WinFile::ReadResult read = readByte_(byte);
  if (read == WinFile::ReadResult::kByte) ++offset_;
  return read;
}

// A list saved by a text editor as UTF-8 may start with EF BB BF, which no path begins with.
void SettingsListReader::SkipByteOrderMark() {
  static constexpr char kMark[] = "\xEF\xBB\xBF";
  std::string first;
  std::uint8_t byte = 0;
  while (first.size() < 3 && readByte_(byte) == WinFile::ReadResult::kByte) {
    first.push_back(static_cast<char>(byte));
    if (first.back() != kMark[first.size() - 1]) break;
  }
  if (first == kMark) {
    skippedByteOrderMark_ = true;
    offset_ = 3;
  } else {
    putBack_ = first;
  }
}

bool SettingsListReader::MoreAfterZeroByte() {
  std::uint8_t byte = 0;
  while (Next(byte) == WinFile::ReadResult::kByte)
    if (byte != 0) return true;
  return false;
}

SettingsListEntry SettingsListReader::ReadEntry() {
  if (!started_) {
    started_ = true;
    SkipByteOrderMark();
  }
  std::string bytes;
  bool complete = false;  // ended by '*'
  for (;;) {
    std::uint8_t byte = 0;
    const WinFile::ReadResult read = Next(byte);
    if (read == WinFile::ReadResult::kEndOfFile && sawEndMarker_) {
      ended_ = true;  // the purge flag is optional; truncate keeps its value
      break;
    }
    if (read != WinFile::ReadResult::kByte || byte == 0) {
      // The list stopped before its end marker: the session empties it, unless it is damaged.
      ended_ = true;
      stoppedEarly_ = true;
      stopOffset_ = read == WinFile::ReadResult::kByte ? offset_ - 1 : offset_;
      if (read == WinFile::ReadResult::kFailed) {
        readFailed_ = true;
        readError_ = GetLastError();
      } else if (read == WinFile::ReadResult::kByte && MoreAfterZeroByte()) {
        // Bytes after the zero byte are the user's: entries, or after the end marker the flag that
        // may ask to keep the list.
        keptAfterZero_ = true;
        cutByZero_ = !sawEndMarker_;
      }
      truncate_ = !readFailed_ && !keptAfterZero_;
      SettingsListEntry cut;
      cut.text = bytes;
      return cut;
    }
    const char c = static_cast<char>(byte);
    if (c == lists::kPurgeList || c == lists::kKeepListQuiet) {
      ended_ = true;
      truncate_ = (c == lists::kPurgeList);
      break;
    }
    if (c == lists::kEndMarker) {
      // The list ends with this entry, which is still read to its end.
      ended_ = true;
      sawEndMarker_ = true;
      bytes.push_back(c);
      continue;
    }
    if (c == lists::kEntryEnd) {
      complete = true;
      break;
    }
    bytes.push_back(c);
  }

  if (!complete || ended_) {
    SettingsListEntry notSent;
    notSent.text = bytes;
    return notSent;
  }
  SettingsListEntry entry = Parse(bytes);
  if (entry.kind == SettingsListEntry::Kind::kEmptyDirectory) ended_ = true;
  return entry;
}

SettingsListEntry SettingsListReader::Parse(const std::string& bytes) const {
  SettingsListEntry entry;
  entry.text = bytes;
  // The entry must fit the session's 259-byte entry buffer, its '*' included.
  if (bytes.size() + 1 > lists::kMaxEntryBytes) return Rejected(entry, "too long");
  const std::size_t comma = bytes.find(lists::kSeparator);
  if (comma == 0) {
    entry.kind = SettingsListEntry::Kind::kEmptyDirectory;
    return entry;
  }
  if (comma == std::string::npos || comma + 1 == bytes.size()) return Rejected(entry, "without file name");
  entry.directory = bytes.substr(0, comma);
  if (!IsFullPath(entry.directory)) return Rejected(entry, "without a full directory path");
  // The file name is kept whole, as the list holds it (my.site.qzl stays my.site.qzl).
  entry.fileName = bytes.substr(comma + 1);
  // Longer paths the stores could not keep: refused here, where the log can say why.
  if (entry.directory.size() > lists::kMaxDirectoryBytes || entry.fileName.size() > lists::kMaxFileNameBytes ||
      !SettingsPathFits(entry.directory, entry.fileName)) {
    return Rejected(entry, "too long");
  }
  entry.kind = SettingsListEntry::Kind::kSend;
  return entry;
}

}  // namespace korvet
