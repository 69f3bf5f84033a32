#include "sim/hslog20/hotsync_log.h"

#include <cstdio>

#include <windows.h>

#include "sim/support/sim_files.h"

namespace korvet::hotsync {

LogTime LocalLogTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::string FormatLogLine(const LogTime& when, long activity, std::string_view text) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d\t%ld\t", when.year, when.month, when.day, when.hour,
                when.minute, when.second, activity);
  std::string line = stamp;
  line += text;
  line += "\r\n";
  return line;
}

long HotSyncLog::Append(const char* text, long activity, const LogTime& when) {
  if (!text) return ERROR_INVALID_PARAMETER;
  std::string line = FormatLogLine(when, activity, text);
  DWORD result = sim::AppendToFile(path_, line);
  if (result != ERROR_SUCCESS) return static_cast<long>(result);
  appended_ = true;
  if (echo_) {
    // Straight to the handle: the host's C runtime has buffers of its own, so nothing is buffered here.
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (out && out != INVALID_HANDLE_VALUE)
      WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  }
  return 0;
}

}  // namespace korvet::hotsync
