// The HotSync log as the stand-in keeps it: a text file with one line per append,
//   YYYY-MM-DD HH:MM:SS<TAB><activity, signed decimal><TAB><text><CR><LF>
// with the text byte for byte as the conduit gave it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvet::hotsync {

struct LogTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

LogTime LocalLogTime();
std::string FormatLogLine(const LogTime& when, long activity, std::string_view text);

class HotSyncLog {
 public:
  explicit HotSyncLog(std::string defaultPath) : defaultPath_(std::move(defaultPath)), path_(defaultPath_) {}

  // Empty restores the default file.
  void SetFile(std::string path) { path_ = path.empty() ? defaultPath_ : std::move(path); }
  const std::string& File() const { return path_; }
  void SetEcho(bool on) { echo_ = on; }
  void BeginConduit() { appended_ = false; }

  // Appends one line; 0, or the Win32 error when the file cannot be written (the state then stays).
  long Append(const char* text, long activity) { return Append(text, activity, LocalLogTime()); }
  long Append(const char* text, long activity, const LogTime& when);
  // 0 until a line was appended since the conduit began, 1 afterwards.
  std::uint16_t State() const { return appended_ ? 1 : 0; }

 private:
  std::string defaultPath_;
  std::string path_;
  bool echo_ = false;
  bool appended_ = false;
};

}  // namespace korvet::hotsync
