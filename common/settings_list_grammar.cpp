#include "common/settings_list_grammar.h"

#include "common/list_format.h"
#include "common/listed_file.h"

namespace korvet {

SettingsListEntry RejectEntry(SettingsListEntry entry, const char* why) {
  entry.kind = SettingsListEntry::Kind::kRejected;
  entry.reason = std::string("Ostrel settings file entry ") + why + ", not sent: " + entry.text;
  return entry;
}

SettingsListGrammar::SettingsListGrammar(ByteSource& source) : ownBytes_(std::string()), source_(source) {}

SettingsListGrammar::SettingsListGrammar(std::string bytes) : ownBytes_(std::move(bytes)), source_(ownBytes_) {}

ByteSource::ReadResult SettingsListGrammar::Next(std::uint8_t& byte) {
  if (!putBack_.empty()) {
    byte = static_cast<std::uint8_t>(putBack_.front());
    putBack_.erase(0, 1);
    ++offset_;
    return ByteSource::ReadResult::kByte;
  }
  const ByteSource::ReadResult read = source_.ReadByte(byte);
  if (read == ByteSource::ReadResult::kByte) ++offset_;
  return read;
}

// A list saved by a text editor as UTF-8 may start with EF BB BF, which no path begins with.
void SettingsListGrammar::SkipByteOrderMark() {
  static constexpr char kMark[] = "\xEF\xBB\xBF";
  std::string first;
  std::uint8_t byte = 0;
  while (first.size() < 3 && source_.ReadByte(byte) == ByteSource::ReadResult::kByte) {
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

bool SettingsListGrammar::MoreAfterZeroByte() {
  std::uint8_t byte = 0;
  while (Next(byte) == ByteSource::ReadResult::kByte)
    if (byte != 0) return true;
  return false;
}

SettingsListEntry SettingsListGrammar::ReadEntry() {
  if (!started_) {
    started_ = true;
    SkipByteOrderMark();
  }
  std::string bytes;
  bool complete = false;  // ended by '*'
  for (;;) {
    std::uint8_t byte = 0;
    const ByteSource::ReadResult read = Next(byte);
    if (read == ByteSource::ReadResult::kEndOfFile && sawEndMarker_) {
      ended_ = true;  // the purge flag is optional; truncate keeps its value
      break;
    }
    if (read != ByteSource::ReadResult::kByte || byte == 0) {
      // The list stopped before its end marker: the session empties it, unless it is damaged.
      ended_ = true;
      stoppedEarly_ = true;
      stopOffset_ = read == ByteSource::ReadResult::kByte ? offset_ - 1 : offset_;
      if (read == ByteSource::ReadResult::kFailed) {
        readFailed_ = true;
        readError_ = source_.ReadError();
      } else if (read == ByteSource::ReadResult::kByte && MoreAfterZeroByte()) {
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

SettingsListEntry SettingsListGrammar::Parse(const std::string& bytes) const {
  SettingsListEntry entry;
  entry.text = bytes;
  // The entry must fit the session's 259-byte entry buffer, its '*' included.
  if (bytes.size() + 1 > lists::kMaxEntryBytes) return RejectEntry(entry, "too long");
  const ListedFile file = ListedFile::FromText(bytes);
  if (file.HasSeparator() && file.Directory().empty()) {
    entry.kind = SettingsListEntry::Kind::kEmptyDirectory;
    return entry;
  }
  if (file.FileName().empty()) return RejectEntry(entry, "without file name");
  entry.directory = file.Directory();
  // The file name is kept whole, as the list holds it (my.site.qzl stays my.site.qzl).
  entry.fileName = file.FileName();
  entry.kind = SettingsListEntry::Kind::kSend;
  return entry;
}

}  // namespace korvet
