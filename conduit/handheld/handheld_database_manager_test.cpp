#include "conduit/handheld/handheld_database_manager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "conduit/platform/sync_properties.h"
#include "conduit/store/status_codes.h"
#include "conduit/store/sync_logger.h"
#include "conduit/store/sync_record.h"
#include "conduit/test_support/hotsync_bench.h"
#include "conduit/test_support/packed_field.h"
#include "sim/sync20/sync20_control.h"

namespace korvet::handheld {
namespace {

using store::SyncRecord;
using ::testing::ElementsAre;
using testing::Field;

// The database the handheld tests work on, as the device names it.
constexpr const char* kKorvetDatabase = "KORVETDatabaseDB";
constexpr long kInjected = 0x4321;
constexpr std::uint32_t kCreator = FourCharCode("KRVT");
constexpr std::uint32_t kType = FourCharCode("DATA");

std::string DataOf(const SyncRecord& record) {
  return record.GetData() ? std::string(reinterpret_cast<const char*>(record.GetData()), record.GetDataSize())
                          : std::string();
}

SyncRecord RecordWith(const std::string& data, long category = 0) {
  SyncRecord record;
  record.SetId(0);  // no handheld counterpart yet
  record.SetData(static_cast<std::uint32_t>(data.size()), data.data());
  record.SetCategory(category);
  return record;
}

class HandheldManagerTest : public ::testing::Test {
 protected:
  std::unique_ptr<HandheldDatabaseManager> Make(long syncType, std::uint32_t options = 0,
                                                const char* name = kKorvetDatabase) {
    return std::make_unique<HandheldDatabaseManager>(&logger_, options, name, kCreator, kType, 0, 0, 0, syncType);
  }
  // Adds records as the device leaves them (marked modified), then clears the marks of all of them.
  void AddUnmodified(std::initializer_list<const char*> data) {
    for (const char* text : data) bench_.AddRecord(text);
    auto manager = Make(kSlowSync);
    ASSERT_EQ(manager->OpenForSync(), 0);
    ASSERT_EQ(manager->Close(0), 0);
  }
  // The log's lines after the conduit's heading.
  std::vector<std::string> Log() const {
    std::vector<std::string> lines = bench_.LogTexts();
    if (!lines.empty() && lines.front() == "-- Korvet") lines.erase(lines.begin());
    return lines;
  }

