// What the desktop programs show of the list files. Each reader opens its file without sharing,
// creates it empty when it does not exist, and reads one byte at a time, stopping at the first '@', a
// NUL byte, a failed read or the end of the file; what is only shown stops at 10240 bytes.
#pragma once

#include <optional>
#include <string>

namespace korvet {

// The bytes before the first '@' (or the end); nothing when the file can be neither opened nor created.
std::optional<std::string> ReadListText(const std::string& path);

// The list editor's entry text: the same bytes read whole, however long, since the editor writes
// them back (a list cut at the display's buffer would lose its last entries).
std::optional<std::string> ReadListEntryText(const std::string& path);

// The folder picker's edit text: the bytes before the first '@' less the backslash it added when
// writing; a file without '@' is shown whole.
std::optional<std::string> ReadFolderPickerText(const std::string& path);

}  // namespace korvet
