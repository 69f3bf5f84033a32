// Where the programs find the list files.
#pragma once

#include <optional>
#include <string>

namespace korvet {

// The full path of one of the system's program files: in the running program's folder (HotSync
// Manager's for the conduit, the HotSync folder for the tools), else in the HotSync core directory.
// Never the current directory or the search path, where anyone may have put a file of that name.
// Nothing when it is in neither or its path does not fit 255 characters.
std::optional<std::string> FindProgramFile(const char* fileName);

// The list file of a tool: the tool found as above, the last three characters of its path ("dll")
// replaced with "dat".
std::optional<std::string> FindToolListFile(const char* toolFileName);

// The HotSync core directory from the Conduit Manager (CondMgr.dll, loaded by name), asked with the
// given capacity. Nothing when the library or the function is missing or the call fails.
std::optional<std::string> QueryHotSyncCorePath(long capacity);

}  // namespace korvet
