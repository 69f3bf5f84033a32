// Paths: joining a folder and a name, and splitting a path into its parts.
#pragma once

#include <string>
#include <string_view>

namespace korvet {

// Paths are ANSI text in the desktop's code page. In a double-byte code page (932, 936, 949, 950) the
// second byte of a character may be 0x5C, the byte of the backslash ("表" is 0x95 0x5C in code page
// 932): every function here steps through the text character by character with the lead-byte rule of
// code_page.h, so that such a byte is never taken for a separator. Nothing else splits or joins paths.

// The number of bytes of the character at `offset`: 2 for a lead byte of the code page with a
// second byte after it, else 1.
std::size_t CharBytesAt(std::string_view text, std::size_t offset);
// The offset of the last backslash (and with `slashToo` of the last '/') that is a character of its
// own; npos when there is none.
std::size_t LastSeparator(std::string_view path, bool slashToo = false);
// Whether the path's last character is a backslash.
bool EndsWithBackslash(std::string_view path);
// The offset of the full stop where the extension of the path's last component starts; npos when that
// component has none.
std::size_t ExtensionStart(std::string_view path);
// Whether the text ends in the first byte of a double-byte character whose second byte is missing.
bool EndsInLoneLeadByte(std::string_view text);

// The folder, a backslash unless it already ends in one, and the name.
std::string JoinPath(const std::string& folder, std::string_view name);
// The part before the last separator ('\\' or '/'), and the part after it (the whole path when it
// has none; then the folder is empty).
std::string ParentFolder(std::string_view path);
std::string FileNameOf(std::string_view path);
// The path without the separators it ends in; a root ("C:\\", "\\") stays whole.
std::string WithoutTrailingSeparators(std::string path);

// A path that names its drive ("C:\...") or network share ("\\server\..."): one that does not would be
// taken from wherever the program that reads it happens to run.
bool IsFullPath(std::string_view path);

}  // namespace korvet