  testing::HotSyncBench bench_;
  store::SyncLogger logger_{GetModuleHandleA(nullptr), "Korvet"};
};

TEST_F(HandheldManagerTest, OpeningByKindAndSyncType) {
  auto manager = Make(kFastSync);
  for (long kind : {0L, 1L, 2L}) EXPECT_EQ(manager->Open(kind), store::kHandheldDatabaseMissing) << kind;
  EXPECT_EQ(manager->Open(4), 0);
  EXPECT_EQ(Make(kDoNothing)->OpenForSync(), 0);
  EXPECT_EQ(SimCallCount("OpenHandheldDatabase"), 3);
  EXPECT_EQ(Make(8)->OpenForSync(), store::kInvalidSyncType);

  // Desktop overwrites handheld, install and profile install start from an empty database.
  for (long type : {kDesktopOverwritesHandheld, kInstallSync, kProfileInstall}) {
    bench_.AddRecord("old");
    auto fresh = Make(type);
    EXPECT_EQ(fresh->OpenForSync(), 0) << type;
    long count = -1;
    EXPECT_EQ(fresh->GetRecordCount(&count), 0);
    EXPECT_EQ(count, 0) << type;
  }
  EXPECT_TRUE(Log().empty());

  SimInjectFault(kSimFaultFail, "CreateHandheldDatabase", 1, kInjected);
  EXPECT_EQ(Make(kInstallSync)->OpenForSync(), kInjected);
  EXPECT_THAT(Log(), ElementsAre(" -- Failed to create HH Database: DB Name KORVETDatabaseDB, Creator ID 4b525654, "
                                 "Type 1145132097, Flags    0, Version     0, Error 17185"));  // widths 4 and 5
}

TEST_F(HandheldManagerTest, ClosingClearsFlagsUnlessSkippedAndAlwaysForgetsTheHandle) {
  bench_.AddRecord("a");
  auto manager = Make(kBackupSync);
  EXPECT_EQ(manager->Close(0), store::kNotOpen);
  ASSERT_EQ(manager->OpenForSync(), 0);
  EXPECT_EQ(manager->FinishSync(), 0);  // a backup leaves the marks alone
  EXPECT_EQ(bench_.Records().at(0).attributes, kHandheldModified);
  {
    auto destroyed = Make(kFastSync);
    ASSERT_EQ(destroyed->OpenForSync(), 0);  // and so does destruction
  }
  EXPECT_EQ(bench_.Records().at(0).attributes, kHandheldModified);

  manager->SetSyncType(kFastSync);
  ASSERT_EQ(manager->OpenForSync(), 0);
  EXPECT_EQ(manager->FinishSync(), 0);
  EXPECT_EQ(bench_.Records().at(0).attributes, 0);

  ASSERT_EQ(manager->OpenForSync(), 0);
  SimInjectFault(kSimFaultFail, "ClearHandheldSyncFlags", 1, kInjected);
  SimInjectFault(kSimFaultFail, "CloseHandheldDatabase", 1, 0x4002);
  EXPECT_EQ(manager->Close(0), kInjected);  // the first failure wins
  EXPECT_FALSE(manager->IsOpen());
  EXPECT_THAT(Log(), ElementsAre("Could not clear Palm organizer's status flags. Error Code 4321",
                                 " -- Could not close remote database. Error Code 4002"));
}

TEST_F(HandheldManagerTest, FastSyncLoadsOnlyModifiedRecordsAndReadsTheGapsOnDemand) {
  AddUnmodified({"a", "b"});
  auto manager = Make(kFastSync);
  ASSERT_EQ(manager->OpenForSync(), 0);
  EXPECT_EQ(manager->LoadContents(), 0);
  EXPECT_EQ(manager->HighWaterMark(), 0);  // nothing modified, nothing loaded
  ASSERT_EQ(manager->Close(1), 0);

  bench_.AddRecord("c");
  ASSERT_EQ(manager->OpenForSync(), 0);
  ASSERT_EQ(manager->LoadContents(), 0);
  EXPECT_EQ(manager->Capacity(), 6);
  EXPECT_EQ(manager->RecordAt(0), nullptr);
  EXPECT_EQ(DataOf(*manager->RecordAt(2)), "c");

  std::vector<std::string> seen;
  SyncRecord record;
  for (long status = manager->ReadFirstRecord(record); status == 0; status = manager->ReadNextRecord(record)) {
    seen.push_back(DataOf(record));
  }
  EXPECT_THAT(seen, ElementsAre("a", "b", "c"));
  EXPECT_EQ(SimCallCount("ReadHandheldRecordByIndex"), 2);
  EXPECT_EQ(DataOf(*manager->RecordAt(0)), "a");  // what was read is kept in the table
}

TEST_F(HandheldManagerTest, OtherSyncTypesIterateTheTableAndStopAtItsFirstEmptySlot) {
  AddUnmodified({"a", "b", "c"});
  auto manager = Make(kSlowSync);
  ASSERT_EQ(manager->OpenForSync(), 0);
  ASSERT_EQ(manager->LoadContents(), 0);
  ASSERT_TRUE(manager->RecordAt(1));
  SyncRecord gone;
  gone.SetId(manager->RecordAt(1)->GetId());
  manager->store::DatabaseManager::DeleteRecord(gone);  // from the table alone
  SyncRecord record;
  EXPECT_EQ(manager->ReadFirstRecord(record), 0);
  EXPECT_EQ(DataOf(record), "a");
  EXPECT_EQ(manager->ReadNextRecord(record), store::kNoMoreRecords);
  EXPECT_EQ(SimCallCount("ReadHandheldRecordByIndex"), 3);  // the load's reads only
}

TEST_F(HandheldManagerTest, FailuresAreLoggedWithTheRecordTheyConcern) {
  AddUnmodified({"a", "b"});
  auto manager = Make(kSlowSync);
  ASSERT_EQ(manager->OpenForSync(), 0);
  SimInjectFault(kSimFaultFail, "ReadHandheldRecordByIndex", 2, kInjected);
  EXPECT_EQ(manager->LoadAllRecords(), kInjected);

  SyncRecord record = RecordWith("stale");
  EXPECT_EQ(manager->ReadRecordById(0x123456, record, false), kSyncNotFound);
  EXPECT_EQ(record.GetId(), 0x123456u);
  EXPECT_EQ(record.GetDataSize(), 0u);
  EXPECT_EQ(manager->ReadRecordByIdLogged(0x123456, record), kSyncNotFound);

  SimInjectFault(kSimFaultFail, "PurgeDeletedHandheldRecords", 1, kInjected);
  EXPECT_EQ(manager->PurgeDeletedRecords(), kInjected);

  EXPECT_THAT(Log(), ElementsAre(" -- HH failed to read record: Record Index 1, Error 17185",
                                 " -- HH failed to read record: Record ID 1193046, Error 16387",
                                 "Could not purge the deleted records on Palm organizer. 4321"));
}

// A failed load of the modified records keeps what it read and names the index of the last one.
TEST_F(HandheldManagerTest, AFailedLoadOfModifiedRecordsNamesTheLastIndexRead) {
  AddUnmodified({"a", "b"});
  bench_.AddRecord("c");
  bench_.AddRecord("d");
  auto manager = Make(kFastSync);
  ASSERT_EQ(manager->OpenForSync(), 0);
  SimInjectFault(kSimFaultFail, "ReadNextModifiedHandheldRecord", 2, kInjected);
  EXPECT_EQ(manager->LoadModifiedRecords(), kInjected);
  ASSERT_NE(manager->RecordAt(2), nullptr);
  EXPECT_EQ(DataOf(*manager->RecordAt(2)), "c");
  EXPECT_THAT(Log(), ElementsAre(" -- HH failed to read record: Record Index 2, Error 17185"));
}

// A manager whose idea of the record count falls short of the handheld's, as when the handheld gives
// an index the table was not sized for.
class ShortCountedManager : public HandheldDatabaseManager {
 public:
  using HandheldDatabaseManager::HandheldDatabaseManager;
  long GetRecordCount(long* count) override {
    *count = 1;
    return 0;
  }
};

TEST_F(HandheldManagerTest, AnIndexBeyondTheTableFailsALoadButNotARead) {
  for (const char* data : {"a", "b", "c", "d"}) bench_.AddRecord(data);
  ShortCountedManager manager(&logger_, 0, kKorvetDatabase, kCreator, kType, 0, 0, 0, kFastSync);
  ASSERT_EQ(manager.OpenForSync(), 0);
  EXPECT_EQ(manager.LoadModifiedRecords(), store::kIndexOutOfRange);
  EXPECT_EQ(manager.Capacity(), 2);
  EXPECT_EQ(manager.HighWaterMark(), 2);
  EXPECT_THAT(Log(), ElementsAre(" -- HH failed to read record: Record Index 2, Error 4357"));

  // A category read that lands beyond the table still returns the record read; only the table goes
  // without its copy. The end of a category is no failure.
  ASSERT_EQ(manager.Close(1), 0);
  ASSERT_EQ(manager.OpenForSync(), 0);
  SyncRecord record;
  EXPECT_EQ(manager.ReadFirstInCategory(0, record), 0);  // index 0
  EXPECT_EQ(manager.ReadNextRecord(record), 0);          // index 1
  EXPECT_EQ(manager.ReadNextRecord(record), 0);
  EXPECT_EQ(DataOf(record), "c");
  EXPECT_EQ(record.GetIndex(), 2);
  EXPECT_EQ(manager.HighWaterMark(), 2);
  EXPECT_EQ(manager.ReadNextRecord(record), 0);
  EXPECT_EQ(DataOf(record), "d");
  EXPECT_EQ(manager.ReadNextRecord(record), store::kNoMoreRecords);
  EXPECT_EQ(manager.ReadFirstInCategory(3, record), store::kNoMoreRecords);
  EXPECT_EQ(Log().size(), 1u);
}

TEST_F(HandheldManagerTest, CategoryOperationsCheckTheNumberFirst) {
  bench_.AddRecord("a");
  auto manager = Make(kFastSync);
  ASSERT_EQ(manager->OpenForSync(), 0);
  EXPECT_EQ(manager->PurgeCategory(16, false), store::kCategoryOutOfRange);
  EXPECT_EQ(manager->PurgeCategory(16, true), store::kCategoryOutOfRange);
  EXPECT_EQ(manager->ChangeCategory(0, 16), store::kCategoryOutOfRange);
  EXPECT_EQ(SimCallCount("SyncChangeCategory") + SimCallCount("SyncPurgeAllRecsInCategory"), 0);

  SyncRecord filed = RecordWith("filed", 5);
  ASSERT_EQ(manager->AddRecord(filed), 0);
  EXPECT_EQ(manager->PurgeCategory(5, true), 0);  // to Unfiled
  EXPECT_EQ(manager->PurgeCategory(0, false), 0);
  ASSERT_EQ(manager->Close(0), 0);
  EXPECT_TRUE(bench_.Records().empty());
}

TEST_F(HandheldManagerTest, WritingByIdAndAtAPosition) {
  AddUnmodified({"a", "b"});
  auto manager = Make(kSlowSync);
  ASSERT_EQ(manager->OpenForSync(), 0);
  SimResetCallCounts();
  SyncRecord record = RecordWith("new");
  EXPECT_EQ(manager->ModifyRecordAt(-1, record), store::kRecordNotFound);
  EXPECT_EQ(manager->ModifyRecordAt(0, record), store::kNoRecordTable);  // nothing loaded yet
  ASSERT_EQ(manager->LoadContents(), 0);
  EXPECT_EQ(manager->ModifyRecordAt(4, record), store::kIndexOutOfRange);
  EXPECT_EQ(SimCallCount("WriteHandheldRecord"), 0);

  SyncRecord changed;
  ASSERT_EQ(manager->ReadRecordById(manager->RecordAt(1)->GetId(), changed, true), 0);
  changed.SetData(2, "B2");
  EXPECT_EQ(manager->ModifyRecordAt(1, changed), 0);
  EXPECT_EQ(DataOf(*manager->RecordAt(1)), "B2");

  SyncRecord added = RecordWith("c");
  added.SetModified(true);
  EXPECT_EQ(manager->AddRecord(added), 0);
  EXPECT_NE(added.GetId(), 0u);
  EXPECT_EQ(added.GetIndex(), store::kNoIndex);  // the handheld answers a write with the ID alone
  EXPECT_EQ(manager->DeleteRecord(changed), 0);
  ASSERT_EQ(manager->Close(1), 0);
  const auto records = bench_.Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].data, "a");
  EXPECT_EQ(records[1].data, "c");
  EXPECT_EQ(records[1].id, added.GetId());
  EXPECT_EQ(records[1].attributes, 0);  // written without the caller's marks
}

