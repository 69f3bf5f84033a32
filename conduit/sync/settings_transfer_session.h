// What the settings-file synchronizers of one HotSync and its end-of-session pass share: one Sync
// Manager session for all the listed files, and one open handle on the settings database, kept from
// the first fast sync that opens it to the end of the pass, so that each further file costs its yield,
// its record's write, the clearing of the changed marks and the pass's read of the record.
#pragma once

#include <cstdint>

#include "conduit/platform/sync_handles.h"
#include "conduit/sync/report_database.h"

namespace korvet::sync {

class SettingsTransferSession {
 public:
  SettingsTransferSession() = default;
  // Closes the database, then the Sync Manager session, when the owner has not.
  ~SettingsTransferSession();
  SettingsTransferSession(const SettingsTransferSession&) = delete;
  SettingsTransferSession& operator=(const SettingsTransferSession&) = delete;

  // The session's Sync Manager session: the first call opens it and gives OpenSyncSession's answer;
  // later calls find it open. It stays open until EndSyncSession.
  long BeginSyncSession();
  // Closes the Sync Manager session, if one was opened; its answer.
  long EndSyncSession();

  // The settings database, opened read and write with private records shown (as the end pass needs
  // it) by the first fast sync, and closed by its owner's Close or at the end.
  KorvetDatabase database;
  // The sync types that recreate the handheld database do it once per session: later files of the
  // same session join the database as it is.
  bool databaseRecreated = false;
  bool systemInfoRead = false;  // the handheld's system information, asked once per session

 private:
  UniqueSyncSession syncSession_;
};

}  // namespace korvet::sync
