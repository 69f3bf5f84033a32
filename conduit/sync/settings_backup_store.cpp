#include "conduit/sync/settings_backup_store.h"

namespace korvet::sync {

SettingsBackupStore::SettingsBackupStore(store::SyncLogger* logger, std::uint32_t options, const char* remoteName,
                                         const char* fileName, const char* directory, long syncType)
    : BackupCopy(logger, options, remoteName, fileName, directory, syncType) {}

SettingsBackupStore::~SettingsBackupStore() = default;

}  // namespace korvet::sync
