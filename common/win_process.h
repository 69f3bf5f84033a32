// Process start: the desktop programs start their tools and the launcher starts the panel this way.
// A started process's handles are closed when the object goes.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "common/unique_handle.h"

namespace korvet {

class WinProcess {
 public:
  // Starts the program at this full path, without arguments: no handle inheritance, no creation
  // flags, default environment, folder and start-up information. The path is passed as the
  // application name and, quoted, as the whole command line, so that a folder with a space in its
  // name (C:\Program Files\...) never lets a program planted at the space run instead
  // (C:\Program.exe).
  static std::optional<WinProcess> Start(const std::string& programPath);

  // Waits without a time limit until the process has ended.
  void WaitForExit() const;
  // Closes the process and thread handles; the process runs on.
  void Close();

 private:
  UniqueKernelHandle process_;
  UniqueKernelHandle thread_;
};

}  // namespace korvet
