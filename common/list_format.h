// The two list files that carry the user's choices from the desktop tools to the HotSync session.
//
// Xembrafilepath.dat, the settings-file list: entries "directory,filename*", then '@', then an
// optional purge flag ('^' empty the list after the next HotSync, '$' or '&' keep it), e.g.
//   C:\Data\,site1.qzl*C:\Data\,site2.qzl*@^
// Cardoon.dat, the report folder file: the folder (ending with a backslash), '@', the retrieve flag
// ('$' retrieve, '^' do not) and the delete flag ('#' delete on the handheld, '%' keep), e.g.
//   C:\Reports\@$#
// Both are plain bytes without header, line breaks or terminating NUL.
#pragma once

#include <cstddef>

namespace korvet::lists {

inline constexpr char kSeparator = ',';
inline constexpr char kEntryEnd = '*';
inline constexpr char kEndMarker = '@';
inline constexpr char kPurgeList = '^';
inline constexpr char kKeepList = '$';
inline constexpr char kKeepListQuiet = '&';  // recognised by the session; no program writes it
inline constexpr char kRetrieve = '$';
inline constexpr char kDoNotRetrieve = '^';
inline constexpr char kDeleteOnHandheld = '#';
inline constexpr char kKeepOnHandheld = '%';

inline constexpr const char* kSettingsListFile = "Xembrafilepath.dat";
inline constexpr const char* kReportFolderFile = "Cardoon.dat";
// The desktop programs find their list file beside the tool of the same name.
inline constexpr const char* kSettingsListTool = "Xembrafilepath.dll";
inline constexpr const char* kReportFolderTool = "Cardoon.dll";

// The one set of limits: what the session can use is what the tools accept, and nothing more.
// The session's buffers: one entry (separators included) fits 259 bytes; a directory and a file name
// each stay under 256.
inline constexpr std::size_t kMaxEntryBytes = 259;
inline constexpr std::size_t kMaxDirectoryBytes = 255;
inline constexpr std::size_t kMaxFileNameBytes = 255;
// A settings file's path (directory, backslash and name) and its .BAK copy's: the stores keep paths of
// at most 255 bytes.
inline constexpr std::size_t kMaxSettingsPathBytes = 255;
// A report file's path, folder included.
inline constexpr std::size_t kMaxReportPathBytes = 255;
// The temporary report file's name: "~KorvIR ", a computer name of up to 15 characters, a blank, a
// process ID of up to 10 digits and ".tmp".
inline constexpr std::size_t kMaxTemporaryReportNameBytes = 38;
// The report folder, its last backslash included: its temporary file's path must stay within the 259
// characters Windows takes.
inline constexpr std::size_t kMaxFolderBytes = 259 - kMaxTemporaryReportNameBytes;
// The session builds a settings file's record under a name of at most 29 characters and skips a file
// whose name is longer.
inline constexpr std::size_t kMaxSettingsFileNameChars = 29;
// The display readers of the dialogs read at most this many bytes.
inline constexpr std::size_t kDisplayBufferBytes = 10240;

}  // namespace korvet::lists
