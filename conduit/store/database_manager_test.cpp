#include "conduit/store/database_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conduit/store/status_codes.h"

namespace korvet::store {
namespace {

// The interface alone, as a handheld-like manager sees it.
class TableManager : public DatabaseManager {
 public:
  explicit TableManager(std::uint32_t options = 0, long syncType = kSyncFast) : DatabaseManager(options, syncType) {}
  void SetIterationKind(long kind) { iterationKind_ = kind; }
  bool Dirty() const { return dirty_; }
  void ClearDirty() { dirty_ = false; }
};

SyncRecord Record(std::uint32_t id, long category = 0, std::uint32_t attributes = 0, const std::string& data = "x") {
  SyncRecord record;
  record.SetId(id);
  record.SetCategory(category);
  record.SetAttributes(attributes);
  record.SetData(static_cast<std::uint32_t>(data.size()), data.data());
  return record;
}

void AddAll(DatabaseManager& manager, const std::vector<SyncRecord>& records) {
  for (SyncRecord record : records) ASSERT_EQ(manager.AddRecordAsIs(record), kOk);
}

// IDs of the slots below the high-water mark; 0 stands for a free slot in these tests' data.
std::vector<std::uint32_t> Slots(const DatabaseManager& manager) {
  std::vector<std::uint32_t> ids;
  for (long slot = 0; slot < manager.HighWaterMark(); ++slot) {
    const SyncRecord* record = manager.RecordAt(slot);
    ids.push_back(record ? record->GetId() : 0);
    if (record) {
      EXPECT_EQ(record->GetIndex(), slot);
    }
  }
  return ids;
}

std::vector<std::uint32_t> Iterate(DatabaseManager& manager, long (DatabaseManager::*first)(SyncRecord&)) {
  std::vector<std::uint32_t> ids;
  SyncRecord record;
  for (long status = (manager.*first)(record); status == kOk; status = manager.ReadNextRecord(record)) {
    ids.push_back(record.GetId());
  }
  return ids;
}

using Ids = std::vector<std::uint32_t>;

TEST(RecordTable, AddingFillsTheLowestHoleAndNumbersBothRecordsWithTheSlot) {
  TableManager manager;
  AddAll(manager, {Record(1), Record(2), Record(3)});
  SyncRecord second = Record(2);
  ASSERT_EQ(manager.DeleteRecord(second), kOk);
  EXPECT_EQ(Slots(manager), (Ids{1, 0, 3}));
  SyncRecord added = Record(7);
  added.SetIndex(40);
  ASSERT_EQ(manager.AddRecordAsIs(added), kOk);
  EXPECT_EQ(added.GetIndex(), 1);
  EXPECT_EQ(Slots(manager), (Ids{1, 7, 3}));
  long count = 0;
  EXPECT_EQ(manager.GetRecordCount(&count), kOk);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(manager.GetRecordCount(nullptr), kMissingOutput);
}

TEST(RecordTable, GrowsByTwoThousandSlotsKeepingTheRecords) {
  TableManager manager;
  for (std::uint32_t id = 1; id <= 2001; ++id) {
    SyncRecord record = Record(id);
    ASSERT_EQ(manager.AddRecordAsIs(record), kOk);
  }
  EXPECT_EQ(manager.Capacity(), 4000);
  EXPECT_EQ(manager.RecordAt(1999)->GetId(), 2000u);
  EXPECT_EQ(manager.RecordAt(2000)->GetId(), 2001u);
  EXPECT_EQ(manager.GrowTable(10), kMissingArgument);  // would drop slots in use
  EXPECT_EQ(manager.Capacity(), 4000);
}

TEST(RecordTable, AddRecordResetsTheCallersStateAndStoresACopy) {
  TableManager manager;
  SyncRecord record = Record(5, 2, kRecordModified | kRecordNew);
  record.SetUnmatched(true);
  ASSERT_EQ(manager.AddRecord(record), kOk);
  EXPECT_TRUE(record.IsClean());
  EXPECT_FALSE(record.IsUnmatched());
  record.SetCategory(9);
  EXPECT_EQ(manager.RecordAt(0)->GetCategory(), 2);
  EXPECT_TRUE(manager.Dirty());
}

TEST(RecordTable, DeleteFindsByIdOrByIndexForRecordsWithoutId) {
  TableManager manager;
  AddAll(manager, {Record(0), Record(0), Record(4)});
  SyncRecord byIndex = Record(0);
  byIndex.SetIndex(1);
  EXPECT_EQ(manager.DeleteRecord(byIndex), kOk);
  EXPECT_EQ(manager.DeleteRecord(byIndex), kRecordNotFound);  // the slot is free now
  byIndex.SetIndex(99);
  EXPECT_EQ(manager.DeleteRecord(byIndex), kRecordNotFound);
  SyncRecord missing = Record(8);
  EXPECT_EQ(manager.DeleteRecord(missing), kRecordNotFound);
  SyncRecord four = Record(4);
  EXPECT_EQ(manager.DeleteRecord(four), kOk);
  EXPECT_EQ(manager.RecordAt(0)->GetId(), 0u);
  EXPECT_EQ(manager.HighWaterMark(), 3);
}

TEST(RecordTable, ReadByIdCopiesAndClearsTheUnmatchedMark) {
  TableManager manager;
  SyncRecord stored = Record(6, 1, kRecordModified, "data");
  stored.SetUnmatched(true);
  AddAll(manager, {stored});
  SyncRecord out;
  EXPECT_EQ(manager.ReadRecordById(6, out, false), kOk);
  EXPECT_TRUE(out.IsUnmatched());
  EXPECT_FALSE(manager.RecordAt(0)->IsUnmatched());
  EXPECT_EQ(out.Compare(stored), 0);
  EXPECT_EQ(manager.ReadRecordById(7, out, false), kNoMoreRecords);
  EXPECT_EQ(manager.FindRecordPosition(6), 0);
  EXPECT_EQ(manager.FindRecordPosition(7), -1);
}

TEST(RecordTable, ModifyTakesTheValuesButKeepsTheSlotAndClearsTheState) {
  TableManager manager;
  AddAll(manager, {Record(1), Record(2)});
  SyncRecord changed = Record(2, 5, kRecordModified, "new");
  changed.SetIndex(17);
  changed.SetUnmatched(true);
  ASSERT_EQ(manager.ModifyRecordById(changed), kOk);
  const SyncRecord* stored = manager.RecordAt(1);
  EXPECT_EQ(stored->GetIndex(), 1);
  EXPECT_EQ(stored->GetCategory(), 5);
  EXPECT_TRUE(stored->IsClean());
  EXPECT_FALSE(stored->IsUnmatched());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(stored->GetData())), "new");

