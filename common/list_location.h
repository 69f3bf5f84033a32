// Where the programs find the list files.
#pragma once

#include <optional>
#include <string>

namespace korvet {

// The desktop programs look their tool up along the search path (their own folder first) and
// replace the found path's last three characters ("dll") with "dat".
std::optional<std::string> FindToolListFile(const char* toolFileName);

// The HotSync core directory from the Conduit Manager (CondMgr.dll, loaded by name), asked with the
// given capacity. Nothing when the library or the function is missing or the call fails.
std::optional<std::string> QueryHotSyncCorePath(long capacity);

}  // namespace korvet
