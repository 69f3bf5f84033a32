// The grammar of the settings-file list as the HotSync session reads it: one entry at a time, byte by
// byte, up to its end marker, purge flag, a zero byte or the end of the file. The desktop's path rules
// for the entries it finds are the reader's (settings_list_reader.h).
#pragma once

#include <cstdint>
#include <string>

#include "common/byte_source.h"

namespace korvet {

struct SettingsListEntry {
  enum class Kind {
    kSend,            // a complete entry: send directory + fileName
    kNotSent,         // an entry that holds the end marker or a purge flag, or was cut off
    kEmptyDirectory,  // the entry starts with ','; the list ends here, nothing more is sent
    kRejected,        // too long for the session's buffers, without a file name or a full directory
  };
  Kind kind = Kind::kNotSent;
  std::string directory;
  std::string fileName;
  std::string text;    // the entry's bytes without its separator, for messages
  std::string reason;  // kRejected: the log line that names the entry
};

// The entry refused, with the log line that says why.
SettingsListEntry RejectEntry(SettingsListEntry entry, const char* why);

class SettingsListGrammar {
 public:
  explicit SettingsListGrammar(ByteSource& source);
  // Reads the given bytes as if they were the file's.
  explicit SettingsListGrammar(std::string bytes);
  SettingsListGrammar(const SettingsListGrammar&) = delete;
  SettingsListGrammar& operator=(const SettingsListGrammar&) = delete;

  // Reads the next entry. Call while !Ended(). A kSend entry has its directory and file name split at
  // the comma; whether they make a usable path is not asked here.
  SettingsListEntry ReadEntry();

  bool Ended() const { return ended_; }
  // The list asks to be emptied after the session: purge flag '^', or no end marker at all. A list
  // that is damaged (CutByZeroByte) or could not be read to its end (ReadFailed) is kept: the user's
  // choices after the damage would otherwise be lost with it.
  bool TruncateList() const { return truncate_; }
  // The list stopped at a NUL byte or a failed read, or at the end of the file before its end marker.
  bool StoppedEarly() const { return stoppedEarly_; }
  // A zero byte with more entries after it, which were not read.
  bool CutByZeroByte() const { return cutByZero_; }
  // A read failed before the list ended; ReadError() is the system's error code.
  bool ReadFailed() const { return readFailed_; }
  std::uint32_t ReadError() const { return readError_; }
  // Where the list stopped early, in bytes from the start of the file.
  std::uint64_t StopOffset() const { return stopOffset_; }
  // The file started with a UTF-8 byte order mark, which was skipped.
  bool SkippedByteOrderMark() const { return skippedByteOrderMark_; }

 private:
  SettingsListEntry Parse(const std::string& bytes) const;
  // The next byte of the file, after the bytes put back.
  ByteSource::ReadResult Next(std::uint8_t& byte);
  void SkipByteOrderMark();
  // Whether anything but zero bytes follows; reads the rest of the file.
  bool MoreAfterZeroByte();

  MemoryBytes ownBytes_;
  ByteSource& source_;
  std::string putBack_;
  std::uint64_t offset_ = 0;
  bool started_ = false;
  bool ended_ = false;
  bool truncate_ = false;
  bool stoppedEarly_ = false;
  bool sawEndMarker_ = false;
  bool cutByZero_ = false;
  bool keptAfterZero_ = false;
  bool readFailed_ = false;
  std::uint32_t readError_ = 0;
  std::uint64_t stopOffset_ = 0;
  bool skippedByteOrderMark_ = false;
};

}  // namespace korvet
