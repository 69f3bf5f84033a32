// Reads the settings-file list the way the HotSync session does: one entry at a time, byte by byte,
// from a file opened without sharing (or, for tests, from the bytes themselves).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/win_file.h"

namespace korvet {

struct SettingsListEntry {
  enum class Kind {
    kSend,            // a complete entry: send directory + fileName
    kNotSent,         // an entry that holds the end marker or a purge flag, or was cut off
    kEmptyDirectory,  // the entry starts with ','; the list ends here, nothing more is sent
    kRejected,        // too long for the session's buffers, or without a file name
  };
  Kind kind = Kind::kNotSent;
  std::string directory;
  std::string fileName;
  std::string text;    // the entry's bytes without its separator, for messages
  std::string reason;  // kRejected: the log line that names the entry
};

class SettingsListReader {
 public:
  explicit SettingsListReader(WinFile& file);
  // Reads the given bytes as if they were the file's.
  explicit SettingsListReader(std::string bytes);

  // Reads the next entry. Call while !Ended().
  SettingsListEntry ReadEntry();

  bool Ended() const { return ended_; }
  // The list asks to be emptied after the session: purge flag '^', or no end marker at all.
  bool TruncateList() const { return truncate_; }
  // The list stopped at a NUL byte or a failed read, or at the end of the file before its end marker.
  bool StoppedEarly() const { return stoppedEarly_; }

 private:
  SettingsListEntry Parse(const std::string& bytes) const;

  std::function<WinFile::ReadResult(std::uint8_t&)> readByte_;
  bool ended_ = false;
  bool truncate_ = false;
  bool stoppedEarly_ = false;
  bool sawEndMarker_ = false;
};

}  // namespace korvet
