#include "common/report_folder_reader.h"

#include "common/list_format.h"

namespace korvet {

std::string ReportFolderSettings::FlagBytes(bool retrieve, bool deleteReports) {
  return {retrieve ? lists::kRetrieve : lists::kDoNotRetrieve,
          deleteReports ? lists::kDeleteOnHandheld : lists::kKeepOnHandheld};
}

ReportFolderSettings ReadReportFolderSettings(ByteSource& file) {
  ReportFolderSettings settings;
  bool folderEnded = false;
  for (;;) {
    std::uint8_t byte = 0;
    const ByteSource::ReadResult read = file.ReadByte(byte);
    if (read != ByteSource::ReadResult::kByte || byte == 0) {
      settings.retrieve = false;
      settings.deleteReports = false;
      if (read == ByteSource::ReadResult::kFailed) {
        settings.ending = ReportFolderSettings::Ending::kReadFailed;
        settings.readError = file.ReadError();
      } else if (read == ByteSource::ReadResult::kByte || folderEnded || !settings.folder.empty()) {
        settings.ending = ReportFolderSettings::Ending::kCut;
      }
      break;
    }
    const char c = static_cast<char>(byte);
    if (c == lists::kEndMarker) {
      folderEnded = true;
      continue;
    }
    if (!folderEnded) {
      // Flag characters before the '@' are part of the folder text, never flags: a file cut before its
      // '@' would otherwise retrieve into a folder that ends in "$" ("C:\Reports$#" writes
      // C:\Reports$#Name.csv beside the folder).
      settings.folder.push_back(c);
      continue;
    }
    if (c == lists::kRetrieve || c == lists::kDoNotRetrieve) settings.retrieve = (c == lists::kRetrieve);
    if (c == lists::kDeleteOnHandheld || c == lists::kKeepOnHandheld) {
      settings.deleteReports = (c == lists::kDeleteOnHandheld);
      settings.ending = ReportFolderSettings::Ending::kComplete;
      break;
    }
  }
  if (settings.folder.size() > lists::kMaxFolderBytes) {
    settings.folderTooLong = true;
    settings.retrieve = false;
    settings.deleteReports = false;
  }
  return settings;
}

}  // namespace korvet