TEST_F(HandheldManagerTest, NamesOfUpTo31CharactersWhileClosed) {
  char name[40];
  long capacity = sizeof name;
  ASSERT_EQ(Make(0, 0, std::string(32, 'n').c_str())->GetDatabaseName(name, &capacity), 0);
  EXPECT_STREQ(name, "");

  auto manager = Make(kFastSync);
  const std::string longest(31, 'n');
  EXPECT_EQ(manager->SetDatabaseName(longest.c_str()), 0);
  EXPECT_EQ(manager->SetDatabaseName(std::string(32, 'x').c_str()), store::kValueTooLarge);
  capacity = 31;
  EXPECT_EQ(manager->GetDatabaseName(name, &capacity), store::kBufferTooSmall);
  EXPECT_EQ(capacity, 32);
  EXPECT_EQ(manager->GetDatabaseName(name, &capacity), 0);
  EXPECT_EQ(name, longest);
  EXPECT_EQ(manager->SetDatabaseName(""), 0);
  EXPECT_EQ(manager->GetDatabaseName(name, &capacity), 0);
  EXPECT_STREQ(name, "");

  bench_.AddRecord("a");
  ASSERT_EQ(manager->SetDatabaseName(kKorvetDatabase), 0);
  ASSERT_EQ(manager->OpenForSync(), 0);
  EXPECT_EQ(manager->SetDatabaseName("Other"), store::kDatabaseIsOpen);
  EXPECT_EQ(manager->SetDatabaseFlags(kResourceDatabaseFlag), store::kDatabaseIsOpen);
}

