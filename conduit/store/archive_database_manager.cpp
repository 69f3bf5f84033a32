#include "conduit/store/archive_database_manager.h"

#include "conduit/store/desktop_path.h"
#include "conduit/store/status_codes.h"

namespace korvet::store {

ArchiveDatabaseManager::ArchiveDatabaseManager(SyncLogger* logger, std::uint32_t options, const char* remoteName,
                                               const char* fileName, const char* directory)
    : DesktopDatabaseManager(logger, options, kFastSync, remoteName, fileName, directory) {
  SetPath(ReplaceExtension(BuildDesktopPath(directory, fileName), kArchiveExtension));
}

ArchiveDatabaseManager::~ArchiveDatabaseManager() = default;

long ArchiveDatabaseManager::LoadContents() {
  if (IsLoaded()) return kOk;
  SetLoaded(true);
  return LoadFile();
}

long ArchiveDatabaseManager::FinishSync() {
  SetReadPending(false);
  const long status = SaveFile();
  CloseFile(0);
  return status;
}

long ArchiveDatabaseManager::OpenForSyncType() {
  if (!IsReadPending()) return Open(kOpenModeClosed);
  const long status = Open(kOpenModeRead);
  if (status == kDesktopFileNotFound) return kOk;
  if (status != kOk) return status;
  return LoadContents();
}

}  // namespace korvet::store
