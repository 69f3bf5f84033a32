// Writes traverse report files into the chosen folder so that a report file only ever appears
// whole: the text goes to a temporary file on the same volume (in a staging folder of the writer's own
// inside the report folder), is flushed and closed, and only then renamed to the report's name,
// never replacing a file. A report counts as saved only then; its
// record may then leave the handheld.
#pragma once

#include <string>
#include <vector>

#include "common/file_steps.h"
#include "common/win_file.h"

namespace korvet {

// What became of one report.
struct ReportSave {
  enum class Outcome {
    kSaved,    // the file holds the report whole (written now, or already there byte for byte)
    kKept,     // not saved; the report stays on the handheld
    kStopped,  // not saved, and no report can be written into the folder now: it stays on the handheld
  };
  Outcome outcome = Outcome::kKept;
  // kStopped: why, as a log line begins ("Disk full", "Report folder not found", ...).
  std::string stopCause;

  bool Saved() const { return outcome == Outcome::kSaved; }
};

class ReportFolderWriter {
 public:
  // The staging folder's name in the report folder: "~KorvIR <computer> <process ID>", so that two
  // installations writing into one folder (two HotSyncs, two computers on one share) never meet in it.
  static std::string StagingFolderName();
  // The temporary file in it, from the report folder on: "<staging folder>\report.tmp".
  static std::string StagedTemporaryName();
  // The temporary file's name in the report folder itself, where the staging folder cannot be had:
  // the staging folder's name and ".tmp". Not a ".csv" name, so never a report's.
  static std::string TemporaryName();

  // folder ends with a backslash; steps must outlive the writer.
  explicit ReportFolderWriter(std::string folder);
  ReportFolderWriter(std::string folder, FileSteps& steps);
  // Removes the staging folder.
  ~ReportFolderWriter();
  ReportFolderWriter(const ReportFolderWriter&) = delete;
  ReportFolderWriter& operator=(const ReportFolderWriter&) = delete;

  // Removes the temporary files and staging folders that sessions which ended abruptly left: this
  // computer's whose process is no longer running, and the one name that older versions used.
  // Another computer's, or a running session's, stay.
  void RemoveLeftovers() const;
  // Writes <folder><name>.csv holding text. A report that is not saved gets HotSync log lines, added to
  // `log`, that give the real cause: "Filename already exist" and the path for a name that is taken
  // (the report counts as saved when that file holds exactly its text); one line for a name that is
  // not usable or a file that could not be written. When no file can be made in the folder at all
  // (missing, not a folder, not writable, not reachable, full) the line names the folder and the
  // save is kStopped.
  ReportSave Save(const std::string& name, const std::string& text, std::vector<std::string>& log);

 private:
  // The temporary file's path, chosen at the first save (the staging folder is made then).
  const std::string& Temporary();

  std::string folder_;
  std::string staging_;    // the staging folder, once made
  std::string temporary_;  // empty until the first save
  FileSteps& steps_;
};

}  // namespace korvet
