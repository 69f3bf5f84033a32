#include "conduit/sync/record_synchronizer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "conduit/platform/sync_manager.h"
#include "conduit/store/status_codes.h"
#include "conduit/test_support/hotsync_bench.h"
#include "conduit/test_support/korvet_properties.h"
#include "conduit/test_support/memory_desktop.h"
#include "sim/sync20/operation_names.h"
#include "sim/sync20/sync20_control.h"

namespace korvet::sync {
namespace {

using store::SyncRecord;
using ::testing::ElementsAre;
using testing::MemoryDesktop;
using testing::MemoryDesktopStore;
using ::testing::UnorderedElementsAre;

constexpr std::uint8_t kModified = handheld::kHandheldModified;
constexpr std::uint8_t kDeleted = handheld::kHandheldDeleted;
constexpr long kWithCategories = store::kOptionCategoryBlock | store::kOptionAppInfo;

// The generic synchronizer over the stand-in handheld and a desktop side in memory, without backup;
// given `archives`, its archives are kept in memory too, by name, so that a test sees what reached them.
class TestSynchronizer : public RecordSynchronizer {
 public:
  TestSynchronizer(const SyncProperties& properties, long options, MemoryDesktop& desktop,
                   MemoryDesktop* backup = nullptr, std::map<std::string, MemoryDesktop>* archives = nullptr)
      : RecordSynchronizer(properties, options), desktop_(desktop), backup_(backup), archives_(archives) {}

  std::unique_ptr<DatabaseManager> CreateArchiveStore(const char* name) override {
    if (!archives_) return RecordSynchronizer::CreateArchiveStore(name);
    return std::make_unique<MemoryDesktopStore>((*archives_)[name], Options(), SyncType());
  }

  long OpenDesktopStore() override {
    ReleaseDesktopStore();
    SetDesktopStore(std::make_unique<MemoryDesktopStore>(desktop_, Options(), SyncType()));
    return DesktopStore()->OpenForSync();
  }
  long OpenBackupStore() override {
    ReleaseBackupStore();
    if (backup_) SetBackupStore(std::make_unique<MemoryDesktopStore>(*backup_, Options(), SyncType()));
    return store::kOk;
  }

 private:
  MemoryDesktop& desktop_;
  MemoryDesktop* backup_;
  std::map<std::string, MemoryDesktop>* archives_;
};

SyncRecord DesktopRecord(std::uint32_t id, const std::string& data, std::uint32_t attributes, long category = 0) {
  SyncRecord record;
  record.SetId(id);
  record.SetData(static_cast<std::uint32_t>(data.size()), data.data());
  record.SetAttributes(attributes);
  record.SetCategory(category);
  return record;
}

std::string DataOf(const SyncRecord& record) {
  return record.GetData() ? std::string(reinterpret_cast<const char*>(record.GetData()), record.GetDataSize())
                          : std::string();
}

std::vector<std::string> DataOf(const std::vector<SyncRecord>& records) {
  std::vector<std::string> data;
  for (const SyncRecord& record : records) data.push_back(DataOf(record));
  return data;
}

long Count(const std::vector<std::string>& lines, const std::string& part) {
  return std::count_if(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.find(part) != std::string::npos; });
}

class RecordSynchronizerTest : public ::testing::Test {
 protected:
  long Run(long syncType, long options = 0, long categoryMode = 0, MemoryDesktop* backup = nullptr,
           std::map<std::string, MemoryDesktop>* archives = nullptr) {
    SyncProperties properties = testing::KorvetProperties(syncType, bench_.Folder().WithSlash(), "test.dat");
    properties.categoryMode = categoryMode;
    TestSynchronizer synchronizer(properties, options, desktop_, backup, archives);
    const long result = synchronizer.Run();
    storesLeft_ = synchronizer.HandheldStore() != nullptr || synchronizer.DesktopStore() != nullptr;
    return result;
  }

