// Where a loaded module lies: the stand-in libraries keep their files beside themselves.
#pragma once

#include <string>

#include <windows.h>

namespace korvet::sim {

// The folder of a loaded module (null: the program), without a trailing backslash; empty when the
// module's path cannot be had.
std::string ModuleFolder(HMODULE module);
// The folder of the module whose code or data holds the address (a DLL finds its own folder so).
std::string FolderOfModuleContaining(const void* address);

}  // namespace korvet::sim
