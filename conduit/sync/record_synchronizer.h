// RecordSynchronizer: mirrors the records of one handheld database and one desktop store during a
// HotSync session. It knows records only through SyncRecord and the two sides only through the
// DatabaseManager interface; every decision comes from the decision tables, and everything the user
// should see goes to the HotSync log through its SyncLogger. Product classes replace single operations.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "conduit/platform/sync_handles.h"
#include "conduit/platform/sync_properties.h"
#include "conduit/store/category_list.h"
#include "conduit/store/database_manager.h"
#include "conduit/store/sync_logger.h"
#include "conduit/store/sync_record.h"
#include "conduit/sync/remote_database.h"
#include "conduit/sync/settings_synchronizer.h"

namespace korvet::sync {

using store::CategoryList;
using store::CPCategory;
using store::DatabaseManager;
using store::SyncRecord;

// Option bits of a synchronizer; all of them are passed on to the stores.
inline constexpr long kOptionKeepsCategories = 0x1;

// A failed handheld delete of a desktop record's counterpart counts only for a communications error.
constexpr bool IsCommsError(long code) { return code != -1 && (code & 0x2000) != 0; }

class RecordSynchronizer : public SettingsSynchronizer {
 public:
  RecordSynchronizer(const SyncProperties& properties, long options);
  ~RecordSynchronizer() override;
  RecordSynchronizer(const RecordSynchronizer&) = delete;
  RecordSynchronizer& operator=(const RecordSynchronizer&) = delete;

  // Virtual operations in their slot order.
  long Run() override;
  virtual long CopyHandheldToDesktop();
  virtual long CopyDesktopToHandheld();
  virtual long SlowSync();
  virtual long FastSync();
  virtual long ResolveBothArchived(SyncRecord& handheld, SyncRecord& desktop);
  virtual long ResolveArchivedAgainstModified(SyncRecord& handheld, SyncRecord& desktop);
  virtual long ResolveModifiedAgainstArchived(SyncRecord& handheld, SyncRecord& desktop);
  virtual long DuplicateConflict(SyncRecord& handheld, SyncRecord& desktop);
  virtual long ResolveBothModified(SyncRecord& handheld, SyncRecord& desktop);
  virtual long SyncCategories();
  virtual long SyncAppInfo();
  virtual long SpareStep();
  virtual long ProcessHandheldRecord(SyncRecord& handheld);
  virtual long ProcessDesktopRecord(SyncRecord& desktop);
  virtual long ArchiveRecord(SyncRecord& record);
  virtual long ReleaseDesktopStore();
  virtual long ReleaseHandheldStore();
  virtual long OpenHandheldStore();
  virtual long OpenDesktopStore();
  virtual long OpenStores();
  virtual long ReleaseBackupStore();
  virtual long OpenBackupStore();
  // Null when it cannot be made.
  virtual std::unique_ptr<DatabaseManager> CreateArchiveStore(const char* name);
  virtual long SelectRemoteDatabase(long index);
  virtual long BeginSession();
  virtual long EndSession(bool failed);
  virtual long PrepareCategories(CategoryList& handheld, CategoryList& desktop);
  // Drops from `list` the categories that `other` knows neither by name nor by ID, moving their records
  // on `owner` to category 0.
  virtual long DropUnmatchedCategories(CategoryList& list, const CategoryList& other, DatabaseManager& owner,
                                       bool handheldSide);
  virtual long AddNewCategories(CategoryList& handheld, CategoryList& working);
  virtual long MatchCategories(CategoryList& handheld, CategoryList& working);
  virtual void SetCategoryMapping(long desktopIndex, long handheldIndex);
  virtual void MapCategory(const CPCategory& desktop, const CPCategory& handheld);
  virtual long ApplyActions(std::uint32_t mask, SyncRecord& handheld, SyncRecord& desktop);
  virtual std::uint32_t LookupSlowHandheldAction(std::uint32_t key);
  virtual std::uint32_t LookupFastHandheldAction(std::uint32_t key);
  virtual std::uint32_t LookupFastDesktopAction(std::uint32_t key);
  virtual std::uint32_t LookupDesktopAction(std::uint32_t key);
  virtual std::uint32_t LookupDesktopCopyAction(std::uint32_t key);
  virtual std::uint32_t LookupHandheldCopyAction(std::uint32_t key);
  virtual bool RemoveIdFromList(std::uint32_t* ids, long count, std::uint32_t id);
  virtual long ReconcileRecordIds();
  // The first step of ReconcileRecordIds: the handheld's purge of the records marked deleted.
  virtual long PurgeHandheldDeletions();
  // The archive store of a handheld category index, made and opened on first use.
  virtual long GetArchiveStore(long category, DatabaseManager** archive);
  virtual void CloseArchiveStores();
  virtual long CopyAppInfoToDesktop();
  virtual long CopyAppInfoToHandheld();
  virtual long RecordsDiffer(const SyncRecord& first, const SyncRecord& second);
  virtual std::unique_ptr<store::SyncLogger> CreateLog();

