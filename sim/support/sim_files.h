// The file operations of the stand-ins: paths, whole-file reads, atomic replacement and appends.
// Failures say what failed and why in *error; see win_errors.h for the two wordings of the why.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "common/paths.h"
#include "common/win_file.h"

namespace korvet::sim {

// DescribeWin32Error or DescribeError: how a message names the Win32 error behind it.
using ErrorDescriber = std::string (*)(DWORD code);

bool FolderExists(const std::string& path);
// Creates the folder and any missing parent folders.
bool CreateFolderTree(const std::string& folder, std::string* error);

// Reads a whole file; false with *error set when it cannot be opened or read, or exceeds maxBytes.
bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>* bytes, std::string* error);
// Reads a whole file. A missing file gives false with *missing set; other failures say why in *error.
bool ReadTextFile(const std::string& path, std::string* contents, bool* missing, std::string* error);

// Writes the bytes to the temporary file and renames it over the target, so a reader sees either the
// old file or the new one, never half of it. The temporary file does not outlive a failure.
bool ReplaceFileContents(const std::string& path, const std::string& temporary, std::string_view bytes,
                         ErrorDescriber describe, std::string* error);
// ReplaceFileContents through a temporary file beside the target that is this process's own.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error);

// Appends the bytes in one write, creating the file when missing; 0 or the Win32 error.
DWORD AppendToFile(const std::string& path, std::string_view bytes);

}  // namespace korvet::sim
