#include "conduit/sync/settings_backup_store.h"

#include "conduit/store/backup_database_manager.h"
#include "conduit/store/desktop_path.h"
#include "conduit/store/status_codes.h"

namespace korvet::sync {

SettingsBackupStore::SettingsBackupStore(store::SyncLogger* logger, std::uint32_t options, const char* remoteName,
                                         const char* fileName, const char* directory, long syncType)
    : SettingsDesktopStore(logger, options, remoteName, fileName, directory, syncType), sourcePath_(Path()) {
  SetPath(store::ReplaceExtension(store::BuildDesktopPath(directory, fileName), store::kBackupExtension));
  SetSharesLeadingText(false);
}

SettingsBackupStore::~SettingsBackupStore() = default;

long SettingsBackupStore::Close(long) { return CloseFile(0); }

long SettingsBackupStore::LoadContents() {
  if (IsLoaded()) return store::kOk;
  SetLoaded(true);
  if (GetSyncType() != store::kSyncSlow) return store::kOk;
  const long status = LoadFile();
  return status == store::kNoFileOpen ? store::kOk : status;
}

// Nothing is copied from a refused source path or onto a refused backup path.
long SettingsBackupStore::FinishSync() {
  CloseFile(0);
  if (sourcePath_.empty() || Path().empty()) return store::kBackupCopyFailed;
  return CopyDesktopFile(sourcePath_.c_str(), Path().c_str(), false) ? store::kOk : store::kBackupCopyFailed;
}

long SettingsBackupStore::OpenForSyncType() {
  if (GetSyncType() != store::kSyncSlow || !IsReadPending()) return store::kOk;
  const long status = Open(store::kOpenModeRead);
  if (status == store::kDesktopFileNotFound) return store::kOk;
  if (status != store::kOk) return status;
  return LoadContents();
}

}  // namespace korvet::sync