  testing::HotSyncBench bench_;
  MemoryDesktop desktop_;
  bool storesLeft_ = false;
};

TEST_F(RecordSynchronizerTest, DoNothingTouchesNothingAndUnknownTypesAreRefused) {
  EXPECT_EQ(Run(kDoNothing), 0);
  EXPECT_EQ(SimCallCount("OpenSyncSession"), 0);
  EXPECT_EQ(Run(8), 0x1113);
  EXPECT_EQ(SimCallCount("OpenSyncSession"), 0);
  EXPECT_TRUE(bench_.Records().empty());
}

TEST_F(RecordSynchronizerTest, RecordModifiedOnBothSidesIsDuplicatedOnBoth) {
  const std::uint32_t id = bench_.AddRecord("handheld text", kModified, 0);
  desktop_.records = {DesktopRecord(id, "desktop text", store::kRecordModified)};
  ASSERT_EQ(Run(kFastSync), 0);
  EXPECT_THAT(bench_.RecordData(), UnorderedElementsAre("handheld text", "desktop text"));
  EXPECT_THAT(DataOf(desktop_.left), UnorderedElementsAre("handheld text", "desktop text"));
  const auto log = bench_.LogTexts();
  EXPECT_EQ(Count(log, "The following record was modified on both Palm organizer and the Desktop: Record ID " +
                           std::to_string(id) +
                           ". This record will be duplicated on each platform. Delete the unwanted record and "
                           "HotSync again."),
            1);
  EXPECT_EQ(Count(log, "modified on both"), 1);
}

TEST_F(RecordSynchronizerTest, RecordsModifiedAlikeOnBothSidesStayOne) {
  const std::uint32_t id = bench_.AddRecord("same", kModified, 0);
  desktop_.records = {DesktopRecord(id, "same", store::kRecordModified)};
  ASSERT_EQ(Run(kFastSync), 0);
  EXPECT_THAT(bench_.RecordData(), UnorderedElementsAre("same"));
  EXPECT_EQ(Count(bench_.LogTexts(), "modified on both"), 0);
}

TEST_F(RecordSynchronizerTest, DeletedOnTheHandheldAndUnchangedOnTheDesktopGoesFromBoth) {
  const std::uint32_t id = bench_.AddRecord("gone", kDeleted | kModified, 0);
  bench_.AddRecord("stays", 0, 0);
  desktop_.records = {DesktopRecord(id, "gone", 0)};
  ASSERT_EQ(Run(kFastSync), 0);
  EXPECT_THAT(bench_.RecordData(), UnorderedElementsAre("stays"));
  EXPECT_THAT(DataOf(desktop_.left), UnorderedElementsAre("stays"));
}

TEST_F(RecordSynchronizerTest, MissingHandheldDatabaseTurnsAFastSyncIntoACopyThatCreatesIt) {
  desktop_.records = {DesktopRecord(0, "from the desktop", store::kRecordModified)};
  ASSERT_TRUE(bench_.Records().empty());
  ASSERT_EQ(Run(kFastSync), 0);
  const auto records = bench_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].data, "from the desktop");
  // The desktop copy took the record ID the handheld gave.
  ASSERT_EQ(desktop_.left.size(), 1u);
  EXPECT_EQ(desktop_.left[0].GetId(), records[0].id);
}

TEST_F(RecordSynchronizerTest, MissingDesktopStoreTurnsASlowSyncIntoAHandheldToDesktopCopy) {
  bench_.AddRecord("first", 0, 0);
  bench_.AddRecord("second", kModified, 0);
  desktop_.openStatus = store::kDesktopFileMissing;
  ASSERT_EQ(Run(kSlowSync), 0);
  EXPECT_THAT(DataOf(desktop_.left), UnorderedElementsAre("first", "second"));
  EXPECT_THAT(bench_.RecordData(), UnorderedElementsAre("first", "second"));
}

TEST_F(RecordSynchronizerTest, SlowSyncBringsNewRecordsOfEachSideToTheOther) {
  bench_.AddRecord("handheld only", 0, 0);
  desktop_.records = {DesktopRecord(0, "desktop only", store::kRecordModified)};
  ASSERT_EQ(Run(kSlowSync), 0);
  EXPECT_THAT(bench_.RecordData(), UnorderedElementsAre("handheld only", "desktop only"));
  EXPECT_THAT(DataOf(desktop_.left), UnorderedElementsAre("handheld only", "desktop only"));
}

