// The conduit library's own module handle, through which every resource (string table, dialogs,
// bitmaps) is loaded. Recorded at the first process attach.
#pragma once

#include <windows.h>

namespace korvet {

// The handle recorded at attach; before that (or in a program that links the conduit code directly,
// as the tests do) the module that holds this code.
HINSTANCE ConduitModule();

// Called from the library entry on process attach and detach.
void ConduitAttached(HINSTANCE module);
void ConduitDetached();

}  // namespace korvet
