// DatabaseManager: the database interface that the synchronizer drives on both sides. It keeps what
// the handheld and the desktop managers share: an in-memory table of owned records whose index is
// their slot, the record iteration, record sorting, category-wide record operations, the category
// list and the database option bits. Operations that need a real database (files, the Sync Manager)
// are the derived managers'; here they answer kNotSupported, operation not supported.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "conduit/platform/sync_manager.h"
#include "conduit/platform/sync_properties.h"
#include "conduit/store/category_list.h"
#include "conduit/store/sync_record.h"

namespace korvet::store {

using handheld::DatabaseInfoBlock;

// Database option bits.
inline constexpr std::uint32_t kOptionCategoryBlock = 0x1;  // the application block starts with categories
inline constexpr std::uint32_t kOptionAppInfo = 0x2;        // the database has an application-information block
inline constexpr std::uint32_t kOption4 = 0x4;              // kept and passed on; nothing here interprets it

// Iteration kinds; 4 to 9 other than 7 select the attribute-mask step.
inline constexpr long kIterateAll = 0;
inline constexpr long kIterateChanged = 1;
inline constexpr long kIterateInCategory = 2;
inline constexpr long kIterateChangedInCategory = 3;
inline constexpr long kIterateWithAttributes = 4;
inline constexpr long kIterateUnmatched = 7;
inline constexpr long kLastIterationKind = 9;

// Sort kinds of SortRecords.
inline constexpr long kSortById = 1;
inline constexpr long kSortChangedFirst = 2;
inline constexpr long kSortUnmatchedFirst = 3;
inline constexpr long kSortByCategory = 4;
inline constexpr long kSortChangedByCategory = 5;

// The record table grows by this many slots at a time.
inline constexpr long kTableGrowth = 2000;
inline constexpr long kReservedSettingDefault = 100;

class DatabaseManager {
 public:
  DatabaseManager(const DatabaseManager&) = delete;
  DatabaseManager& operator=(const DatabaseManager&) = delete;

  // Virtual operations in their slot order (slot 0 is the destructor).
  virtual ~DatabaseManager();
  virtual CategoryList* GetCategoryList() const;
  virtual long Open(long mode);
  virtual long OpenForSync();
  virtual long Close(long flag);
  virtual bool HasCategoryBlock() const;
  virtual void SetHasCategoryBlock(bool value);
  virtual long GetRecordCount(long* count);
  virtual long ReservedOperation(long argument);
  virtual long FindRecordPosition(std::uint32_t id) const;  // slot, or -1
  // Copies the stored record into the caller's and clears the stored record's unmatched mark.
  virtual long ReadRecordById(std::uint32_t id, SyncRecord& record, bool logFailure);
  virtual long ReadFirstRecord(SyncRecord& record);
  virtual long ReadNextRecord(SyncRecord& record);
  virtual long ReadFirstUnmatched(SyncRecord& record);
  virtual long ReadFirstChanged(SyncRecord& record);
  virtual long ReadFirstWithAttributes(std::uint32_t mask, SyncRecord& record);
  virtual long ReadFirstInCategory(long category, SyncRecord& record);
  virtual long ReadFirstChangedInCategory(long category, SyncRecord& record);
  virtual long PurgeCategory(long category, bool moveToUnfiled);
  virtual long ChangeCategory(long from, long to);
  // Clears the record's attributes and mark word, then AddRecordAsIs.
  virtual long AddRecord(SyncRecord& record);
  // Stores a copy in the lowest free slot; the stored record's and the caller's index become the slot.
  virtual long AddRecordAsIs(SyncRecord& record);
  virtual std::unique_ptr<SyncRecord> CloneRecord(const SyncRecord& record) const;  // null: out of memory
  virtual long ModifyRecordById(SyncRecord& record);
  // Finds the slot by the record's ID, or takes its index when the ID is 0.
  virtual long DeleteRecord(SyncRecord& record);
  virtual long ModifyRecordAt(long slot, SyncRecord& record);
  virtual long SetSyncType(long type);
  virtual long ReadFirstNewRecord(SyncRecord& record);
  virtual long PurgeDeletedRecords();
  virtual long SortRecords(long kind);
  virtual long LoadContents();
  virtual long FinishSync();
  virtual long LoadCategories();
  virtual long SaveCategories();
  // table: 16 entries, the new category for each category number, -1 to keep it.
  virtual long RemapCategories(const long* table);
  virtual long GetSortInfo(DatabaseInfoBlock* info);
  virtual long SetSortInfo(DatabaseInfoBlock* info);
  virtual long GetAppInfo(DatabaseInfoBlock* info);
  virtual long SetAppInfo(DatabaseInfoBlock* info);
  virtual bool HasAppSpecificInfo() const;
  virtual long SetAppSpecificInfo(std::uint32_t size, const void* data);
  virtual long GetAppSpecificInfo(void* buffer, std::uint32_t* size) const;
  virtual const std::uint8_t* AppSpecificInfoData() const;
  virtual std::uint32_t AppSpecificInfoSize() const;
  virtual long SetDatabaseInfo(const char* name, std::uint16_t flags, std::uint32_t type, std::uint32_t creator,
                               std::uint16_t version, std::uint32_t modificationNumber, std::uint32_t creationTime,
                               std::uint32_t modificationTime, std::uint32_t backupTime);
  virtual long ListRecordIds(std::uint32_t* ids, long* count);
  // ids: one record ID per slot of the new order, -1 for a slot left empty.
  virtual long ReorderByIds(const std::uint32_t* ids, long count);
  virtual bool HasAppInfo() const;
  virtual void SetHasAppInfo(bool value);
  virtual bool HasOption4() const;
  virtual void SetOption4(bool value);
  virtual long BuildCategoryList();
  virtual long StoreCategoryList();
  virtual long NextAny(SyncRecord& record);
  virtual long NextChanged(SyncRecord& record);
  virtual long NextWithAttributes(SyncRecord& record);
  virtual long NextUnmatched(SyncRecord& record);
  virtual long NextInCategory(SyncRecord& record);
  virtual long NextChangedInCategory(SyncRecord& record);
  virtual void DeleteAllRecords();
  virtual long GrowTable(long capacity);
  virtual long AllocateTable(long capacity);
  virtual long SortById();
  virtual long SortChangedFirst();
  virtual long SortUnmatchedFirst();
  virtual long SortByCategory();
  virtual long ReadRecordByOrdinal(long n, SyncRecord& record);
  virtual long ReadRecordByHandheldIndex(long handheldIndex, SyncRecord& record);
  virtual long ReadRecordByIdAndHandheldIndex(std::uint32_t id, long handheldIndex, SyncRecord& record);
  virtual void Reset();

