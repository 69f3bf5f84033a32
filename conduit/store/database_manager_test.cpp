#include "conduit/store/database_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conduit/store/status_codes.h"

namespace korvet::store {
namespace {

using Ids = std::vector<std::uint32_t>;

// The interface alone, as a handheld-like manager sees it.
class TableManager : public DatabaseManager {
 public:
  TableManager() : DatabaseManager(0, kFastSync) {}
  bool Dirty() const { return dirty_; }
  void ClearDirty() { dirty_ = false; }
};

SyncRecord Record(std::uint32_t id, long category = 0, std::uint32_t attributes = 0) {
  SyncRecord record;
  record.SetId(id);
  record.SetCategory(category);
  record.SetAttributes(attributes);
  record.SetData(1, "x");
  return record;
}

void AddAll(DatabaseManager& manager, std::vector<SyncRecord> records) {
  for (SyncRecord& record : records) ASSERT_EQ(manager.AddRecordAsIs(record), kOk);
}

void Delete(DatabaseManager& manager, std::uint32_t id) {
  SyncRecord record = Record(id);
  ASSERT_EQ(manager.DeleteRecord(record), kOk);
}

// IDs of the slots below the high-water mark, 0 for a free slot; every record's index is its slot.
Ids Slots(const DatabaseManager& manager) {
  Ids ids;
  for (long slot = 0; slot < manager.HighWaterMark(); ++slot) {
    const SyncRecord* record = manager.RecordAt(slot);
    ids.push_back(record ? record->GetId() : 0);
    if (record) {
      EXPECT_EQ(record->GetIndex(), slot);
    }
  }
  return ids;
}

// The IDs an iteration visits, from its first read.
template <typename First>
Ids Visit(DatabaseManager& manager, First first) {
  Ids ids;
  SyncRecord record;
  for (long status = first(record); status == kOk; status = manager.ReadNextRecord(record))
    ids.push_back(record.GetId());
  return ids;
}

TEST(RecordTable, AddingFillsTheLowestHoleAndNumbersBothRecordsWithTheSlot) {
  TableManager manager;
  AddAll(manager, {Record(1), Record(2), Record(3)});
  Delete(manager, 2);
  SyncRecord added = Record(7);
  added.SetIndex(40);
  ASSERT_EQ(manager.AddRecordAsIs(added), kOk);
  EXPECT_EQ(added.GetIndex(), 1);
  EXPECT_EQ(Slots(manager), (Ids{1, 7, 3}));

  TableManager large;
  for (std::uint32_t id = 1; id <= 2001; ++id) AddAll(large, {Record(id)});
  EXPECT_EQ(large.Capacity(), 4000);
  EXPECT_EQ(large.RecordAt(2000)->GetId(), 2001u);
  EXPECT_EQ(large.GrowTable(10), kMissingArgument);  // would drop slots in use
}

// Adding remembers which slots are filled; every way a slot comes free must still offer it first.
TEST(RecordTable, EveryWayASlotComesFreeLetsTheNextAddFillIt) {
  TableManager manager;
  AddAll(manager, {Record(1), Record(2, 0, kRecordDeleted), Record(3), Record(4, 6), Record(5)});
  ASSERT_EQ(manager.PurgeDeletedRecords(), kOk);
  AddAll(manager, {Record(20), Record(21)});
  EXPECT_EQ(Slots(manager), (Ids{1, 20, 3, 4, 5, 21}));

  ASSERT_EQ(manager.PurgeCategory(6, false), kOk);
  AddAll(manager, {Record(30)});
  EXPECT_EQ(Slots(manager), (Ids{1, 20, 3, 30, 5, 21}));

  const std::uint32_t order[] = {21, 5, 30, 3, 20, 1};
  ASSERT_EQ(manager.ReorderByIds(order, 6), kOk);
  Delete(manager, 30);
  AddAll(manager, {Record(40)});
  EXPECT_EQ(Slots(manager), (Ids{21, 5, 40, 3, 20, 1}));

  ASSERT_EQ(manager.AllocateTable(4), kOk);
  AddAll(manager, {Record(50)});
  EXPECT_EQ(Slots(manager), (Ids{50}));
}

TEST(RecordTable, DeleteFindsByIdOrByTheIndexOfARecordWithoutId) {
  TableManager manager;
  AddAll(manager, {Record(0), Record(0), Record(4)});
  SyncRecord byIndex = Record(0);
  byIndex.SetIndex(1);
  EXPECT_EQ(manager.DeleteRecord(byIndex), kOk);
  EXPECT_EQ(manager.DeleteRecord(byIndex), kRecordNotFound);
  byIndex.SetIndex(99);
  EXPECT_EQ(manager.DeleteRecord(byIndex), kRecordNotFound);
  SyncRecord missing = Record(8);
  EXPECT_EQ(manager.DeleteRecord(missing), kRecordNotFound);
  EXPECT_EQ(Slots(manager), (Ids{0, 0, 4}));
}

TEST(RecordTable, ReadByIdClearsTheStoredUnmatchedMark) {
  TableManager manager;
  SyncRecord stored = Record(6);
  stored.SetUnmatched(true);
  AddAll(manager, {stored});
  SyncRecord out;
  EXPECT_EQ(manager.ReadRecordById(6, out, false), kOk);
  EXPECT_TRUE(out.IsUnmatched());
  EXPECT_FALSE(manager.RecordAt(0)->IsUnmatched());
  EXPECT_EQ(manager.ReadRecordById(7, out, false), kNoMoreRecords);
}

// A replaced record keeps its slot as its index whatever index the new values carry.
TEST(RecordTable, ModifyTakesTheValuesKeepsTheSlotAndClearsTheState) {
  TableManager manager;
  AddAll(manager, {Record(1), Record(2)});
  SyncRecord changed = Record(2, 5, kRecordModified);
  changed.SetIndex(17);
  changed.SetUnmatched(true);
  ASSERT_EQ(manager.ModifyRecordById(changed), kOk);
  const SyncRecord* stored = manager.RecordAt(1);
  EXPECT_EQ(stored->GetIndex(), 1);
  EXPECT_EQ(stored->GetCategory(), 5);
  EXPECT_TRUE(stored->IsClean());
  EXPECT_FALSE(stored->IsUnmatched());
  SyncRecord other = Record(9);
  EXPECT_EQ(manager.ModifyRecordById(other), kRecordNotFound);
  EXPECT_EQ(manager.ModifyRecordAt(-1, other), kRecordNotFound);
  EXPECT_EQ(manager.ModifyRecordAt(2, other), kRecordNotFound);
}

TEST(Iteration, EachKindVisitsItsRecordsAcrossHoles) {
  TableManager manager;
  AddAll(manager, {Record(1, 2), Record(2, 1, kRecordModified), Record(3, 2, kRecordDeleted), Record(4, 2),
                   Record(5, 1, kRecordArchived)});
  Delete(manager, 4);
  EXPECT_EQ(Visit(manager, [&](SyncRecord& r) { return manager.ReadFirstRecord(r); }), (Ids{1, 2, 3, 5}));
  EXPECT_EQ(Visit(manager, [&](SyncRecord& r) { return manager.ReadFirstChanged(r); }), (Ids{2, 3, 5}));
  // The category sort before it moved 3 ahead of 1.
  EXPECT_EQ(Visit(manager, [&](SyncRecord& r) { return manager.ReadFirstInCategory(2, r); }), (Ids{3, 1}));
  EXPECT_EQ(Visit(manager, [&](SyncRecord& r) { return manager.ReadFirstChangedInCategory(1, r); }), (Ids{2, 5}));
  EXPECT_EQ(Visit(manager, [&](SyncRecord& r) { return manager.ReadFirstWithAttributes(kRecordArchived, r); }),
            (Ids{5}));
  EXPECT_EQ(Visit(manager, [&](SyncRecord& r) { return manager.ReadFirstUnmatched(r); }), Ids{});  // desktop only
}

TEST(Sorting, ExchangeSortsAscendingAsUnsignedLeavingHolesInPlace) {
  TableManager manager;
  AddAll(manager, {Record(0xFFFFFFFE), Record(5), Record(9), Record(5), Record(1)});
  Delete(manager, 9);
  ASSERT_EQ(manager.SortRecords(kSortById), kOk);
  EXPECT_EQ(Slots(manager), (Ids{1, 5, 0, 5, 0xFFFFFFFE}));
  EXPECT_EQ(manager.SortRecords(6), kNotSupported);

  TableManager changed;
  AddAll(changed, {Record(1), Record(2), Record(3, 0, kRecordModified), Record(4, 0, kRecordNew)});
  ASSERT_EQ(changed.SortRecords(kSortChangedFirst), kOk);
  EXPECT_EQ(Slots(changed), (Ids{3, 4, 1, 2}));
}

TEST(Reorder, FailuresKeepTheOldTableAndEachIdPlacesOneRecord) {
  TableManager manager;
  AddAll(manager, {Record(1), Record(0, 1), Record(3), Record(0, 2)});
  const std::uint32_t unknown[] = {3, 8, 1, 0};
  const std::uint32_t twice[] = {3, 3, 1, 0};
  const std::uint32_t skipped[] = {3, kNoRecordId, 1, 0};
  EXPECT_EQ(manager.ReorderByIds(unknown, 3), kReorderCountMismatch);
  EXPECT_EQ(manager.ReorderByIds(unknown, 4), kReorderUnknownId);
  EXPECT_EQ(manager.ReorderByIds(twice, 4), kReorderUnknownId);
  EXPECT_EQ(manager.ReorderByIds(skipped, 4), kReorderCountMismatch);
  EXPECT_EQ(Slots(manager), (Ids{1, 0, 3, 0}));
  EXPECT_EQ(manager.RecordAt(1)->GetCategory(), 1);

  const std::uint32_t order[] = {0, 3, 0, 1};
  ASSERT_EQ(manager.ReorderByIds(order, 4), kOk);
  EXPECT_EQ(Slots(manager), (Ids{0, 3, 0, 1}));
  EXPECT_EQ(manager.RecordAt(0)->GetCategory(), 1);
  EXPECT_EQ(manager.RecordAt(2)->GetCategory(), 2);
}

TEST(CategoryOperations, OutOfRangeChangesNothingAndInRangeMovesOrPurges) {
  TableManager manager;
  AddAll(manager, {Record(1, 3), Record(2, 4), Record(3, 3)});
  manager.ClearDirty();
  EXPECT_EQ(manager.PurgeCategory(16, false), kCategoryOutOfRange);
  EXPECT_EQ(manager.ChangeCategory(3, 16), kCategoryOutOfRange);
  EXPECT_FALSE(manager.Dirty());
  EXPECT_EQ(manager.RecordAt(0)->GetCategory(), 3);

  ASSERT_EQ(manager.PurgeCategory(3, true), kOk);
  EXPECT_EQ(manager.RecordAt(2)->GetCategory(), 0);
  EXPECT_TRUE(manager.RecordAt(2)->IsModified());
  EXPECT_TRUE(manager.RecordAt(1)->IsClean());
  ASSERT_EQ(manager.PurgeCategory(4, false), kOk);
  EXPECT_EQ(Slots(manager), (Ids{1, 0, 3}));
}

}  // namespace
}  // namespace korvet::store