  long SyncType() const { return properties_.syncType; }
  const RemoteDatabaseDescriptor* Descriptor() const { return descriptor_.get(); }
  std::uint32_t SessionHandle() const { return session_.Get(); }
  store::SyncLogger* Logger() const { return logger_.get(); }
  DatabaseManager* HandheldStore() const { return handheld_.get(); }
  DatabaseManager* DesktopStore() const { return desktop_.get(); }
  DatabaseManager* BackupStore() const { return backup_.get(); }

 protected:
  const SyncProperties& Properties() const { return properties_; }
  // Whether ID reconciliation brings the handheld records the desktop store does not know to it. A
  // desktop store that is never written gains nothing from them.
  virtual bool TakesUnknownHandheldRecords() const { return true; }
  // Whether a fast sync loads and visits the handheld's changed records. A desktop store that is never
  // written and holds no record the handheld knows gains nothing from them.
  virtual bool VisitsHandheldChanges() const { return true; }
  // Reads the handheld's system information into the synchronizer's buffer, as every run starts.
  virtual long ReadSystemInfo();
  // A handheld database manager for the selected remote database, not opened; null without memory.
  std::unique_ptr<DatabaseManager> MakeHandheldStore();
  long Options() const { return options_; }
  void SetSyncType(long type) { properties_.syncType = static_cast<std::int32_t>(type); }
  void SetHandheldStore(std::unique_ptr<DatabaseManager> store) { handheld_ = std::move(store); }
  void SetDesktopStore(std::unique_ptr<DatabaseManager> store) { desktop_ = std::move(store); }
  void SetBackupStore(std::unique_ptr<DatabaseManager> store) { backup_ = std::move(store); }
  const std::array<long, 32>& CategoryMap() const { return categoryMap_; }
  bool CategoryMapInUse() const { return categoryMapInUse_; }

 private:
  // Run without its answer to running out of memory: an allocation that fails anywhere in the passes
  // ends the run with kOutOfMemory.
  long RunPasses();
  void ReleaseStores();
  // The fast and the slow sync differ only in the records they visit.
  long MirrorRecords(bool slow);
  // Makes a store of the desktop side (the desktop file or its backup) over the desktop file, keeps it
  // in `slot` and opens it for the sync.
  template <typename Store>
  long OpenDesktopSide(std::unique_ptr<DatabaseManager>& slot);
  // FinishSync on the handheld, the desktop and the backup store; the first error.
  long FinishStores();
  // Writes a record to the handheld as a new one; the desktop copy follows a changed record ID.
  long WriteToHandheld(SyncRecord& desktop);
  long AddToDesktop(SyncRecord& handheld);
  long DeleteFromHandheld(SyncRecord& handheld);
  long ArchiveAndDeleteDesktop(SyncRecord& desktop);
  long SendRecordsTheHandheldLacks();

  std::unique_ptr<DatabaseManager> handheld_;
  std::unique_ptr<DatabaseManager> desktop_;
  std::unique_ptr<DatabaseManager> backup_;
  std::array<std::unique_ptr<DatabaseManager>, store::kCategoryCount> archives_;
  SyncProperties properties_;
  std::unique_ptr<RemoteDatabaseDescriptor> descriptor_;
  long remoteCount_ = 0;
  std::vector<char> systemInfoBuffer_;
  UniqueSyncSession session_;
  long options_ = 0;
  std::unique_ptr<store::SyncLogger> logger_;
  std::array<long, 32> categoryMap_{};
  std::vector<std::uint32_t> writtenIds_;  // the handheld IDs of the records written to it since the stores opened
  bool categoryMapInUse_ = false;
};

}  // namespace korvet::sync