TEST_F(RecordSynchronizerTest, AnEmptyBackupMakesEveryHandheldRecordCountAsModifiedInASlowSync) {
  // Without a backup, an unchanged record that differs on the two sides is a conflict: both versions
  // end up on both sides.
  const std::uint32_t id = bench_.AddRecord("handheld text", 0, 0);
  desktop_.records = {DesktopRecord(id, "desktop text", 0)};
  ASSERT_EQ(Run(kSlowSync), 0);
  EXPECT_THAT(DataOf(desktop_.left), UnorderedElementsAre("handheld text", "desktop text"));

  // With an empty backup the handheld record counts as modified since the last sync, and its version
  // replaces the desktop's.
  SimEndSession();
  DeleteFileA(bench_.Folder().File("Handheld\\KORVETDatabaseDB.pdb").c_str());
  const std::uint32_t again = bench_.AddRecord("handheld text", 0, 0);
  desktop_.records = {DesktopRecord(again, "desktop text", 0)};
  MemoryDesktop emptyBackup;
  ASSERT_EQ(Run(kSlowSync, 0, 0, &emptyBackup), 0);
  EXPECT_THAT(DataOf(desktop_.left), UnorderedElementsAre("handheld text"));
  EXPECT_THAT(bench_.RecordData(), UnorderedElementsAre("handheld text"));
}

TEST_F(RecordSynchronizerTest, EqualCountsAfterThePurgeSkipRecordIdReconciliation) {
  const std::uint32_t a = bench_.AddRecord("a", 0, 0);
  const std::uint32_t b = bench_.AddRecord("b", 0, 0);
  desktop_.records = {DesktopRecord(a, "a", 0), DesktopRecord(b, "b", 0)};
  ASSERT_EQ(Run(kFastSync), 0);
  EXPECT_EQ(SimCallCount("SyncReadPositionXMap"), 0);

  // One record short on the desktop: the IDs are compared and the missing record comes over.
  desktop_.records = {DesktopRecord(a, "a", 0)};
  SimResetCallCounts();
  ASSERT_EQ(Run(kFastSync), 0);
  EXPECT_EQ(SimCallCount("SyncReadPositionXMap"), 1);
  EXPECT_THAT(DataOf(desktop_.left), UnorderedElementsAre("a", "b"));
}

// The desktop pass of a slow sync: a modified desktop record whose ID the handheld does not know goes
// to the handheld as a new record, and the desktop keeps the new ID; a second sync changes nothing.
TEST_F(RecordSynchronizerTest, ASlowSyncAddsAModifiedDesktopRecordTheHandheldLacksAndLinksIt) {
  ASSERT_TRUE(bench_.SetAppInfo(std::string()));  // the database exists, empty
  desktop_.records = {DesktopRecord(77, "desktop text", store::kRecordModified)};
  for (int sync = 1; sync <= 2; ++sync) {
    ASSERT_EQ(Run(kSlowSync), 0) << sync;
    const auto records = bench_.Records();
    ASSERT_EQ(records.size(), 1u) << sync;
    EXPECT_EQ(records[0].data, "desktop text");
    ASSERT_EQ(desktop_.left.size(), 1u) << sync;
    EXPECT_EQ(desktop_.left[0].GetId(), records[0].id) << sync;
    desktop_.records = desktop_.left;
  }
}

// Unfiled pairs with Unfiled whatever the desktop calls it: its records stay in category 0 and no
// new category is made for it.
TEST_F(RecordSynchronizerTest, DesktopCategoryZeroPairsWithTheHandheldsWhateverItsName) {
  store::CategoryList handheldList;
  store::CPCategory unfiled(0, 0, "Unfiled");
  handheldList.Add(unfiled);
  std::string block(store::kCategoryBlockSize, '\0');
  long size = static_cast<long>(block.size());
  ASSERT_EQ(handheldList.Store(block.data(), &size), 0);
  ASSERT_TRUE(bench_.SetAppInfo(block));
  desktop_.withCategories = true;
  desktop_.categories = {{0, 5, "Nicht abgelegt"}};
  desktop_.records = {DesktopRecord(0, "unfiled on the desktop", store::kRecordModified, 0)};
  ASSERT_EQ(Run(kFastSync, kWithCategories), 0);
  const auto records = bench_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].category, 0);
  ASSERT_EQ(desktop_.left.size(), 1u);
  EXPECT_EQ(desktop_.left[0].GetCategory(), 0);
}

