// BackupDatabaseManager: the store of the backup copy of a desktop file, beside it with the extension
// ".BAK", over the generic desktop data file. During a slow sync it supplies the state of the last
// sync; at the end of every sync its FinishSync copies the desktop file over the backup.
#pragma once

#include "conduit/store/backup_copy.h"
#include "conduit/store/desktop_database_manager.h"

namespace korvet::store {

class BackupDatabaseManager : public BackupCopy<DesktopDatabaseManager> {
 public:
  BackupDatabaseManager(SyncLogger* logger, std::uint32_t options, long syncType, const char* remoteName,
                        const char* fileName, const char* directory);
  ~BackupDatabaseManager() override;
};

}  // namespace korvet::store