  long GetSyncType() const { return syncType_; }
  std::uint32_t GetOptionBits() const { return options_; }
  long Capacity() const { return static_cast<long>(table_.size()); }
  long HighWaterMark() const { return highWater_; }
  // The stored record in a slot, or null for a free slot or one outside the table.
  const SyncRecord* RecordAt(long slot) const;

 protected:
  DatabaseManager(std::uint32_t options, long syncType);

  SyncRecord* StoredAt(long slot);
  // Puts a record into a slot (destroying one already there), keeping the count and the high-water
  // mark; false for a slot outside the table.
  bool PutAt(long slot, std::unique_ptr<SyncRecord> record);
  // Destroys the record in a slot; false when the slot is free or outside the table.
  bool DestroyAt(long slot);
  // Marks the store changed; the desktop manager reports it as its dirty flag.
  void MarkDirty() { dirty_ = true; }
  // Copies the first record from the iteration position up to the high-water mark that qualifies and
  // moves the position past it; kNoMoreRecords at the end.
  long StepWhere(SyncRecord& record, const std::function<bool(const SyncRecord&)>& qualifies);

  std::unique_ptr<CategoryList> categories_;
  long reservedSetting_ = kReservedSettingDefault;
  long recordCount_ = 0;
  long syncType_ = kDoNothing;  // HotSync Manager's number, which may name no sync type
  long iterationKind_ = kIterateAll;
  long iterationPosition_ = 0;
  long iterationCategory_ = 0;
  std::uint32_t iterationMask_ = 0;
  std::uint32_t options_ = 0;
  bool dirty_ = false;

 private:
  // Starts an iteration of the kind from the first slot and reads its first record.
  long StartIteration(long kind, SyncRecord& record);
  template <typename Key>
  void ExchangeSort(Key key);
  template <typename Wanted>
  void BringForward(Wanted wanted);
  void RenumberIndexes();
  // ModifyRecordById and ModifyRecordAt once the slot is known; kRecordNotFound for a free or missing slot.
  long Replace(long slot, const SyncRecord& record);
  static bool IsCategoryNumber(long category) { return category >= 0 && category < kCategoryCount; }

  std::vector<std::unique_ptr<SyncRecord>> table_;  // a null entry is a free slot
  long highWater_ = 0;                              // one more than the highest slot filled since the table was built
  // Every slot below this one is filled, so the search for the lowest free slot starts here rather
  // than at 0 (adding n records one by one would otherwise take n * n / 2 steps).
  long filledBelow_ = 0;
};

}  // namespace korvet::store
