// Writes traverse report files into the chosen folder so that a report file only ever appears
// whole: the text goes to a temporary file in the same folder, is flushed and closed, and only then
// renamed to the report's name, never replacing a file. A report counts as saved only then; its
// record may then leave the handheld.
#pragma once

#include <string>
#include <vector>

#include "common/win_file.h"

namespace korvet {

enum class ReportSave {
  kSaved,     // the file holds the report whole (written now, or already there byte for byte)
  kKept,      // not saved; the report stays on the handheld
  kDiskFull,  // not saved because the disk is full; the report stays on the handheld
};

// The steps on the open temporary file that can fail for reasons outside the conduit (a full disk, a
// network folder gone): a test puts its own in their place.
class ReportFileSteps {
 public:
  virtual ~ReportFileSteps() = default;
  virtual bool Write(WinFile& file, const std::string& text) { return file.Write(text); }
  virtual bool Flush(WinFile& file) { return file.Flush(); }
};

// The steps as they are: what every session uses.
ReportFileSteps& PlainReportFileSteps();

class ReportFolderWriter {
 public:
  // The temporary file's name, in the report folder. Not a ".csv" name, so never a report's.
  static constexpr const char* kTemporaryName = "~KorvIR report.tmp";

  // folder ends with a backslash; steps must outlive the writer.
  explicit ReportFolderWriter(std::string folder);
  ReportFolderWriter(std::string folder, ReportFileSteps& steps);

  // Removes the temporary file that a session which ended abruptly may have left.
  void RemoveLeftover() const;
  // Writes <folder><name>.csv holding text. A report that is not saved gets HotSync log lines, added to
  // `log`, that name its path: "Filename already exist" and the path when the file cannot be created
  // (it exists, the name or folder is not usable); one line with the reason when writing, flushing or
  // closing fails.
  ReportSave Save(const std::string& name, const std::string& text, std::vector<std::string>& log);

 private:
  std::string folder_;
  std::string temporary_;
  ReportFileSteps& steps_;
};

}  // namespace korvet
