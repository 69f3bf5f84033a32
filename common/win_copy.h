// Whole-file copy: the installer puts the desktop tools into the HotSync core directory this way.
#pragma once

#include <string>

namespace korvet {

// Copies the file, replacing one already at the destination; false when it cannot.
bool CopyFileReplacing(const std::string& from, const std::string& to);

}  // namespace korvet