// A category block naming every category number from 0 to 15.
std::string FullCategoryBlock() {
  store::CategoryList list;
  for (long number = 0; number < store::kCategoryCount; ++number) {
    store::CPCategory category(number, 100 + number, number == 0 ? "Unfiled" : ("H" + std::to_string(number)).c_str());
    list.Add(category);
  }
  std::string block(store::kCategoryBlockSize, '\0');
  long size = static_cast<long>(block.size());
  list.Store(block.data(), &size);
  return block;
}

TEST_F(RecordSynchronizerTest, ASixteenthDesktopCategoryGoesToUnfiled) {
  ASSERT_TRUE(bench_.SetAppInfo(FullCategoryBlock()));
  desktop_.withCategories = true;
  desktop_.categories.push_back({0, 100, "Unfiled"});
  for (long number = 1; number < 15; ++number)
    desktop_.categories.push_back({number, 100 + number, "H" + std::to_string(number)});
  desktop_.categories.push_back({15, 250, "Extra"});
  desktop_.records = {DesktopRecord(0, "filed under Extra", store::kRecordModified, 15)};

  // Category mode 2: the desktop's categories count as changed, so none is dropped unmatched.
  ASSERT_EQ(Run(kFastSync, kWithCategories, 2), 0);
  const auto log = bench_.LogTexts();
  EXPECT_EQ(Count(log,
                  "Only 15 categories are allowed.  All records in local category Extra were changed to "
                  "'Unfiled'."),
            1);
  EXPECT_EQ(Count(log,
                  "-- Local category Extra has been deleted. The records in this category have been moved "
                  "to 'Unfiled'."),
            1);
  ASSERT_EQ(desktop_.left.size(), 1u);
  EXPECT_EQ(desktop_.left[0].GetCategory(), 0);
  const auto records = bench_.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].category, 0);
}

// A category block of the handheld holding the given categories.
std::string CategoryBlock(const std::vector<testing::DesktopCategory>& categories) {
  store::CategoryList list;
  for (const auto& c : categories) {
    store::CPCategory category(c.index, c.id, c.name.c_str());
    list.Add(category);
  }
  std::string block(store::kCategoryBlockSize, '\0');
  long size = static_cast<long>(block.size());
  list.Store(block.data(), &size);
  return block;
}

constexpr std::uint8_t kArchived = handheld::kHandheldArchived;

// Archived records go to one archive file per handheld category, whichever side archived them; a
// category number beyond the sixteen has no archive.
TEST_F(RecordSynchronizerTest, ArchivesAreKeptPerCategory) {
  ASSERT_TRUE(bench_.SetAppInfo(CategoryBlock({{0, 0, "Unfiled"}, {1, 10, "Sites"}, {2, 20, "Roads"}})));
  desktop_.withCategories = true;
  desktop_.categories = {{0, 0, "Unfiled"}, {1, 10, "Sites"}, {2, 20, "Roads"}};
  bench_.AddRecord("archived on the handheld", kDeleted | kArchived | kModified, 0);  // 0x8
  const std::uint32_t kept = bench_.AddRecord("archived on the desktop", 0, 2);
  const std::uint32_t both =
      bench_.AddRecord("archived, unchanged on the desktop", kDeleted | kArchived | kModified, 0);
  desktop_.records = {DesktopRecord(kept, "archived on the desktop", store::kRecordArchived | store::kRecordModified,
                                    2),                                                  // 0x10002
                      DesktopRecord(both, "archived, unchanged on the desktop", 0, 0)};  // 0x9
  ASSERT_EQ(Run(kFastSync, kWithCategories), 0);
  // Archives are never written; opening each one names its file in the log.
  EXPECT_EQ(Count(bench_.LogTexts(), "\\Unfiled.ARC"), 1);
  EXPECT_EQ(Count(bench_.LogTexts(), "\\Roads.ARC"), 1);
  EXPECT_TRUE(bench_.Records().empty());
  EXPECT_TRUE(desktop_.left.empty());

  desktop_.records = {DesktopRecord(0, "beyond the categories", store::kRecordArchived, 16)};
  EXPECT_EQ(Run(kSlowSync, kWithCategories), store::kCategoryOutOfRange);
}

