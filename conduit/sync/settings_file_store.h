// The settings-file store. One shared instance lives as long as the conduit library: each desktop
// store's Open hands it the path and leading text of the file it opened, and LoadContents takes from
// it the one record that a settings file becomes (the file's name, a comma, its text and an
// asterisk). Its report operations have the end-of-session pass (report_pass.h) write every traverse
// report of "KORVETDatabaseDB" as a .csv file into the chosen folder and delete the saved reports on
// the handheld.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "conduit/store/desktop_database_manager.h"
#include "conduit/store/settings_record_source.h"
#include "conduit/store/sync_record.h"
#include "conduit/sync/report_file_writer.h"
#include "conduit/sync/report_pass.h"

namespace korvet {

class SettingsFileStore : public store::DesktopDatabaseManager, public store::SettingsRecordSource {
 public:
  // The record text is built in this many bytes, its NUL included.
  static constexpr std::size_t kRecordTextSize = 512;
  // The file name holds at most 29 characters and its NUL.
  static constexpr std::size_t kFileNameSize = 30;

  SettingsFileStore();
  ~SettingsFileStore() override;

  // Keeps the characters after the last backslash of the path as the file name. A name of 30 or more
  // characters is refused with 4356: the file name stays empty and no record text is built until the
  // next name.
  long SetFileName(const char* path) override;
  // The record text becomes the file name, ",", the text and "*". A text that does not fit the
  // 512-byte record text with them is refused with 4356, as is any text while the file name is
  // refused: the record text stays empty, so no part of such a file is ever sent.
  long BuildRecordText(const char* text) override;
  // Fills the record a settings file becomes: ID 0, category 0, modified, the record text as data
  // (deleted instead of data when the text is empty). False only when memory runs out.
  bool FillRecord(store::SyncRecord& record) const override;

  const char* RecordText() const { return recordText_.data(); }
  const char* FileName() const { return fileName_.data(); }

  // Asks the pass to write every record that starts with "$" as <folder><report name>.csv; the folder
  // ends with a backslash. Of several copies of a report (same duplicate key) only the newest is
  // written. The temporary files and staging folders that abruptly ended sessions of this computer
  // left in the folder are removed now.
  void RetrieveReports(const std::string& folder, ReportPass& pass);
  // Writes one report record (report_file_writer.h): saved when its file was written whole in this
  // call, or a file of that name already holds exactly the same bytes.
  ReportSave WriteReportFile(ReportFolderWriter& writer, const std::vector<std::uint8_t>& record,
                             std::vector<std::string>& log);
  // Asks the pass to delete on the handheld each report right after its file is saved; a report that
  // was not saved stays on the handheld.
  void DeleteReports(ReportPass& pass);
  // The file steps that report writing uses (a test's, to fail them); they must outlive the store.
  void UseFileSteps(FileSteps& steps) { fileSteps_ = &steps; }

 private:
  std::array<char, kRecordTextSize> recordText_{};
  long private_ = 0;
  std::array<char, kFileNameSize> fileName_{};
  bool nameRefused_ = false;
  FileSteps* fileSteps_ = &PlainFileSteps();
};

// The one instance that desktop stores hand settings files to. It is made on first use and destroyed
// when the library (or the program linking it) unloads; the library's entry makes it at load.
SettingsFileStore& SharedSettingsFileStore();

}  // namespace korvet
