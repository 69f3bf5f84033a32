// How a desktop store names its file: the directory and file name it is given become one path, and
// the archive and backup stores put their own extension in place of the file's.
#pragma once

#include <string>

#include "common/list_format.h"

namespace korvet::store {

// A path holds at most 255 characters (its buffer has 256 bytes with the NUL).
inline constexpr std::size_t kMaxPathChars = lists::kMaxSettingsPathBytes;

// The name a store without a file name of its own uses in a directory.
inline constexpr char kGenericFileName[] = "GenericDB.DAT";

// The directory (a "\" added unless it ends with one) and the file name, or "GenericDB.DAT" without
// a file name; only the file name without a directory; empty without either. Null counts as empty.
std::string BuildDesktopPath(const char* directory, const char* fileName);

// The path with the extension of its last component replaced by `extension` (".ARC", ".BAK"), or
// `extension` appended when that component has none. A full stop inside a directory name is left
// alone.
std::string ReplaceExtension(const std::string& path, const char* extension);

// The characters after the last backslash (the whole path when it has none).
std::string NamePart(const std::string& path);

}  // namespace korvet::store