// Each archived record reaches the archive of its category. A record archived on the handheld has
// lost its category there (its archive bit takes the category's place), so it goes to Unfiled's.
TEST_F(RecordSynchronizerTest, EachArchivedRecordReachesItsCategorysArchive) {
  ASSERT_TRUE(bench_.SetAppInfo(CategoryBlock({{0, 0, "Unfiled"}, {1, 10, "Sites"}, {2, 20, "Roads"}})));
  desktop_.withCategories = true;
  desktop_.categories = {{0, 0, "Unfiled"}, {1, 10, "Sites"}, {2, 20, "Roads"}};
  bench_.AddRecord("archived on the handheld", kDeleted | kArchived | kModified, 1);
  const std::uint32_t kept = bench_.AddRecord("archived on the desktop", 0, 2);
  desktop_.records = {
      DesktopRecord(kept, "archived on the desktop", store::kRecordArchived | store::kRecordModified, 2)};
  std::map<std::string, MemoryDesktop> archives;
  ASSERT_EQ(Run(kFastSync, kWithCategories, 0, nullptr, &archives), 0);
  EXPECT_THAT(DataOf(archives["Unfiled"].left), ElementsAre("archived on the handheld"));
  EXPECT_THAT(DataOf(archives["Roads"].left), ElementsAre("archived on the desktop"));
  EXPECT_TRUE(archives["Sites"].left.empty());
  EXPECT_TRUE(bench_.Records().empty());
}

// The conflict handlers of an archived record against a modified or archived one.
TEST_F(RecordSynchronizerTest, ArchivedAgainstModifiedOrArchived) {
  const std::uint32_t a = bench_.AddRecord("hh archived, changed", kDeleted | kArchived | kModified, 0);  // 0x200
  const std::uint32_t b = bench_.AddRecord("same text", kModified, 0);                                    // 0x400
  const std::uint32_t c = bench_.AddRecord("hh archived copy", kDeleted | kArchived | kModified, 0);      // 0x800
  desktop_.records = {DesktopRecord(a, "pc changed", store::kRecordModified),
                      DesktopRecord(b, "same text", store::kRecordArchived | store::kRecordModified),
                      DesktopRecord(c, "pc archived copy", store::kRecordArchived | store::kRecordModified)};
  ASSERT_EQ(Run(kFastSync), 0);
  // 0x200, different texts: the handheld's record is restored and both versions live on both sides.
  // 0x400, equal: the desktop's copy is archived, and the handheld's record comes back to it. 0x800,
  // different: both are archived and gone from both sides.
  const auto expected = UnorderedElementsAre("hh archived, changed", "pc changed", "same text");
  EXPECT_THAT(bench_.RecordData(), expected);
  EXPECT_THAT(DataOf(desktop_.left), expected);
  EXPECT_EQ(Count(bench_.LogTexts(), "modified on both"), 1);
  EXPECT_EQ(Count(bench_.LogTexts(), "\\test.ARC"), 1);
}

// Categories: a desktop category of the same name under another ID takes the records of the desktop
// category with the handheld's ID (the third branch); one under another number is mapped; one the
// desktop does not know at all is dropped with its records moved to Unfiled, and logged.
TEST_F(RecordSynchronizerTest, CategoriesAreMatchedMappedAndDropped) {
  ASSERT_TRUE(
      bench_.SetAppInfo(CategoryBlock({{0, 0, "Unfiled"}, {1, 10, "Sites"}, {2, 20, "Roads"}, {3, 30, "Old"}})));
  bench_.AddRecord("in Old", kModified, 3);
  desktop_.withCategories = true;
  desktop_.categories = {{0, 0, "Unfiled"}, {1, 11, "Sites"}, {4, 10, "Moved"}, {5, 20, "Roads"}};
  desktop_.records = {DesktopRecord(0, "in Moved", store::kRecordModified, 4),
                      DesktopRecord(0, "in Roads", store::kRecordModified, 5)};
  ASSERT_EQ(Run(kFastSync, kWithCategories), 0);
  std::map<std::string, long> categories;
  for (const auto& record : bench_.Records()) categories[record.data] = record.category;
  EXPECT_EQ(categories, (std::map<std::string, long>{{"in Moved", 1}, {"in Roads", 2}, {"in Old", 0}}));
  EXPECT_EQ(Count(bench_.LogTexts(),
                  "-- Local category Old has been deleted. The records in this category have "
                  "been moved to 'Unfiled'."),
            1);
}

