#include "conduit/sync/report_file_writer.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "common/error_text.h"
#include "common/list_format.h"
#include "common/paths.h"
#include "common/unique_handle.h"
#include "conduit/sync/report_file_name.h"

namespace korvet {
namespace {

bool IsDiskFull(DWORD error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

ReportSave Saved() { return {ReportSave::Outcome::kSaved, {}}; }
ReportSave Kept() { return {ReportSave::Outcome::kKept, {}}; }
ReportSave Stopped(std::string cause) { return {ReportSave::Outcome::kStopped, std::move(cause)}; }

// A file of the report's name counts as the report only when it holds exactly its text.
ReportSave SavedWhenIdentical(const std::string& path, const std::string& text) {
  auto existing = ReadWholeFile(path);
  return existing && std::string(existing->begin(), existing->end()) == text ? Saved() : Kept();
}

// Why no file could be made in the folder, from the error of the temporary file's creation: the
// temporary name (given from the folder on) is the writer's own, so the report's name plays no part in it.
std::string FolderFailure(const std::string& folder, const std::string& temporaryName, DWORD error) {
  if (IsUnreachable(error)) return "Report folder not reachable";
  if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
    return "Report folder holds a temporary file that cannot be removed (" + temporaryName + ")";
  // Asked without the trailing backslash, which makes the look-up of a file fail as if it were missing.
  std::string asked = folder;
  if (asked.size() > 3 && EndsWithBackslash(asked)) asked.pop_back();
  const DWORD attributes = GetFileAttributesA(asked.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD lookup = GetLastError();
    if (IsUnreachable(lookup)) return "Report folder not reachable";
    return "Report folder not found";
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return "Report folder is a file, not a folder";
  return "Report folder cannot be written (" + FileErrorText(error) + ")";
}

constexpr char kTemporaryPrefix[] = "~KorvIR ";
constexpr char kTemporaryExtension[] = ".tmp";
constexpr char kOlderTemporaryName[] = "~KorvIR report.tmp";
constexpr char kStagedFileName[] = "report.tmp";
// Windows makes no folder whose path is longer than this.
constexpr std::size_t kMaxFolderPathChars = 247;
constexpr std::size_t kMaxPathChars = 259;

// Asked once: every report's writer names its temporary file with it.
const std::string& ComputerName() {
  static const std::string name = [] {
    char text[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof text;
    return GetComputerNameA(text, &size) ? std::string(text, size) : std::string("PC");
  }();
  return name;
}

// Whether the process of that ID on this computer has ended (or never was); one that cannot be asked
// (another user's) counts as running.
bool HasEnded(DWORD id) {
  if (id == GetCurrentProcessId()) return true;  // this session's own is left over from an earlier one
  const UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
  if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;
  return WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0;
}

// The process ID of one of this computer's temporary names (ending in `extension`: ".tmp" for a file,
// "" for a staging folder), or nothing for any other name.
std::optional<DWORD> OwnProcessOf(const std::string& name, std::string_view extension) {
  const std::string prefix = kTemporaryPrefix + ComputerName() + " ";
  if (name.size() <= prefix.size() + extension.size() || name.compare(0, prefix.size(), prefix) != 0 ||
      !name.ends_with(extension))
    return std::nullopt;
  const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - extension.size());
  if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return static_cast<DWORD>(std::stoull(digits));
}

// A staging folder holds at most the one temporary file of a report that was being written.
void RemoveStagingFolder(const std::string& folder) {
  WIN32_FIND_DATAA found{};
  const UniqueFileSearch files(FindFirstFileA(JoinPath(folder, "*").c_str(), &found));
  if (files) {
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        DeleteFileA(JoinPath(folder, found.cFileName).c_str());
    } while (FindNextFileA(files.Get(), &found));
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

ReportFolderWriter::ReportFolderWriter(std::string folder) : ReportFolderWriter(std::move(folder), PlainFileSteps()) {}

ReportFolderWriter::ReportFolderWriter(std::string folder, FileSteps& steps)
    : folder_(std::move(folder)), steps_(steps) {}

ReportFolderWriter::~ReportFolderWriter() {
  if (staging_.empty()) return;
  DeleteFileA(temporary_.c_str());
  RemoveDirectoryA(staging_.c_str());
}

std::string ReportFolderWriter::StagingFolderName() {
  return kTemporaryPrefix + ComputerName() + " " + std::to_string(GetCurrentProcessId());
}

std::string ReportFolderWriter::TemporaryName() { return StagingFolderName() + kTemporaryExtension; }

std::string ReportFolderWriter::StagedTemporaryName() { return JoinPath(StagingFolderName(), kStagedFileName); }

// In a folder of its own the temporary file's name is looked up among one file, not among all the
// reports: under Wine every look-up of a name that does not exist reads the whole folder. Where that
// folder cannot be had (its path too long, the report folder not writable), the temporary file goes
// into the report folder itself.
const std::string& ReportFolderWriter::Temporary() {
  if (!temporary_.empty()) return temporary_;
  temporary_ = folder_ + TemporaryName();
  const std::string staging = folder_ + StagingFolderName();
  const std::string staged = folder_ + StagedTemporaryName();
  if (staging.size() > kMaxFolderPathChars || staged.size() > kMaxPathChars) return temporary_;
  if (!CreateDirectoryA(staging.c_str(), nullptr)) {
    // A folder left by an earlier pass of this process is this writer's to use; a file in its place is not.
    const DWORD attributes = GetFileAttributesA(staging.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return temporary_;
  }
  staging_ = staging;
  temporary_ = staged;
  return temporary_;
}

void ReportFolderWriter::RemoveLeftovers() const {
  DeleteFileA((folder_ + kOlderTemporaryName).c_str());
  WIN32_FIND_DATAA found{};
  const UniqueFileSearch search(FindFirstFileA((folder_ + kTemporaryPrefix + "*").c_str(), &found));
  if (!search) return;
  do {
    const std::string path = folder_ + found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      const std::optional<DWORD> process = OwnProcessOf(found.cFileName, kTemporaryExtension);
      if (process && HasEnded(*process)) DeleteFileA(path.c_str());
      continue;
    }
    const std::optional<DWORD> process = OwnProcessOf(found.cFileName, "");
    if (process && HasEnded(*process)) RemoveStagingFolder(path);
  } while (FindNextFileA(search.Get(), &found));
}

ReportSave ReportFolderWriter::Save(const std::string& name, const std::string& text, std::vector<std::string>& log) {
  const std::string path = folder_ + name + ".csv";
  if (!IsSafeReportName(name)) {
    log.push_back("Report name not usable as a file name, the report stays on the handheld: " + path);
    return Kept();
  }
  if (path.size() > lists::kMaxReportPathBytes) {
    log.push_back("Report file path longer than 255 characters, the report stays on the handheld: " + path);
    return Kept();
  }
  const std::string& temporary = Temporary();
  WinFile file = steps_.Create(temporary, ExistingFile::kRefuse);
  if (!file) {
    const DWORD error = file.OpenError();
    if (IsDiskFull(error)) {
      log.push_back("Report file not written (disk full), the report stays on the handheld: " + path);
      return Stopped("Disk full");
    }
    std::string cause = FolderFailure(folder_, temporary.substr(folder_.size()), error);
    log.push_back(cause + ", traverse reports not retrieved: " + folder_);
    return Stopped(std::move(cause));
  }
  const char* step = "write";
  bool done = steps_.Write(file, text);
  if (done) {
    step = "flush";
    done = steps_.Flush(file);
  }
  if (done) {
    step = "close";
    done = steps_.Close(file);
  }
  if (!done) {
    const DWORD error = GetLastError();
    file.Close();
    DeleteFileA(temporary.c_str());
    const std::string why =
        IsDiskFull(error) ? std::string("disk full") : std::string(step) + " failed, error " + std::to_string(error);
    log.push_back("Report file not written (" + why + "), the report stays on the handheld: " + path);
    return IsDiskFull(error) ? Stopped("Disk full") : Kept();
  }
  // Without MOVEFILE_REPLACE_EXISTING an existing file is never overwritten; one that already holds the
  // report saves it. (Not asked before writing: under Wine every look-up of a name that does not
  // exist reads the whole folder.)
  if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileA(temporary.c_str());
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
      log.push_back("Filename already exist");
      log.push_back(path);
      return SavedWhenIdentical(path, text);
    }
    log.push_back("Report file not written (" + FileErrorText(error) + "), the report stays on the handheld: " + path);
    return Kept();
  }
  return Saved();
}

}  // namespace korvet
