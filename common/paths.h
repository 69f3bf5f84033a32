// Paths: joining a folder and a name, and the folder a module lies in.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace korvet {

// The folder, a backslash unless it already ends in one, and the name.
std::string JoinPath(const std::string& folder, std::string_view name);

// A path that names its drive ("C:\...") or network share ("\\server\..."): one that does not would be
// taken from wherever the program that reads it happens to run.
bool IsFullPath(std::string_view path);

// The folder of a loaded module (null: the program), without a trailing backslash; empty when the
// module's path cannot be had. The buffer grows, so paths past MAX_PATH come back whole.
std::string ModuleFolder(HMODULE module);
// The folder of the module whose code or data holds the address (a DLL finds its own folder so).
std::string FolderOfModuleContaining(const void* address);

}  // namespace korvet
