// Traverse report names come from the handheld and become desktop file names.
#pragma once

#include <string>

namespace korvet {

// False for a name that would leave the chosen folder or that Windows refuses as a file name:
// path separators, ':', "..", control characters, < > " | ? *, or a device name such as CON or LPT1.
// The empty name is allowed (the report is then written as ".csv").
bool IsSafeReportName(const std::string& name);

}  // namespace korvet
