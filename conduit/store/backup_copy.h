// A backup store over any desktop store: it works on the copy of the desktop file whose name ends in
// ".BAK" instead of the file's own extension, beside it. In a slow sync it supplies the state of the
// last sync; at the end of a sync it copies the desktop file over the copy. Reading the copy never
// touches the shared settings-file store: the record sent is always the desktop file's own.
#pragma once

#include <string>
#include <utility>

#include "common/error_text.h"
#include "common/win_file.h"
#include "conduit/platform/hotsync_log.h"
#include "conduit/platform/sync_type_table.h"
#include "conduit/store/desktop_database_manager.h"
#include "conduit/store/desktop_path.h"
#include "conduit/store/status_codes.h"

namespace korvet::store {

inline constexpr char kBackupExtension[] = ".BAK";

template <typename Store>
class BackupCopy : public Store {
 public:
  template <typename... Arguments>
  explicit BackupCopy(Arguments&&... arguments)
      : Store(std::forward<Arguments>(arguments)...), sourcePath_(this->Path()) {
    // A desktop path refused for its length leaves the copy without a path too.
    this->SetPath(sourcePath_.empty() ? std::string() : ReplaceExtension(sourcePath_, kBackupExtension));
    this->SetSharesLeadingText(false);
  }

  // Closes the file without logging.
  long Close(long) override { return this->CloseFile(0); }

  // Once: in a slow sync the store's own load (no open copy counts as an empty store); else nothing.
  long LoadContents() override {
    if (this->IsLoaded()) return kOk;
    this->SetLoaded(true);
    if (!LoadsCopy()) return kOk;
    const long status = this->LoadFile();
    return status == kNoFileOpen ? kOk : status;
  }

  // Closes the copy and copies the desktop file over it; kBackupCopyFailed, with a line that names
  // the copy, when the copy fails. Nothing is copied from or onto a path that was refused. A backup
  // or "handheld overwrites desktop" HotSync of a file that is not there succeeds: there is nothing
  // to keep a copy of, and the old copy stays.
  long FinishSync() override {
    this->CloseFile(0);
    if (sourcePath_.empty() || this->Path().empty()) return kBackupCopyFailed;
    if (SendsNothing(this->GetSyncType()) && !FileExists(sourcePath_)) {
      LogLine(kSettingsFileMissingText);
      LogLine(sourcePath_);
      return kOk;
    }
    if (this->CopyDesktopFile(sourcePath_.c_str(), this->Path().c_str(), false)) return kOk;
    LogLine("Backup copy could not be written (" + FileErrorText(GetLastError()) + "): " + this->Path());
    return kBackupCopyFailed;
  }

  // In a slow sync while read-pending: opens the copy for reading (a missing copy is an empty store)
  // and loads it; otherwise nothing. A copy that cannot be opened or read is only the last sync's
  // state: the file is sent without it (every handheld record then counts as changed), and the copy
  // is refreshed at the end as usual.
  long OpenForSyncType() override {
    if (!LoadsCopy() || !this->IsReadPending()) return kOk;
    long status = this->Open(kOpenModeRead);
    const DWORD openError = this->OpenError();
    if (status == kDesktopFileNotFound && (openError == ERROR_FILE_NOT_FOUND || openError == ERROR_PATH_NOT_FOUND))
      return kOk;
    if (status == kOk) status = LoadContents();
    if (status == kOk) return kOk;
    const std::string why = status == kDesktopFileNotFound ? FileErrorText(openError)
                            : status == kReadFailed        ? std::string("read failed")
                                                           : "damaged, status " + std::to_string(status);
    LogLine("Backup copy could not be read (" + why + "), the settings file is sent without it: " + this->Path());
    this->CloseFile(0);
    this->DeleteAllRecords();
    return kOk;
  }

  // The desktop file's own path; empty when it was refused for its length.
  const std::string& SourcePath() const { return sourcePath_; }

 private:
  // Only the slow sync compares with the last sync's state, which the copy holds.
  bool LoadsCopy() const { return PassOf(this->GetSyncType()) == SyncPass::kSlow; }

  std::string sourcePath_;
};

}  // namespace korvet::store
