// Databases, handles and sessions of the stand-in Sync Manager.
#include "sim/sync20/sync20_test_fixture.h"

namespace korvet::sim::testing {
namespace {

using ::testing::ElementsAre;

TEST_F(Sync20Test, OpeningAMissingDatabaseIsNotFound) {
  std::uint8_t handle = 0x77;
  EXPECT_EQ(OpenHandheldDatabase("KORVETDatabaseDB", 0, &handle, handheld::kOpenReadWrite), 0x4003);
  EXPECT_EQ(handle, 0x77);
  EXPECT_EQ(DeleteHandheldDatabase("KORVETDatabaseDB", 0), 0x4003);
  handheld::DatabaseQuery query{0xC0, 0, "KORVETDatabaseDB"};
  EXPECT_EQ(SyncFindDbByName(&query, nullptr), 0x4003);
  // The handheld folder is made when the installation folder is chosen.
  EXPECT_NE(GetFileAttributesA(HandheldFolderPath().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(OpenHandheldDatabase(nullptr, 0, &handle, handheld::kOpenRead), kSyncErrBadArgument);
}

TEST_F(Sync20Test, CreateOpensAndHandlesAreLowestFreeFirst) {
  const std::uint8_t first = Create("First");
  const std::uint8_t second = Create("Second");
  const std::uint8_t third = Create("Third");
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(third, 3);
  EXPECT_EQ(CloseHandheldDatabase(second), 0);
  EXPECT_EQ(CloseHandheldDatabase(second), kSyncErrBadHandle);
  EXPECT_EQ(CloseHandheldDatabase(0), kSyncErrBadHandle);
  EXPECT_EQ(Open("Second"), 2);
  EXPECT_EQ(Create("Fourth"), 4);
  EXPECT_EQ(Count(first), 0);
}

TEST_F(Sync20Test, CreateRefusesExistingAndBadNames) {
  EXPECT_EQ(CloseHandheldDatabase(Create("MemoDB")), 0);
  DatabaseCreationBlock block{};
  std::strcpy(block.name, "MemoDB");
  EXPECT_EQ(CreateHandheldDatabase(&block), kSyncErrExists);
  std::memset(block.name, 'x', sizeof block.name);  // not terminated
  EXPECT_EQ(CreateHandheldDatabase(&block), kSyncErrBadArgument);
  std::strcpy(block.name, "a/b");
  EXPECT_EQ(CreateHandheldDatabase(&block), kSyncErrBadArgument);
  std::strcpy(block.name, "");
  EXPECT_EQ(CreateHandheldDatabase(&block), kSyncErrBadArgument);
  EXPECT_EQ(CreateHandheldDatabase(nullptr), kSyncErrBadArgument);
}

TEST_F(Sync20Test, AnOpenDatabaseCannotBeOpenedOrDeletedAgain) {
  const std::uint8_t handle = Create("KORVETDatabaseDB");
  std::uint8_t again = 0;
  const long code = OpenHandheldDatabase("KORVETDatabaseDB", 0, &again, handheld::kOpenReadWrite);
  EXPECT_EQ(code, kSyncErrAlreadyOpen);
  EXPECT_NE(code, 0x4003);
  EXPECT_EQ(DeleteHandheldDatabase("KORVETDatabaseDB", 0), kSyncErrAlreadyOpen);
  EXPECT_EQ(CloseHandheldDatabase(handle), 0);
  EXPECT_EQ(DeleteHandheldDatabase("KORVETDatabaseDB", 0), 0);
  EXPECT_EQ(DeleteHandheldDatabase("KORVETDatabaseDB", 0), 0x4003);
  EXPECT_FALSE(FileExists(FilePath("KORVETDatabaseDB")));
}

// How report retrieval recovers from a database that an earlier pass left open.
TEST_F(Sync20Test, ReportRetrievalRecoveryByClosingHandles) {
  Create("Other");
  const std::uint8_t left = Create("KORVETDatabaseDB");
  std::uint8_t handle = 0;
  ASSERT_NE(OpenHandheldDatabase("KORVETDatabaseDB", 0, &handle, 0xC0), 0);
  handheld::DatabaseQuery query{0xC0, 0, "KORVETDatabaseDB"};
  ASSERT_EQ(SyncFindDbByName(&query, nullptr), 0);
  long closedAt = -1;
  for (int value = 0; value <= 254; ++value) {
    if (CloseHandheldDatabase(static_cast<std::uint8_t>(value)) == 0) {
      closedAt = value;
      break;
    }
  }
  EXPECT_EQ(closedAt, 1);  // the lowest open handle, not necessarily the report database
  EXPECT_EQ(OpenHandheldDatabase("KORVETDatabaseDB", 0, &handle, 0xC0), kSyncErrAlreadyOpen);
  EXPECT_EQ(CloseHandheldDatabase(left), 0);
  EXPECT_EQ(OpenHandheldDatabase("KORVETDatabaseDB", 0, &handle, 0xC0), 0);
  EXPECT_EQ(handle, 1);
}

TEST_F(Sync20Test, TwoHundredFiftyFiveHandlesAtMost) {
  for (int i = 1; i <= 255; ++i) ASSERT_EQ(Create("Db" + std::to_string(i)), i);
  DatabaseCreationBlock block{};
  std::strcpy(block.name, "OneTooMany");
  EXPECT_EQ(CreateHandheldDatabase(&block), kSyncErrNoHandle);
  EXPECT_EQ(CloseHandheldDatabase(200), 0);
  EXPECT_EQ(Open("Db200"), 200);
}

TEST_F(Sync20Test, NamesAreCaseSensitiveAndOnlyCardZeroExists) {
  EXPECT_EQ(CloseHandheldDatabase(Create("MemoDB")), 0);
  std::uint8_t handle = 0;
  EXPECT_EQ(OpenHandheldDatabase("memodb", 0, &handle, 0xC0), 0x4003);
  EXPECT_EQ(OpenHandheldDatabase("MemoDB", 1, &handle, 0xC0), 0x4003);
  handheld::DatabaseQuery query{0xC0, 0, "MEMODB"};
  EXPECT_EQ(SyncFindDbByName(&query, nullptr), 0x4003);
  DatabaseCreationBlock block{};
  std::strcpy(block.name, "MEMODB");  // would share the file with MemoDB
  EXPECT_EQ(CreateHandheldDatabase(&block), kSyncErrExists);
}

TEST_F(Sync20Test, FindFillsTheFoundBlockFromFileOrOpenDatabase) {
  const std::uint8_t handle = Create("KORVETDatabaseDB", 0x0008);
  Write(handle, 0, 0, 0, {'a'});
  handheld::DatabaseQuery query{0xC0, 0, "KORVETDatabaseDB"};
  handheld::FoundDatabaseBlock found{};
  ASSERT_EQ(SyncFindDbByName(&query, &found), 0);
  EXPECT_STREQ(found.name, "KORVETDatabaseDB");
  EXPECT_EQ(found.creator, kCreator);
  EXPECT_EQ(found.type, kType);
  EXPECT_EQ(found.flags, 0x0008);
  EXPECT_EQ(found.version, 2);
  EXPECT_EQ(found.recordCount, 1);
  EXPECT_EQ(CloseHandheldDatabase(handle), 0);
  found = {};
  ASSERT_EQ(SyncFindDbByName(&query, &found), 0);
  EXPECT_EQ(found.recordCount, 1);
  EXPECT_EQ(SyncFindDbByName(nullptr, &found), kSyncErrBadArgument);
}

TEST_F(Sync20Test, SessionsAndSystemInformation) {
  std::uint32_t first = 0;
  std::uint32_t second = 0;
  ASSERT_EQ(OpenSyncSession(&first), 0);
  ASSERT_EQ(OpenSyncSession(&second), 0);
  EXPECT_NE(first, 0u);
  EXPECT_NE(first, second);
  EXPECT_EQ(CloseSyncSession(first), 0);
  EXPECT_EQ(CloseSyncSession(first), kSyncErrBadSession);
  EXPECT_EQ(CloseSyncSession(second), 0);
  EXPECT_EQ(OpenSyncSession(nullptr), kSyncErrBadArgument);

  char buffer[255];
  std::memset(buffer, 'x', sizeof buffer);
  handheld::SystemInfoBlock info{};
  info.capacity = 255;
  info.buffer = buffer;
  EXPECT_EQ(SyncReadSystemInfo(&info), 0);
  EXPECT_EQ(std::strlen(buffer), info.filled);
  EXPECT_GT(info.filled, 0);
  info.capacity = 4;  // the text is cut to fit, with its NUL
  EXPECT_EQ(SyncReadSystemInfo(&info), 0);
  EXPECT_EQ(info.filled, 3);
  EXPECT_EQ(buffer[3], '\0');
  EXPECT_EQ(SyncYieldCycles(100), 0);
}

TEST_F(Sync20Test, DamagedFileIsRefusedAndLeftAlone) {
  const Bytes damaged(60, 'x');
  std::string error;
  korvet::testing::ScratchFolder::WritePath(FilePath("Broken"), std::string(damaged.begin(), damaged.end()));
  std::uint8_t handle = 0;
  EXPECT_EQ(OpenHandheldDatabase("Broken", 0, &handle, 0xC0), kSyncErrDamaged);
  handheld::DatabaseQuery query{0xC0, 0, "Broken"};
  EXPECT_EQ(SyncFindDbByName(&query, nullptr), kSyncErrDamaged);
  DatabaseCreationBlock block{};
  std::strcpy(block.name, "Broken");
  EXPECT_EQ(CreateHandheldDatabase(&block), kSyncErrExists);
  EXPECT_EQ(SimEndSession(), 0);
  Bytes after;
  ASSERT_TRUE(ReadWholeFile(FilePath("Broken"), 1000, &after, &error));
  EXPECT_EQ(after, damaged);
}

TEST_F(Sync20Test, ADatabaseWrittenByAnotherToolOpens) {
  PalmDatabase database;
  database.name = "AddressDB";
  database.creator = kCreator;
  PalmRecord record;
  record.id = 0x00ABCDEF;
  record.attributes = kRecModified | kRecPrivate;
  record.category = 9;
  record.data = {1, 2, 3, 0, 5};
  database.records.push_back(record);
  SaveFile(database);
  const std::uint8_t handle = Open("AddressDB", handheld::kOpenRead | handheld::kOpenShowSecret);
  const Read read = ReadIndex(handle, 0);
  EXPECT_EQ(read.block.recordId, 0x00ABCDEFu);
  EXPECT_EQ(read.block.attributes, kRecModified | kRecPrivate);
  EXPECT_EQ(read.block.category, 9);
  EXPECT_EQ(read.Data(), (Bytes{1, 2, 3, 0, 5}));
}

}  // namespace
}  // namespace korvet::sim::testing
