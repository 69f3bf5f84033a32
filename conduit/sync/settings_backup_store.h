// SettingsBackupStore: the backup store of a settings-file synchronizer, the ".BAK" copy beside the
// settings file, read with the settings desktop store's own structured load.
#pragma once

#include "conduit/store/backup_copy.h"
#include "conduit/sync/settings_desktop_store.h"

namespace korvet::sync {

class SettingsBackupStore : public store::BackupCopy<SettingsDesktopStore> {
 public:
  SettingsBackupStore(store::SyncLogger* logger, std::uint32_t options, const char* remoteName, const char* fileName,
                      const char* directory, long syncType);
  ~SettingsBackupStore() override;
};

}  // namespace korvet::sync
