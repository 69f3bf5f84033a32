// Reads the report folder file the way the HotSync session does.
#pragma once

#include <cstdint>
#include <string>

#include "common/byte_source.h"

namespace korvet {

struct ReportFolderSettings {
  // How the file ended. The tools always write a retrieval and a deletion flag after the '@', so a
  // file that ends before its deletion flag (no '@', a zero byte, nothing after the '@') is cut.
  enum class Ending { kComplete, kEmpty, kCut, kReadFailed };

  std::string folder;  // everything before the '@'
  bool retrieve = false;
  bool deleteReports = false;
  bool folderTooLong = false;  // longer than the session's folder buffer: nothing is retrieved
  Ending ending = Ending::kEmpty;
  std::uint32_t readError = 0;  // kReadFailed: the system's error code of the failed read

  // The folder as the file holds it ends with the backslash that the folder picker adds when writing
  // it; the dialogs show it without that last character.
  static std::string StoredFolder(const std::string& shownFolder) { return shownFolder + '\\'; }
  static std::string ShownFolder(const std::string& storedFolder) {
    return storedFolder.empty() ? storedFolder : storedFolder.substr(0, storedFolder.size() - 1);
  }
  // The two bytes after the '@': retrieval, then deletion on the handheld.
  static std::string FlagBytes(bool retrieve, bool deleteReports);
};

// Retrieval is on only when the file holds "$#" or "$%" after its '@'. A file that cannot be opened
// (missing, or held by a desktop tool) reads like an empty one.
ReportFolderSettings ReadReportFolderSettings(ByteSource& file);

}  // namespace korvet