  SyncRecord other = Record(9, 3);
  EXPECT_EQ(manager.ModifyRecordById(other), kRecordNotFound);
  EXPECT_EQ(manager.ModifyRecordAt(-1, other), kRecordNotFound);
  EXPECT_EQ(manager.ModifyRecordAt(2, other), kRecordNotFound);
  EXPECT_EQ(manager.ModifyRecordAt(0, other), kOk);
  EXPECT_EQ(manager.RecordAt(0)->GetId(), 9u);
}

TEST(RecordTable, ListAndReadByPosition) {
  TableManager manager;
  AddAll(manager, {Record(10), Record(20), Record(30)});
  SyncRecord twenty = Record(20);
  manager.DeleteRecord(twenty);
  long count = 1;
  std::uint32_t ids[4] = {};
  EXPECT_EQ(manager.ListRecordIds(ids, &count), kBufferTooSmall);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(manager.ListRecordIds(nullptr, &count), kMissingArgument);
  count = 4;
  EXPECT_EQ(manager.ListRecordIds(ids, &count), kOk);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(ids[0], 10u);
  EXPECT_EQ(ids[1], 30u);

  SyncRecord out;
  EXPECT_EQ(manager.ReadRecordByOrdinal(1, out), kOk);
  EXPECT_EQ(out.GetId(), 30u);
  EXPECT_EQ(manager.ReadRecordByOrdinal(2, out), kNoMoreRecords);
  SyncRecord positioned = Record(40);
  positioned.SetHandheldIndex(7);
  AddAll(manager, {positioned});
  EXPECT_EQ(manager.ReadRecordByHandheldIndex(7, out), kOk);
  EXPECT_EQ(out.GetId(), 40u);
  EXPECT_EQ(manager.ReadRecordByIdAndHandheldIndex(40, 6, out), kNoMoreRecords);
  EXPECT_EQ(manager.ReadRecordByIdAndHandheldIndex(40, 7, out), kOk);
}

TEST(Iteration, EachKindVisitsItsRecordsAcrossHoles) {
  TableManager manager;
  AddAll(manager, {Record(1, 2), Record(2, 1, kRecordModified), Record(3, 2, kRecordDeleted), Record(4, 2),
                   Record(5, 1, kRecordArchived)});
  SyncRecord four = Record(4);
  manager.DeleteRecord(four);
  EXPECT_EQ(Iterate(manager, &DatabaseManager::ReadFirstRecord), (Ids{1, 2, 3, 5}));
  EXPECT_EQ(Iterate(manager, &DatabaseManager::ReadFirstChanged), (Ids{2, 3, 5}));

  SyncRecord record;
  Ids inCategory;
  for (long s = manager.ReadFirstInCategory(2, record); s == kOk; s = manager.ReadNextRecord(record)) {
    inCategory.push_back(record.GetId());
  }
  EXPECT_EQ(inCategory, (Ids{3, 1}));  // the category sort moved 3 ahead of 1
  Ids changedInCategory;
  for (long s = manager.ReadFirstChangedInCategory(1, record); s == kOk; s = manager.ReadNextRecord(record)) {
    changedInCategory.push_back(record.GetId());
  }
  EXPECT_EQ(changedInCategory, (Ids{2, 5}));
  EXPECT_EQ(manager.ReadNextRecord(record), kNoMoreRecords);
}

