#include "conduit/sync/settings_file_synchronizer.h"

#include <vector>

#include "conduit/base/allocation.h"
#include "conduit/platform/sync_manager.h"
#include "conduit/store/status_codes.h"
#include "conduit/sync/report_database.h"
#include "conduit/sync/settings_backup_store.h"
#include "conduit/sync/settings_desktop_store.h"

namespace korvet::sync {
namespace {

using store::kOk;

constexpr long kOpenReadWriteKind = 2;

long IgnoreMissingCategoryBlock(long status) { return status == store::kNoCategoryBlock ? kOk : status; }

bool g_makeUnusedCalls = false;

bool Recreates(long syncType) {
  return syncType == kDesktopOverwritesHandheld || syncType == kInstallSync || syncType == kProfileInstall;
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

void MakeUnusedCalls(bool make) { g_makeUnusedCalls = make; }

// Settings records carry no category, so a mirror sync leaves the handheld's categories alone and does
// not read its application information block (a round trip for every listed file).
long SettingsFileSynchronizer::SyncAppInfo() {
  if (g_makeUnusedCalls) {
    if (long status = IgnoreMissingCategoryBlock(HandheldStore()->LoadCategories())) return status;
  }
  return IgnoreMissingCategoryBlock(DesktopStore()->LoadCategories());
}

long SettingsFileSynchronizer::ReadSystemInfo() {
  if (session_->systemInfoRead && !g_makeUnusedCalls) return kOk;
  const long status = RecordSynchronizer::ReadSystemInfo();
  if (status == kOk) session_->systemInfoRead = true;
  return status;
}

long SettingsFileSynchronizer::ArchiveRecord(SyncRecord&) { return kOk; }

long SettingsFileSynchronizer::PurgeHandheldDeletions() {
  purgeLeftToSession_ = true;
  return kOk;
}

long SettingsFileSynchronizer::OpenHandheldStore() {
  if (!Recreates(SyncType())) return RecordSynchronizer::OpenHandheldStore();
  const RemoteDatabaseDescriptor* descriptor = Descriptor();
  if (!descriptor) return store::kMissingArgument;
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
  ReleaseHandheldStore();
  std::unique_ptr<DatabaseManager> store = MakeHandheldStore();
  if (!store) return store::kOutOfMemory;
  DatabaseManager& opened = *store;
  SetHandheldStore(std::move(store));
  return opened.Open(kOpenReadWriteKind);
}

long SettingsFileSynchronizer::OpenDesktopStore() {
  ReleaseDesktopStore();
  auto store = base::MakeOrNull<SettingsDesktopStore>(Logger(), static_cast<std::uint32_t>(Options()),
                                                      Descriptor() ? Descriptor()->name : "", Properties().localName,
                                                      Properties().localDirectory, SyncType());
  if (!store) return store::kOutOfMemory;
  DatabaseManager& opened = *store;
  SetDesktopStore(std::move(store));
  const long status = opened.OpenForSync();
  // When HotSync Manager asked for the handheld to overwrite the desktop, or for a backup, the store
  // opens no file on purpose: there is nothing to send, which is no failure of the HotSync. A fast or
  // slow sync that fell back to a copy because the file could not be read did fail to send it.
  if (status == store::kDesktopFileNotFound &&
      (requestedSyncType_ == kHandheldOverwritesDesktop || requestedSyncType_ == kBackupSync)) {
    return kOk;
  }
  return status;
}

long SettingsFileSynchronizer::OpenBackupStore() {
  ReleaseBackupStore();
  auto store = base::MakeOrNull<SettingsBackupStore>(Logger(), static_cast<std::uint32_t>(Options()),
                                                     Descriptor() ? Descriptor()->name : "", Properties().localName,
                                                     Properties().localDirectory, SyncType());
  if (!store) return store::kOutOfMemory;
  DatabaseManager& opened = *store;
  SetBackupStore(std::move(store));
  return opened.OpenForSync();
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
