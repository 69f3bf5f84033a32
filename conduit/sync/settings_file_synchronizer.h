// SettingsFileSynchronizer: the record synchronizer that sends one listed settings file to the handheld
// database as one record (the file's name, a comma, its text and an asterisk). Its desktop side is a
// SettingsDesktopStore over the settings file, its backup store the ".BAK" copy beside it; it keeps no
// archives and handles only the categories of the application information.
#pragma once

#include <memory>

#include "conduit/sync/record_synchronizer.h"
#include "conduit/sync/settings_transfer_session.h"

namespace korvet::sync {

// A recreate keeps the traverse reports that the device stored in the database: instead of deleting
// the database it deletes the settings records (every record that is not a report) and keeps the
// database. `databaseMissing` tells that the database does not exist (the open's not-found); a
// not-found from a later count, read or delete is an ordinary failure.
long RemoveSettingsRecords(const char* databaseName, long card, bool& databaseMissing);

class SettingsFileSynchronizer : public RecordSynchronizer {
 public:
  SettingsFileSynchronizer(const SyncProperties& properties, long options,
                           std::shared_ptr<SettingsTransferSession> session);
  ~SettingsFileSynchronizer() override;

  long SyncAppInfo() override;
  long ArchiveRecord(SyncRecord& record) override;
  long OpenHandheldStore() override;
  long OpenDesktopStore() override;
  long OpenBackupStore() override;
  long CopyAppInfoToDesktop() override;
  long CopyAppInfoToHandheld() override;
  // The traverse reports share the database, and the purge takes the archived ones with the deleted
  // records: a report the user deleted on the device while keeping a desktop copy would be gone
  // before the end-of-session pass saves it. The purge is left to that pass.
  long PurgeHandheldDeletions() override;
  bool LeftPurgeToSession() const override { return purgeLeftToSession_; }
  // The files of one HotSync share its Sync Manager session; each run still writes its own heading and
  // closing lines to the log.
  long BeginSession() override;
  long EndSession(bool failed) override;

 protected:
  // The settings file is never written: the handheld's other records (the reports among them) would be
  // read into its store only to be dropped, once per listed file.
  bool TakesUnknownHandheldRecords() const override { return false; }
  // Its one record has no handheld ID, so every changed handheld record would meet an absent desktop
  // record: the device's deleted and archived records go with the purge and its modified ones would
  // only be copied into the store, which is never written. The changed marks are cleared at the close
  // all the same. Reading them would cost a round trip per traverse report on the first file.
  bool VisitsHandheldChanges() const override { return false; }
  // Asked by the session's first run only: the answer is the same for every file, and a transfer of
  // settings files reads nothing of it.
  long ReadSystemInfo() override;

 private:
  // The fast sync's handheld store, on the session's open handle of the settings database.
  long OpenSharedHandheldStore();
  // Makes a store of the settings file's side, keeps it with `keep` and opens it for the sync.
  template <typename Store>
  long OpenSettingsSide(void (SettingsFileSynchronizer::*keep)(std::unique_ptr<DatabaseManager>));
  std::shared_ptr<SettingsTransferSession> session_;
  // The sync type HotSync Manager asked for; a fall-back to a copy changes the synchronizer's own.
  long requestedSyncType_;
  bool purgeLeftToSession_ = false;
  bool inSharedSession_ = false;
};

}  // namespace korvet::sync
