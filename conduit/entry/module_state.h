// The conduit library's own module handle, through which every resource (string table, dialogs,
// bitmaps) is loaded. Recorded at the first process attach.
#pragma once

#include <windows.h>

namespace korvet {

// The library's handle; in a program that links the conduit code directly (the tests), the program's.
HINSTANCE ConduitModule();

// Called from the library entry on process attach and detach.
void ConduitAttached(HINSTANCE module);
void ConduitDetached();

}  // namespace korvet