TEST(Iteration, AttributeMaskSelectsTheRecordsSharingABit) {
  TableManager manager;
  AddAll(manager, {Record(1), Record(2, 0, kRecordModified), Record(3, 0, kRecordArchived),
                   Record(4, 0, kRecordArchived | kRecordDeleted)});
  SyncRecord record;
  Ids archived;
  for (long s = manager.ReadFirstWithAttributes(kRecordArchived, record); s == kOk; s = manager.ReadNextRecord(record)) {
    archived.push_back(record.GetId());
  }
  EXPECT_EQ(archived, (Ids{3, 4}));
}

TEST(Iteration, KindsAboveNineAreInvalidAndUnmatchedIsTheDesktopsOwn) {
  TableManager manager;
  AddAll(manager, {Record(1)});
  SyncRecord record;
  manager.SetIterationKind(10);
  EXPECT_EQ(manager.ReadNextRecord(record), kInvalidIteration);
  manager.SetIterationKind(9);
  EXPECT_EQ(manager.ReadNextRecord(record), kNoMoreRecords);
  EXPECT_EQ(manager.ReadFirstUnmatched(record), kNotSupported);
}

TEST(Sorting, ExchangeSortsAscendingAsUnsignedAndRenumbers) {
  TableManager manager;
  AddAll(manager, {Record(0xFFFFFFFE), Record(5), Record(9), Record(5), Record(1)});
  SyncRecord nine = Record(9);
  manager.DeleteRecord(nine);
  ASSERT_EQ(manager.SortRecords(kSortById), kOk);
  EXPECT_EQ(Slots(manager), (Ids{1, 5, 0, 5, 0xFFFFFFFE}));  // the hole stays where it was

  TableManager categories;
  AddAll(categories, {Record(1, 3), Record(2, 0), Record(3, 3), Record(4, 1)});
  ASSERT_EQ(categories.SortRecords(kSortByCategory), kOk);
  std::vector<long> order;
  for (long slot = 0; slot < categories.HighWaterMark(); ++slot) order.push_back(categories.RecordAt(slot)->GetCategory());
  EXPECT_EQ(order, (std::vector<long>{0, 1, 3, 3}));
  EXPECT_EQ(categories.SortRecords(6), kNotSupported);
  TableManager empty;
  EXPECT_EQ(empty.SortRecords(kSortById), kOk);
}

TEST(Sorting, ChangedAndUnmatchedFirstAreSinglePasses) {
  TableManager manager;
  AddAll(manager, {Record(1), Record(2), Record(3, 0, kRecordModified), Record(4, 0, kRecordNew)});
  ASSERT_EQ(manager.SortRecords(kSortChangedFirst), kOk);
  EXPECT_EQ(Slots(manager), (Ids{3, 4, 1, 2}));

  TableManager marks;
  SyncRecord marked = Record(3);
  marked.SetUnmatched(true);
  AddAll(marks, {Record(1), Record(2), marked});
  ASSERT_EQ(marks.SortRecords(kSortUnmatchedFirst), kOk);
  EXPECT_EQ(Slots(marks), (Ids{3, 2, 1}));
}

TEST(Reorder, PlacesEachIdOnceOrKeepsTheOldTable) {
  TableManager manager;
  AddAll(manager, {Record(1), Record(2), Record(3)});
  const std::uint32_t wrongCount[] = {3, 2};
  EXPECT_EQ(manager.ReorderByIds(wrongCount, 2), kReorderCountMismatch);
  const std::uint32_t unknown[] = {3, 8, 1};
  EXPECT_EQ(manager.ReorderByIds(unknown, 3), kReorderUnknownId);
  const std::uint32_t twice[] = {3, 3, 1};
  EXPECT_EQ(manager.ReorderByIds(twice, 3), kReorderUnknownId);
  const std::uint32_t skipped[] = {3, kNoRecordId, 1};
  EXPECT_EQ(manager.ReorderByIds(skipped, 3), kReorderCountMismatch);
  EXPECT_EQ(Slots(manager), (Ids{1, 2, 3}));
  EXPECT_EQ(manager.ReorderByIds(nullptr, 3), kMissingArgument);

  const std::uint32_t order[] = {3, 1, 2};
  ASSERT_EQ(manager.ReorderByIds(order, 3), kOk);
  EXPECT_EQ(Slots(manager), (Ids{3, 1, 2}));
  TableManager empty;
  EXPECT_EQ(empty.ReorderByIds(nullptr, 5), kOk);
}

