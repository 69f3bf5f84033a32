// How the configuration dialog and the panel start a desktop tool ("Xembrafilepath.dll",
// "Cardoon.dll": programs that carry a .dll name).
#pragma once

#include <windows.h>

namespace korvet {

// Looks the tool up beside the running program or in the HotSync core directory (FindProgramFile),
// starts it with its full path as the whole command line
// and waits without a time limit until it has ended; the caller does not respond meanwhile, so the
// tool and the caller never use a list file at the same time. When it cannot be started, shows
// "Cannot locate file <tool>" ("File Not Found") owned by `owner` and returns false.
bool RunToolAndWait(HWND owner, const char* toolFileName);

}  // namespace korvet
