// SettingsBackupStore: the backup store of a settings-file synchronizer. It works on the copy of the
// settings file that ends in ".BAK" instead of the file's own extension, beside it. In a slow sync it
// supplies the state of the last sync; at the end of a sync it copies the settings file over the copy.
// Reading the copy never touches the shared settings-file store: the record sent is always the listed
// file's own.
#pragma once

#include <string>

#include "conduit/sync/settings_desktop_store.h"

namespace korvet::sync {

class SettingsBackupStore : public SettingsDesktopStore {
 public:
  SettingsBackupStore(store::SyncLogger* logger, std::uint32_t options, const char* remoteName, const char* fileName,
                      const char* directory, long syncType);
  ~SettingsBackupStore() override;

  // Closes the file without logging.
  long Close(long flag) override;
  // Once: in a slow sync the structured load (no open copy counts as an empty store); else nothing.
  long LoadContents() override;
  // Closes the copy and copies the settings file over it; 4390 when the copy fails.
  long FinishSync() override;
  // In a slow sync while read-pending: opens the copy for reading (a missing copy is an empty store)
  // and loads it; otherwise nothing.
  long OpenForSyncType() override;

  const std::string& SourcePath() const { return sourcePath_; }

 private:
  std::string sourcePath_;
};

}  // namespace korvet::sync