TEST_F(HandheldManagerTest, ApplicationDataFollowsTheCategoryBlockAndIsWrittenOnSave) {
  bench_.AddRecord("a");
  auto manager = Make(kFastSync, store::kOptionAppInfo | store::kOptionCategoryBlock);
  ASSERT_EQ(manager->OpenForSync(), 0);
  ASSERT_EQ(manager->LoadCategories(), 0);
  EXPECT_EQ(manager->GetCategoryList(), nullptr);  // the database has no application block yet
  EXPECT_EQ(manager->AppSpecificInfoData(), nullptr);

  const std::string data = "settings";
  EXPECT_EQ(manager->SetAppSpecificInfo(kInfoBufferSize - 275, data.data()), store::kValueTooLarge);
  ASSERT_EQ(manager->SetAppSpecificInfo(static_cast<std::uint32_t>(data.size()), data.data()), 0);
  EXPECT_EQ(manager->AppSpecificInfoSize(), data.size());
  std::uint32_t size = 3;
  char copy[16] = {};
  EXPECT_EQ(manager->GetAppSpecificInfo(copy, &size), store::kBufferTooSmall);
  EXPECT_EQ(manager->GetAppSpecificInfo(copy, &size), 0);
  EXPECT_EQ(std::string(copy), data);
  EXPECT_EQ(manager->SaveCategories(), 0);
  EXPECT_EQ(manager->AppSpecificInfoSize(), 0u);  // written and given back

  // Read back through a block of the caller's: the category block, then the data.
  std::vector<std::uint8_t> buffer(400, 0xEE);
  DatabaseInfoBlock block{};
  block.capacity = static_cast<std::uint16_t>(buffer.size());
  block.data = buffer.data();
  ASSERT_EQ(manager->GetAppInfo(&block), 0);
  EXPECT_STREQ(block.name, kKorvetDatabase);
  ASSERT_EQ(block.dataSize, 276 + data.size());
  EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 276), std::string(276, '\0'));
  EXPECT_EQ(std::string(buffer.begin() + 276, buffer.begin() + block.dataSize), data);
  EXPECT_EQ(manager->SetAppInfo(&block), 0);
  EXPECT_EQ(Field(block.data), buffer.data());  // the caller's buffer stays the caller's

  // A block without a buffer gets one of the manager's, which SetAppInfo takes back.
  DatabaseInfoBlock lent{};
  ASSERT_EQ(manager->GetAppInfo(&lent), 0);
  EXPECT_EQ(lent.dataSize, 276 + data.size());
  EXPECT_EQ(manager->SetAppInfo(&lent), 0);
  EXPECT_EQ(Field(lent.data), nullptr);
}

