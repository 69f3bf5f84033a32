// The module that holds the framework's code and string table: the conduit library when it runs inside
// HotSync Manager, the test program when the framework is linked into one.
#pragma once

#include <windows.h>

namespace korvet::base {

HMODULE ConduitModule();

}  // namespace korvet::base
