// BackupDatabaseManager: the store of the backup copy of a desktop file, beside it with the extension
// ".BAK". During a slow sync it supplies the state of the last sync; at the end of every sync its
// FinishSync copies the desktop file over the backup.
#pragma once

#include <string>

#include "conduit/store/desktop_database_manager.h"

namespace korvet::store {

inline constexpr char kBackupExtension[] = ".BAK";

class BackupDatabaseManager : public DesktopDatabaseManager {
 public:
  BackupDatabaseManager(SyncLogger* logger, std::uint32_t options, long syncType, const char* remoteName,
                        const char* fileName, const char* directory);
  ~BackupDatabaseManager() override;

  // CloseFile without logging.
  long Close(long flag) override;
  // Once per store: during a slow sync LoadFile (no open backup file counts as an empty store); other
  // sync types load nothing.
  long LoadContents() override;
  // Closes the backup and copies the desktop file over it; 4390 when the copy fails.
  long FinishSync() override;
  // During a slow sync with read-pending: opens for reading (no backup file yet is not an error) and
  // loads; otherwise nothing.
  long OpenForSyncType() override;

  // The desktop file's own path; empty when it was refused for its length.
  const std::string& SourcePath() const { return sourcePath_; }

 private:
  std::string sourcePath_;
};

}  // namespace korvet::store