// The block goes back with each write: a second save reads what the handheld holds again rather
// than writing an empty block over the categories and the data.
TEST_F(HandheldManagerTest, AnExistingCategoryBlockIsReadChangedAndSavedTwiceWhole) {
  store::CategoryList categories;
  store::CPCategory unfiled(0, 0, "Unfiled");
  store::CPCategory sites(1, 7, "Sites");
  categories.Add(unfiled);
  categories.Add(sites);
  std::string block(store::kCategoryBlockSize, '\0');
  long size = static_cast<long>(block.size());
  ASSERT_EQ(categories.Store(block.data(), &size), 0);
  ASSERT_TRUE(bench_.SetAppInfo(block + "app data"));

  auto manager = Make(kFastSync, store::kOptionAppInfo | store::kOptionCategoryBlock);
  ASSERT_EQ(manager->OpenForSync(), 0);
  ASSERT_EQ(manager->LoadCategories(), 0);
  ASSERT_NE(manager->GetCategoryList(), nullptr);
  ASSERT_NE(manager->GetCategoryList()->GetAt(1), nullptr);
  EXPECT_STREQ(manager->GetCategoryList()->GetAt(1)->GetName(), "Sites");
  ASSERT_EQ(manager->GetCategoryList()->RenameAt(1, "Traverses"), 0);
  manager->GetCategoryList()->SetChanged(true);
  EXPECT_EQ(manager->SaveCategories(), 0);
  EXPECT_EQ(manager->SaveCategories(), 0);

  ASSERT_EQ(manager->LoadCategories(), 0);
  EXPECT_STREQ(manager->GetCategoryList()->GetAt(1)->GetName(), "Traverses");
  EXPECT_EQ(manager->AppSpecificInfoSize(), 8u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(manager->AppSpecificInfoData()), 8), "app data");

  // Without a record table, a position is out of range before anything else.
  SyncRecord first = RecordWith("x");
  first.SetIndex(0);
  EXPECT_EQ(manager->PutRecordAt(first), store::kIndexOutOfRange);
}

TEST_F(HandheldManagerTest, RecordIdsComeInHandheldOrderAndTheDesktopsByteOrder) {
  const std::uint32_t first = bench_.AddRecord("a");
  const std::uint32_t second = bench_.AddRecord("b");
  const std::uint32_t third = bench_.AddRecord("c");
  auto manager = Make(kSlowSync);
  ASSERT_EQ(manager->OpenForSync(), 0);
  std::uint32_t ids[4] = {0, 0, 0, 0xCAFEF00D};
  long capacity = 2;
  EXPECT_EQ(manager->ListRecordIds(ids, &capacity), store::kBufferTooSmall);
  EXPECT_EQ(capacity, 3);
  EXPECT_EQ(SimCallCount("SyncReadPositionXMap"), 0);
  capacity = 4;
  EXPECT_EQ(manager->ListRecordIds(ids, &capacity), 0);
  EXPECT_THAT(ids, ElementsAre(first, second, third, 0xCAFEF00Du));
  EXPECT_EQ(capacity, 4);

  SimInjectFault(kSimFaultFail, "SyncGetDBRecordCount", 1, kInjected);
  EXPECT_EQ(manager->ListRecordIds(ids, &capacity), kInjected);
}

}  // namespace
}  // namespace korvet::handheld