TEST(Reorder, RecordsSharingAnIdAreEachPlacedOnce) {
  TableManager manager;
  AddAll(manager, {Record(0, 1), Record(7), Record(0, 2)});
  const std::uint32_t order[] = {7, 0, 0};
  ASSERT_EQ(manager.ReorderByIds(order, 3), kOk);
  EXPECT_EQ(manager.RecordAt(0)->GetId(), 7u);
  EXPECT_EQ(manager.RecordAt(1)->GetCategory(), 1);
  EXPECT_EQ(manager.RecordAt(2)->GetCategory(), 2);
}

TEST(CategoryOperations, NumbersOutsideTheRangeChangeNothing) {
  TableManager manager;
  AddAll(manager, {Record(1, 3), Record(2, 3), Record(3, 4)});
  manager.ClearDirty();
  EXPECT_EQ(manager.PurgeCategory(16, false), kCategoryOutOfRange);
  EXPECT_EQ(manager.PurgeCategory(-1, true), kCategoryOutOfRange);
  EXPECT_EQ(manager.ChangeCategory(3, 16), kCategoryOutOfRange);
  EXPECT_FALSE(manager.Dirty());
  EXPECT_EQ(Slots(manager), (Ids{1, 2, 3}));
  EXPECT_EQ(manager.RecordAt(0)->GetCategory(), 3);
}

TEST(CategoryOperations, MoveToUnfiledMarksModifiedAndPurgeDestroys) {
  TableManager manager;
  AddAll(manager, {Record(1, 3), Record(2, 4), Record(3, 3)});
  ASSERT_EQ(manager.PurgeCategory(3, true), kOk);
  EXPECT_EQ(manager.RecordAt(0)->GetCategory(), 0);
  EXPECT_TRUE(manager.RecordAt(2)->IsModified());
  EXPECT_TRUE(manager.RecordAt(1)->IsClean());
  ASSERT_EQ(manager.PurgeCategory(4, false), kOk);
  EXPECT_EQ(Slots(manager), (Ids{1, 0, 3}));
}

TEST(RecordTable, PurgeDeletedAndReset) {
  TableManager manager;
  AddAll(manager, {Record(1, 0, kRecordDeleted), Record(2), Record(3, 0, kRecordDeleted | kRecordModified)});
  manager.ClearDirty();
  ASSERT_EQ(manager.PurgeDeletedRecords(), kOk);
  EXPECT_EQ(Slots(manager), (Ids{0, 2, 0}));
  EXPECT_TRUE(manager.Dirty());
  manager.ClearDirty();
  ASSERT_EQ(manager.PurgeDeletedRecords(), kOk);
  EXPECT_FALSE(manager.Dirty());

  manager.Reset();
  long count = -1;
  manager.GetRecordCount(&count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(manager.Capacity(), 0);
  EXPECT_EQ(manager.HighWaterMark(), 0);
  EXPECT_EQ(manager.GetCategoryList(), nullptr);
}

TEST(Options, CategoryBlockNeedsTheApplicationBlock) {
  TableManager manager(kOption4);
  EXPECT_FALSE(manager.HasCategoryBlock());
  manager.SetHasCategoryBlock(true);
  EXPECT_EQ(manager.GetOptionBits(), kOption4 | kOptionAppInfo | kOptionCategoryBlock);
  manager.SetHasCategoryBlock(false);
  EXPECT_TRUE(manager.HasAppInfo());
  EXPECT_FALSE(manager.HasCategoryBlock());
  manager.SetHasCategoryBlock(true);
  manager.SetHasAppInfo(false);
  EXPECT_EQ(manager.GetOptionBits(), kOption4);
  manager.SetOption4(false);
  EXPECT_FALSE(manager.HasOption4());
}

TEST(Interface, OperationsThatNeedADatabaseAreNotSupported) {
  TableManager manager;
  SyncRecord record;
  DatabaseInfoBlock info{};
  EXPECT_EQ(manager.Open(0), kNotSupported);
  EXPECT_EQ(manager.OpenForSync(), kNotSupported);
  EXPECT_EQ(manager.ReservedOperation(0), kNotSupported);
  EXPECT_EQ(manager.LoadContents(), kNotSupported);
  EXPECT_EQ(manager.ReadFirstNewRecord(record), kNotSupported);
  EXPECT_EQ(manager.GetAppInfo(&info), kNotSupported);
  EXPECT_EQ(manager.SetDatabaseInfo("x", 0, 0, 0, 0, 0, 0, 0, 0), kNotSupported);
  EXPECT_FALSE(manager.HasAppSpecificInfo());
}

}  // namespace
}  // namespace korvet::store
