#include "conduit/store/backup_database_manager.h"

namespace korvet::store {

BackupDatabaseManager::BackupDatabaseManager(SyncLogger* logger, std::uint32_t options, long syncType,
                                             const char* remoteName, const char* fileName, const char* directory)
    : BackupCopy(logger, options, syncType, remoteName, fileName, directory) {}

BackupDatabaseManager::~BackupDatabaseManager() = default;

}  // namespace korvet::store
