// The two list files in the HotSync folder. That folder lies under Program Files, where a standard
// user may not make files: the installer, which runs elevated, makes the list files there and lets
// the local Users group change these two files (and nothing else), so that the settings tools, which
// run without elevation, can save the user's choices in place.
#pragma once

#include <string>

namespace korvet::attach {

// The access list entry that is added: modify rights (read, write, delete, execute: 0x1301bf) for
// BUILTIN\Users, on this file only. The file keeps the entries it inherits from its folder.
inline constexpr char kListFileAccessSddl[] = "D:(A;;0x1301bf;;;BU)";

// Applies an access list given as SDDL to the file, its inherited entries kept; false when Windows
// refuses it.
bool ApplyFileAccess(const std::string& path, const char* sddl);

// Makes each list file that is missing (empty) and grants it; each one that fails is shown.
void PrepareListFiles(const std::string& coreDirectory);

}  // namespace korvet::attach
