// Report folder files as the user's tools or a damaged disk leave them: retrieval is on only for a
// complete file whose folder fits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/list_format.h"
#include "common/report_folder_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvet;
  MemoryBytes file(std::string(reinterpret_cast<const char*>(data), size));
  const ReportFolderSettings settings = ReadReportFolderSettings(file);
  if (settings.folder.size() > size) std::abort();
  if ((settings.retrieve || settings.deleteReports) &&
      (settings.ending != ReportFolderSettings::Ending::kComplete || settings.folderTooLong)) {
    std::abort();
  }
  if (settings.folder.size() > lists::kMaxFolderBytes && !settings.folderTooLong) std::abort();
  return 0;
}
