#include "conduit/sync/settings_file_synchronizer.h"

#include <cstring>
#include <vector>

#include "conduit/base/allocation.h"
#include "conduit/handheld/handheld_database_manager.h"
#include "conduit/platform/sync_manager.h"
#include "conduit/platform/sync_type_table.h"
#include "conduit/store/status_codes.h"
#include "conduit/sync/report_database.h"
#include "conduit/sync/settings_backup_store.h"
#include "conduit/sync/settings_desktop_store.h"
#include "conduit/sync/unused_calls.h"

namespace korvet::sync {
namespace {

using store::kOk;

constexpr long kOpenReadWriteKind = 2;

long IgnoreMissingCategoryBlock(long status) { return status == store::kNoCategoryBlock ? kOk : status; }

bool Recreates(long syncType) {
  const SyncTypeRow* row = FindSyncType(syncType);
  return row && row->handheldOpening == HandheldOpening::kRecreate;
}

}  // namespace

long RemoveSettingsRecords(const char* databaseName, long card, bool& databaseMissing) {
  KorvetDatabase database;
  const long opened = database.Open(databaseName, card);
  databaseMissing = opened == handheld::kSyncNotFound;
  if (opened != kOk) return opened;
  std::uint16_t count = 0;
  if (long status = CountRecords(database.Handle(), count)) return status;
  // Every record is read before the first delete, so that a failed read deletes nothing.
  std::vector<std::uint32_t> settings;
  HandheldRecord record;
  HandheldRecordReader reader;
  for (std::uint16_t index = 0; index < count; ++index) {
    if (long status = reader.Read(database.Handle(), index, record)) return status;
    if (!IsReport(record)) settings.push_back(record.id);
  }
  for (std::uint32_t id : settings) {
    if (long status = DeleteRecordById(database.Handle(), id)) return status;
  }
  return kOk;
}

SettingsFileSynchronizer::SettingsFileSynchronizer(const SyncProperties& properties, long options,
                                                   std::shared_ptr<SettingsTransferSession> session)
    : RecordSynchronizer(properties, options), session_(std::move(session)), requestedSyncType_(properties.syncType) {
  if (!session_) session_ = std::make_shared<SettingsTransferSession>();
}

SettingsFileSynchronizer::~SettingsFileSynchronizer() = default;

// Settings records carry no category, so a mirror sync leaves the handheld's categories alone and does
// not read its application information block (a round trip for every listed file).
long SettingsFileSynchronizer::SyncAppInfo() {
  if (MakesUnusedCalls()) {
    if (long status = IgnoreMissingCategoryBlock(HandheldStore()->LoadCategories())) return status;
  }
  return IgnoreMissingCategoryBlock(DesktopStore()->LoadCategories());
}

long SettingsFileSynchronizer::ReadSystemInfo() {
  if (session_->systemInfoRead && !MakesUnusedCalls()) return kOk;
  const long status = RecordSynchronizer::ReadSystemInfo();
  if (status == kOk) session_->systemInfoRead = true;
  return status;
}

long SettingsFileSynchronizer::BeginSession() {
  if (MakesUnusedCalls()) return RecordSynchronizer::BeginSession();
  if (long status = session_->BeginSyncSession()) return status;
  inSharedSession_ = true;
  Logger()->WriteHeading();
  return kOk;
}

long SettingsFileSynchronizer::EndSession(bool failed) {
  if (!inSharedSession_) return RecordSynchronizer::EndSession(failed);
  inSharedSession_ = false;
  Logger()->WriteConduitName(failed);
  return kOk;
}

long SettingsFileSynchronizer::ArchiveRecord(SyncRecord&) { return kOk; }

long SettingsFileSynchronizer::PurgeHandheldDeletions() {
  purgeLeftToSession_ = true;
  return kOk;
}

// A fast sync writes its one record and reads nothing of the handheld's, so its files share the
// session's handle (whose private records are shown, for the end pass). Every other run opens the
// database on its own, as a run that reads records or recreates the database must; a database is
// opened only once at a time, so the session's handle is closed first.
long SettingsFileSynchronizer::OpenHandheldStore() {
  const RemoteDatabaseDescriptor* descriptor = Descriptor();
  if (!descriptor) return store::kMissingArgument;
  const bool shares = SyncType() == kFastSync && !MakesUnusedCalls() && descriptor->card == 0 &&
                      std::strncmp(descriptor->name, kKorvetDatabase, sizeof descriptor->name) == 0;
  ReleaseHandheldStore();
  if (shares) return OpenSharedHandheldStore();
  session_->database.Close();
  if (!Recreates(SyncType())) return RecordSynchronizer::OpenHandheldStore();
  if (!session_->databaseRecreated) {
    bool databaseMissing = false;
    const long removed = RemoveSettingsRecords(descriptor->name, descriptor->card, databaseMissing);
    if (databaseMissing) {
      // Nothing to keep: the database is made afresh.
      const long status = RecordSynchronizer::OpenHandheldStore();
      if (status == kOk) session_->databaseRecreated = true;
      return status;
    }
    if (removed != kOk) return removed;
    session_->databaseRecreated = true;
  }
  std::unique_ptr<DatabaseManager> store = MakeHandheldStore();
  if (!store) return store::kOutOfMemory;
  DatabaseManager& opened = *store;
  SetHandheldStore(std::move(store));
  return opened.Open(kOpenReadWriteKind);
}

long SettingsFileSynchronizer::OpenSharedHandheldStore() {
  std::unique_ptr<DatabaseManager> store = MakeHandheldStore();
  if (!store) return store::kOutOfMemory;
  if (!session_->database.IsOpen()) {
    const long status = session_->database.Open(Descriptor()->name, static_cast<long>(Descriptor()->card));
    if (status == handheld::kSyncNotFound) return store::kHandheldDatabaseMissing;
    if (status != kOk) return status;
  }
  static_cast<handheld::HandheldDatabaseManager&>(*store).UseOpenHandle(session_->database.Handle());
  SetHandheldStore(std::move(store));
  return kOk;
}

template <typename Store>
long SettingsFileSynchronizer::OpenSettingsSide(
    void (SettingsFileSynchronizer::*keep)(std::unique_ptr<DatabaseManager>)) {
  auto store =
      base::MakeOrNull<Store>(Logger(), static_cast<std::uint32_t>(Options()), Descriptor() ? Descriptor()->name : "",
                              Properties().localName, Properties().localDirectory, SyncType());
  if (!store) return store::kOutOfMemory;
  DatabaseManager& opened = *store;
  (this->*keep)(std::move(store));
  return opened.OpenForSync();
}

long SettingsFileSynchronizer::OpenDesktopStore() {
  ReleaseDesktopStore();
  const long status = OpenSettingsSide<SettingsDesktopStore>(&SettingsFileSynchronizer::SetDesktopStore);
  // When HotSync Manager asked for the handheld to overwrite the desktop, or for a backup, the store
  // opens no file on purpose: there is nothing to send, which is no failure of the HotSync. A fast or
  // slow sync that fell back to a copy because the file could not be read did fail to send it.
  if (status == store::kDesktopFileNotFound && SendsNothing(requestedSyncType_)) return kOk;
  return status;
}

long SettingsFileSynchronizer::OpenBackupStore() {
  ReleaseBackupStore();
  return OpenSettingsSide<SettingsBackupStore>(&SettingsFileSynchronizer::SetBackupStore);
}

long SettingsFileSynchronizer::CopyAppInfoToDesktop() {
  if (long status = IgnoreMissingCategoryBlock(HandheldStore()->LoadCategories())) return status;
  CategoryList* handheld = HandheldStore()->GetCategoryList();
  CategoryList* desktop = DesktopStore()->GetCategoryList();
  if (handheld && desktop) {
    for (long number = 0; number < store::kCategoryCount; ++number) {
      if (CPCategory* category = handheld->GetAt(number)) {
        CPCategory copy(*category);
        desktop->AddAndMarkChanged(copy);
      }
    }
  }
  return DesktopStore()->SaveCategories();
}

long SettingsFileSynchronizer::CopyAppInfoToHandheld() {
  if (long status = IgnoreMissingCategoryBlock(DesktopStore()->LoadCategories())) return status;
  if (long status = IgnoreMissingCategoryBlock(HandheldStore()->LoadCategories())) return status;
  return HandheldStore()->SaveCategories();
}

}  // namespace korvet::sync
