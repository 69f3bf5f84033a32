#include "conduit/store/backup_database_manager.h"

#include "conduit/store/desktop_path.h"
#include "conduit/store/status_codes.h"

namespace korvet::store {

BackupDatabaseManager::BackupDatabaseManager(SyncLogger* logger, std::uint32_t options, long syncType,
                                             const char* remoteName, const char* fileName, const char* directory)
    : DesktopDatabaseManager(logger, options, syncType, remoteName, fileName, directory), sourcePath_(Path()) {
  SetPath(ReplaceExtension(BuildDesktopPath(directory, fileName), kBackupExtension));
}

BackupDatabaseManager::~BackupDatabaseManager() = default;

long BackupDatabaseManager::Close(long) { return CloseFile(0); }

long BackupDatabaseManager::LoadContents() {
  if (IsLoaded()) return kOk;
  SetLoaded(true);
  if (GetSyncType() != kSyncSlow) return kOk;
  const long status = LoadFile();
  return status == kNoFileOpen ? kOk : status;
}

// Without a source or a backup path there is nothing to copy, and nothing is copied onto a path that
// was refused.
long BackupDatabaseManager::FinishSync() {
  CloseFile(0);
  if (sourcePath_.empty() || Path().empty()) return kBackupCopyFailed;
  return CopyDesktopFile(sourcePath_.c_str(), Path().c_str(), false) ? kOk : kBackupCopyFailed;
}

long BackupDatabaseManager::OpenForSyncType() {
  if (GetSyncType() != kSyncSlow || !IsReadPending()) return kOk;
  const long status = Open(kOpenModeRead);
  if (status == kDesktopFileNotFound) return kOk;
  if (status != kOk) return status;
  return LoadContents();
}

}  // namespace korvet::store
