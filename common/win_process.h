// Search-path lookup and process start: the desktop programs start their tools and the launcher
// starts the panel this way. A started process's handles are closed when the object goes.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace korvet {

// The file's full path from the system's search-path lookup (the running program's folder first),
// read into a cleared 256-byte buffer; nothing when it is not found or does not fit.
std::optional<std::string> FindOnSearchPath(const char* fileName);

class WinProcess {
 public:
  WinProcess() = default;
  ~WinProcess();
  WinProcess(WinProcess&& other) noexcept;
  WinProcess& operator=(WinProcess&& other) noexcept;
  WinProcess(const WinProcess&) = delete;
  WinProcess& operator=(const WinProcess&) = delete;

  // Starts the program with the full path as its whole command line: no arguments, no handle
  // inheritance, no creation flags, default environment, folder and start-up information.
  static std::optional<WinProcess> Start(const std::string& commandLine);

  // Waits without a time limit until the process has ended.
  void WaitForExit() const;
  // Closes the process and thread handles; the process runs on.
  void Close();

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace korvet
