// ArchiveDatabaseManager: the desktop store into which the synchronizer puts records that are archived
// instead of deleted. Its file sits beside the desktop file with the extension ".ARC" and has the
// generic desktop data file layout; a missing archive file is an empty store.
#pragma once

#include "conduit/store/desktop_database_manager.h"

namespace korvet::store {

inline constexpr char kArchiveExtension[] = ".ARC";

class ArchiveDatabaseManager : public DesktopDatabaseManager {
 public:
  // The sync type is always 0 (fast sync).
  ArchiveDatabaseManager(SyncLogger* logger, std::uint32_t options, const char* remoteName, const char* fileName,
                         const char* directory);
  ~ArchiveDatabaseManager() override;

  // Once per store: LoadFile.
  long LoadContents() override;
  // Clears read-pending, SaveFile, then CloseFile; a SaveFile failure is the result.
  long FinishSync() override;
  // While read-pending: opens for reading (no archive file yet is not an error) and loads; afterwards
  // opens in the closed mode.
  long OpenForSyncType() override;
};

}  // namespace korvet::store
