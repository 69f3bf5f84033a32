// Plain words for the file errors a user can do something about, for HotSync log lines.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace korvet {

// "not found", "in use by another program", "access denied", "disk full", "not reachable", or
// "error N" for any other error.
std::string FileErrorText(DWORD error);

// True for the errors of a folder that is not there at the moment: an absent drive or disk, a
// network share that cannot be reached.
bool IsUnreachable(DWORD error);

// Log text with every control byte (CR, LF, NUL, ...) shown as <0D>: bytes from files and lists must
// not break the log's lines. Double-byte characters pass unchanged, since their second byte is
// never a control byte.
std::string VisibleText(std::string_view text);

}  // namespace korvet
