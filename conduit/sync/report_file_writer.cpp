#include "conduit/sync/report_file_writer.h"

#include <windows.h>

#include "conduit/sync/report_file_name.h"

namespace korvet {
namespace {

constexpr std::size_t kMaxReportPath = 255;

bool IsDiskFull(DWORD error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

// Two lines, as for every report file that cannot be created.
void LogRefused(const std::string& path, std::vector<std::string>& log) {
  log.push_back("Filename already exist");
  log.push_back(path);
}

// A file of the report's name counts as the report only when it holds exactly its text.
ReportSave SavedWhenIdentical(const std::string& path, const std::string& text) {
  auto existing = ReadWholeFile(path);
  return existing && std::string(existing->begin(), existing->end()) == text ? ReportSave::kSaved : ReportSave::kKept;
}

}  // namespace

ReportFileSteps& PlainReportFileSteps() {
  static ReportFileSteps steps;
  return steps;
}

ReportFolderWriter::ReportFolderWriter(std::string folder)
    : ReportFolderWriter(std::move(folder), PlainReportFileSteps()) {}

ReportFolderWriter::ReportFolderWriter(std::string folder, ReportFileSteps& steps)
    : folder_(std::move(folder)), temporary_(folder_ + kTemporaryName), steps_(steps) {}

void ReportFolderWriter::RemoveLeftover() const { DeleteFileA(temporary_.c_str()); }

ReportSave ReportFolderWriter::Save(const std::string& name, const std::string& text, std::vector<std::string>& log) {
  const std::string path = folder_ + name + ".csv";
  if (!IsSafeReportName(name) || path.size() > kMaxReportPath) {
    LogRefused(path, log);
    return ReportSave::kKept;
  }
  WinFile file = WinFile::CreateNew(temporary_);
  if (!file) {
    if (IsDiskFull(file.OpenError())) {
      log.push_back("Report file not written (disk full), the report stays on the handheld: " + path);
      return ReportSave::kDiskFull;
    }
    LogRefused(path, log);
    return ReportSave::kKept;
  }
  const char* step = "write";
  bool done = steps_.Write(file, text);
  if (done) {
    step = "flush";
    done = steps_.Flush(file);
  }
  if (done) {
    step = "close";
    done = file.Close();
  }
  if (!done) {
    const DWORD error = GetLastError();
    file.Close();
    DeleteFileA(temporary_.c_str());
    const std::string why =
        IsDiskFull(error) ? std::string("disk full") : std::string(step) + " failed, error " + std::to_string(error);
    log.push_back("Report file not written (" + why + "), the report stays on the handheld: " + path);
    return IsDiskFull(error) ? ReportSave::kDiskFull : ReportSave::kKept;
  }
  // Without MOVEFILE_REPLACE_EXISTING an existing file is never overwritten; one that already holds the
  // report saves it. (Not asked before writing: under Wine every look-up of a name that does not
  // exist reads the whole folder.)
  if (!MoveFileExA(temporary_.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileA(temporary_.c_str());
    LogRefused(path, log);
    const bool exists = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
    return exists ? SavedWhenIdentical(path, text) : ReportSave::kKept;
  }
  return ReportSave::kSaved;
}

}  // namespace korvet
