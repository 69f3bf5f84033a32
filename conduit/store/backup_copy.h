// A backup store over any desktop store: it works on the copy of the desktop file whose name ends in
// ".BAK" instead of the file's own extension, beside it. In a slow sync it supplies the state of the
// last sync; at the end of a sync it copies the desktop file over the copy. Reading the copy never
// touches the shared settings-file store: the record sent is always the desktop file's own.
#pragma once

#include <string>
#include <utility>

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
    if (this->GetSyncType() != kSyncSlow) return kOk;
    const long status = this->LoadFile();
    return status == kNoFileOpen ? kOk : status;
  }

  // Closes the copy and copies the desktop file over it; kBackupCopyFailed when the copy fails. Nothing
  // is copied from or onto a path that was refused.
  long FinishSync() override {
    this->CloseFile(0);
    if (sourcePath_.empty() || this->Path().empty()) return kBackupCopyFailed;
    return this->CopyDesktopFile(sourcePath_.c_str(), this->Path().c_str(), false) ? kOk : kBackupCopyFailed;
  }

  // In a slow sync while read-pending: opens the copy for reading (a missing copy is an empty store)
  // and loads it; otherwise nothing.
  long OpenForSyncType() override {
    if (this->GetSyncType() != kSyncSlow || !this->IsReadPending()) return kOk;
    const long status = this->Open(kOpenModeRead);
    if (status == kDesktopFileNotFound) return kOk;
    if (status != kOk) return status;
    return LoadContents();
  }

  // The desktop file's own path; empty when it was refused for its length.
  const std::string& SourcePath() const { return sourcePath_; }

 private:
  std::string sourcePath_;
};

}  // namespace korvet::store
