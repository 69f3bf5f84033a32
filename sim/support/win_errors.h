// Texts for Win32 error codes, as the stand-ins put them at the end of their messages.
#pragma once

#include <string>

#include <windows.h>

namespace korvet::sim {

// "The system cannot find the file specified. (Windows error 2)": how the handheld folder's messages
// (sync20.dll, synchost handheld) name an error; just "(Windows error 2)" when the system has no text.
std::string DescribeWin32Error(DWORD code);
// "The system cannot find the file specified. (2)": how the messages of synchost, CondMgr.dll and
// hslog20.dll name an error; "Error. (2)" when the system has no text.
std::string DescribeError(DWORD code);

}  // namespace korvet::sim
