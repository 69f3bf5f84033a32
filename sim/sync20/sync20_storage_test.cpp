// When and how the stand-in Sync Manager writes the emulated handheld's files.
#include "sim/sync20/sync20_test_fixture.h"

namespace korvet::sim::testing {
namespace {

TEST_F(Sync20Test, ChangesReachTheFileWhenTheDatabaseIsClosed) {
  const std::uint8_t handle = Create("KORVETDatabaseDB", 0x0008);
  EXPECT_TRUE(LoadFile("KORVETDatabaseDB").records.empty());  // created, empty, on disk at once
  const std::uint32_t id =
      Write(handle, 0, handheld::kHandheldModified | handheld::kHandheldPrivate, 4, {'a', 0, 'b'}).recordId;
  Write(handle, 0, handheld::kHandheldDeleted | handheld::kHandheldArchived, 0, {'z'});
  EXPECT_TRUE(LoadFile("KORVETDatabaseDB").records.empty());
  ASSERT_EQ(CloseHandheldDatabase(handle), 0);

  const PalmDatabase file = LoadFile("KORVETDatabaseDB");
  EXPECT_EQ(file.name, "KORVETDatabaseDB");
  EXPECT_EQ(file.creator, kCreator);
  EXPECT_EQ(file.type, kType);
  EXPECT_EQ(file.flags, 0x0008);
  EXPECT_EQ(file.version, 2);
  EXPECT_NE(file.creationDate, 0u);
  ASSERT_EQ(file.records.size(), 2u);
  EXPECT_EQ(file.records[0].id, id);
  EXPECT_EQ(file.records[0].attributes, kRecModified | kRecPrivate);
  EXPECT_EQ(file.records[0].category, 4);
  EXPECT_EQ(file.records[0].data, (Bytes{'a', 0, 'b'}));
  EXPECT_EQ(file.records[1].attributes, kRecDeleted | kRecArchived);
  EXPECT_FALSE(FileExists(FilePath("KORVETDatabaseDB") + ".tmp"));
}

TEST_F(Sync20Test, EndingTheSessionWritesBackAndForgetsHandles) {
  const std::uint8_t first = Create("One");
  const std::uint8_t second = Create("Two");
  Write(first, 0, 0, 0, {'1'});
  Write(second, 0, 0, 0, {'2'});
  std::uint32_t session = 0;
  ASSERT_EQ(OpenSyncSession(&session), 0);
  ASSERT_EQ(CloseSyncSession(session), 0);
  // The sync session's end reaches the files; the databases stay open under their handles.
  EXPECT_EQ(LoadFile("One").records.size(), 1u);
  EXPECT_EQ(Count(first), 1);
  Write(first, 0, 0, 0, {'3'});

  ASSERT_EQ(SimEndSession(), 0);
  EXPECT_EQ(LoadFile("One").records.size(), 2u);
  EXPECT_EQ(LoadFile("Two").records.size(), 1u);
  EXPECT_EQ(CloseHandheldDatabase(first), kSyncErrBadHandle);
  EXPECT_EQ(Open("Two"), 1);
}

TEST_F(Sync20Test, ALeftoverTemporaryFileIsReplacedAndNeverRead) {
  const std::uint8_t handle = Create("Db");
  Write(handle, 0, 0, 0, {'o', 'l', 'd'});
  ASSERT_EQ(CloseHandheldDatabase(handle), 0);
  std::string error;
  korvet::testing::ScratchFolder::WritePath(FilePath("Db") + ".tmp", std::string(10, '\xFF'));
  const std::uint8_t again = Open("Db");
  EXPECT_EQ(ReadIndex(again, 0).Data(), (Bytes{'o', 'l', 'd'}));
  Write(again, 0, 0, 0, {'n', 'e', 'w'});
  ASSERT_EQ(CloseHandheldDatabase(again), 0);
  EXPECT_EQ(LoadFile("Db").records.size(), 2u);
  EXPECT_FALSE(FileExists(FilePath("Db") + ".tmp"));
}

TEST_F(Sync20Test, AFailedWriteBackKeepsTheOldFileAndTheOpenDatabase) {
  const std::uint8_t handle = Create("Db");
  Write(handle, 0, 0, 0, {'1'});
  ASSERT_EQ(CloseHandheldDatabase(handle), 0);
  const std::uint8_t again = Open("Db");
  Write(again, 0, 0, 0, {'2'});
  // A folder where the temporary file must go makes the save fail.
  const std::string blocker = FilePath("Db") + ".tmp";
  ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
  EXPECT_EQ(CloseHandheldDatabase(again), kSyncErrStorage);
  EXPECT_EQ(LoadFile("Db").records.size(), 1u);  // the previous file is intact
  EXPECT_EQ(Count(again), 2);                    // and nothing is lost in memory
  ASSERT_TRUE(RemoveDirectoryA(blocker.c_str()));
  EXPECT_EQ(CloseHandheldDatabase(again), 0);
  EXPECT_EQ(LoadFile("Db").records.size(), 2u);

  const std::uint8_t third = Open("Db");
  Write(third, 0, 0, 0, {'3'});
  ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
  EXPECT_EQ(SimEndSession(), kSyncErrStorage);
  EXPECT_EQ(LoadFile("Db").records.size(), 2u);
  RemoveDirectoryA(blocker.c_str());
}

TEST_F(Sync20Test, UnchangedDatabasesAreNotRewritten) {
  ASSERT_EQ(CloseHandheldDatabase(Create("Db")), 0);
  // With a folder where the temporary file must go, any rewrite would fail the close.
  const std::string blocker = FilePath("Db") + ".tmp";
  ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
  const std::uint8_t handle = Open("Db");
  Count(handle);
  ReadIndex(handle, 0, 0x4003);
  EXPECT_EQ(ClearHandheldSyncFlags(handle), 0);  // nothing to clear
  EXPECT_EQ(CloseHandheldDatabase(handle), 0);
  RemoveDirectoryA(blocker.c_str());
}

TEST_F(Sync20Test, SwitchingTheInstallationWritesBackToTheOldOne) {
  const std::uint8_t handle = Create("Db");
  Write(handle, 0, 0, 0, {'x'});
  const std::string other = install_ + "\\Other";
  ASSERT_EQ(SimSetInstallDirectory(other.c_str()), 0);
  EXPECT_EQ(LoadFile("Db").records.size(), 1u);
  EXPECT_EQ(CloseHandheldDatabase(handle), kSyncErrBadHandle);
  std::uint8_t none = 0;
  EXPECT_EQ(OpenHandheldDatabase("Db", 0, &none, 0xC0), 0x4003);
  EXPECT_NE(GetFileAttributesA((other + "\\Handheld").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(SimSetInstallDirectory(""), kSyncErrBadArgument);
  EXPECT_EQ(SimSetInstallDirectory(nullptr), kSyncErrBadArgument);
}

}  // namespace
}  // namespace korvet::sim::testing