// A failed handheld delete of a deleted desktop record's counterpart counts only for a
// communications error.
TEST_F(RecordSynchronizerTest, OnlyACommunicationsErrorFailsTheCounterpartDelete) {
  bench_.AddRecord("other", 0, 0);
  desktop_.records = {DesktopRecord(4242, "deleted on the desktop", store::kRecordDeleted)};
  EXPECT_EQ(Run(kFastSync), 0);  // the handheld has no record 4242: not found, ignored

  desktop_.records = {DesktopRecord(4242, "deleted on the desktop", store::kRecordDeleted)};
  SimInjectFault(kSimFaultFail, "DeleteHandheldRecord", 1, 0x2004);
  EXPECT_EQ(Run(kFastSync), 0x2004);
  EXPECT_THAT(bench_.RecordData(), UnorderedElementsAre("other"));

  // -1 has every bit set, the communications bit among them, and is no communications error.
  desktop_.records = {DesktopRecord(4242, "deleted on the desktop", store::kRecordDeleted)};
  SimInjectFault(kSimFaultFail, "DeleteHandheldRecord", 1, -1);
  EXPECT_EQ(Run(kFastSync), 0);
}

TEST_F(RecordSynchronizerTest, MissingHandheldDatabaseTurnsASlowSyncIntoACopyToo) {
  desktop_.records = {DesktopRecord(0, "from the desktop", store::kRecordModified)};
  ASSERT_EQ(Run(kSlowSync), 0);
  EXPECT_THAT(bench_.RecordData(), UnorderedElementsAre("from the desktop"));
}

// The operations a fast sync of this scenario calls, with how often.
std::map<std::string, long> CallsOf(const std::function<long()>& run) {
  SimResetCallCounts();
  EXPECT_EQ(run(), 0);
  std::map<std::string, long> calls;
  for (std::string_view name : sim::kSyncOperationNames) {
    const std::string operation(name);
    if (long count = SimCallCount(operation.c_str()); count > 0) calls[operation] = count;
  }
  return calls;
}

TEST_F(RecordSynchronizerTest, AFailureAtAnySyncManagerCallEndsTheRunWithItsCode) {
  constexpr long kInjected = 0x2345;
  auto setUp = [this] {
    SimEndSession();
    SimClearFailures();
    DeleteFileA(bench_.Folder().File("Handheld\\KORVETDatabaseDB.pdb").c_str());
    bench_.AddRecord("kept", 0, 0);
    bench_.AddRecord("changed on the handheld", kModified, 0);
    desktop_.records = {DesktopRecord(0, "new on the desktop", store::kRecordModified)};
  };
  setUp();
  const auto calls = CallsOf([this] { return Run(kFastSync); });
  ASSERT_FALSE(calls.empty());
  // Results that the callers do not examine: the yield, and the application block read, whose result
  // the handheld side replaces by 0.
  const std::vector<std::string> unexamined = {"SyncYieldCycles", "ReadHandheldAppInfoBlock"};
  long injected = 0;
  for (const auto& [operation, count] : calls) {
    for (long nth = 1; nth <= count; ++nth) {
      setUp();
      SimResetCallCounts();
      ASSERT_EQ(SimInjectFault(kSimFaultFail, operation.c_str(), nth, kInjected), 0);
      const long result = Run(kFastSync);
      ++injected;
      const bool examined = std::find(unexamined.begin(), unexamined.end(), operation) == unexamined.end();
      if (examined) {
        EXPECT_EQ(result, kInjected) << operation << " call " << nth;
      }
      EXPECT_FALSE(storesLeft_) << operation << " call " << nth;
      // Everything is written back and the database still reads whole.
      EXPECT_EQ(SimEndSession(), 0) << operation << " call " << nth;
      EXPECT_GE(bench_.Records().size(), 2u) << operation << " call " << nth;
    }
  }
  EXPECT_GT(injected, 10);
}

}  // namespace
}  // namespace korvet::sync
