// Paths the user picks in the list editor and the folder picker go into list files that have no
// escape: a byte the grammar reserves would be misread at the next HotSync, and a path longer than
// the session's buffers would be skipped there. Such a path is refused when it is chosen.
#pragma once

#include <optional>
#include <string>

namespace korvet {

// Whether a settings file's path (the directory, a backslash unless it ends in one, and the name) and
// its .BAK copy's (the name's extension replaced, or added) fit the stores' 255 bytes. The list editor
// refuses a file that does not; the session refuses such an entry as too long.
bool SettingsPathFits(const std::string& directory, const std::string& fileName);

// Why a settings file cannot be listed (a message for the user), or nothing when it can. The entry
// is the directory (up to and including its last backslash), ',', the file name and '*'.
std::optional<std::string> SettingsFileRefusal(const std::string& directory, const std::string& fileName);

// Why a folder cannot take the reports, or nothing when it can. The file holds the folder, a
// backslash, '@' and both flags.
std::optional<std::string> ReportFolderRefusal(const std::string& folder);

}  // namespace korvet
