#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sim/pdb/palm_database.h"
#include "sim/support/sim_files.h"
#include "tests/support/scratch_folder.h"

namespace korvet::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Each test works in a fresh folder under the temporary folder, removed with its files afterwards.
class HandheldFolderTest : public ::testing::Test {
 protected:
  static Bytes ReadFile(const std::string& path) {
    Bytes bytes;
    std::string error;
    EXPECT_TRUE(ReadWholeFile(path, 1 << 24, &bytes, &error)) << error;
    return bytes;
  }

  static PalmDatabase Database(const std::string& name, std::uint8_t firstByte) {
    PalmDatabase database;
    database.name = name;
    PalmRecord record;
    record.id = 0x10;
    record.category = 4;
    record.data = {firstByte, 2, 3};
    database.records.push_back(record);
    return database;
  }

  testing::ScratchFolder scratch_;
  const std::string root_ = scratch_.Path();
};

TEST_F(HandheldFolderTest, SaveLoadListRemove) {
  HandheldFolder folder(root_ + "\\");
  EXPECT_EQ(folder.Folder(), root_);
  EXPECT_EQ(folder.PathOf("MemoDB"), root_ + "\\MemoDB.pdb");
  std::string error;
  ASSERT_TRUE(folder.Save(Database("MemoDB", 1), &error)) << error;
  ASSERT_TRUE(folder.Save(Database("AddressDB", 5), &error)) << error;
  EXPECT_EQ(ReadFile(folder.PathOf("MemoDB")), SerializePalmDatabase(Database("MemoDB", 1)));
  EXPECT_THAT(folder.List(), ::testing::ElementsAre("AddressDB", "MemoDB"));
  EXPECT_TRUE(folder.Exists("MemoDB"));
  EXPECT_FALSE(folder.Exists("ToDoDB"));

  const auto loaded = folder.Load("AddressDB", &error);
  ASSERT_TRUE(loaded) << error;
  EXPECT_EQ(loaded->records.at(0).data, (Bytes{5, 2, 3}));
  EXPECT_EQ(loaded->records.at(0).category, 4);

  EXPECT_TRUE(folder.Remove("MemoDB"));
  EXPECT_FALSE(folder.Remove("MemoDB"));
  EXPECT_THAT(folder.List(), ::testing::ElementsAre("AddressDB"));
  EXPECT_FALSE(folder.Load("MemoDB", &error));
  EXPECT_THAT(error, ::testing::HasSubstr("MemoDB.pdb"));
}

TEST_F(HandheldFolderTest, SaveCreatesMissingFolders) {
  HandheldFolder folder(root_ + "\\Install\\Handheld");
  std::string error;
  ASSERT_TRUE(folder.Save(Database("New", 1), &error)) << error;
  EXPECT_TRUE(FileExists(root_ + "\\Install\\Handheld\\New.pdb"));
  HandheldFolder missing(root_ + "\\Nowhere");
  EXPECT_TRUE(missing.List().empty());
}

TEST_F(HandheldFolderTest, SaveReplacesTheOldFileAndIgnoresALeftoverTemporary) {
  HandheldFolder folder(root_);
  std::string error;
  ASSERT_TRUE(folder.Save(Database("Db", 1), &error)) << error;
  // An earlier save that stopped half-way left its temporary file behind.
  testing::ScratchFolder::WritePath(folder.PathOf("Db") + ".tmp", "\xDE\xAD");
  EXPECT_THAT(folder.List(), ::testing::ElementsAre("Db"));
  EXPECT_EQ(folder.Load("Db", &error)->records.at(0).data[0], 1);

  ASSERT_TRUE(folder.Save(Database("Db", 9), &error)) << error;
  EXPECT_EQ(ReadFile(folder.PathOf("Db")), SerializePalmDatabase(Database("Db", 9)));
  EXPECT_FALSE(FileExists(folder.PathOf("Db") + ".tmp"));
}

TEST_F(HandheldFolderTest, AFailedSaveKeepsThePreviousFile) {
  HandheldFolder folder(root_);
  std::string error;
  // A folder in the way of the file: the rename cannot replace it.
  CreateDirectoryA(folder.PathOf("Blocked").c_str(), nullptr);
  EXPECT_FALSE(folder.Save(Database("Blocked", 1), &error));
  EXPECT_THAT(error, ::testing::HasSubstr("Blocked.pdb"));
  EXPECT_FALSE(FileExists(folder.PathOf("Blocked") + ".tmp"));

  ASSERT_TRUE(folder.Save(Database("Kept", 1), &error)) << error;
  PalmDatabase tooMany = Database("Kept", 2);
  tooMany.records.resize(kMaxRecordCount + 1);
  EXPECT_FALSE(folder.Save(tooMany, &error));
  EXPECT_THAT(error, ::testing::HasSubstr("65535"));
  EXPECT_EQ(ReadFile(folder.PathOf("Kept")), SerializePalmDatabase(Database("Kept", 1)));
}

TEST_F(HandheldFolderTest, DamagedFilesAreRejectedWithTheirPath) {
  HandheldFolder folder(root_);
  std::string error;
  Bytes bytes = SerializePalmDatabase(Database("Broken", 1));
  bytes.resize(60);
  testing::ScratchFolder::WritePath(folder.PathOf("Broken"), std::string(bytes.begin(), bytes.end()));
  EXPECT_FALSE(folder.Load("Broken", &error));
  EXPECT_THAT(error, ::testing::HasSubstr("Broken.pdb is damaged: truncated header"));
  EXPECT_EQ(ReadFile(folder.PathOf("Broken")), bytes);  // left as it was for inspection
}

TEST_F(HandheldFolderTest, NamesThatCannotBeFileNames) {
  EXPECT_TRUE(HandheldFolder::IsStorableName("KORVETDatabaseDB"));
  EXPECT_TRUE(HandheldFolder::IsStorableName(std::string(31, 'a')));
  EXPECT_TRUE(HandheldFolder::IsStorableName("Memo Pad-1.x"));
  for (const std::string& bad : std::vector<std::string>{"", "a/b", "a\\b", "c:", "what?", "star*", "end.", "end ",
                                                         "tab\t", std::string(32, 'a')}) {
    EXPECT_FALSE(HandheldFolder::IsStorableName(bad)) << bad;
  }
  HandheldFolder folder(root_);
  std::string error;
  EXPECT_FALSE(folder.Save(Database("..\\escape", 1), &error));
  EXPECT_FALSE(folder.Exists("..\\escape"));
  EXPECT_FALSE(folder.Load("a:b", &error));
}

}  // namespace
}  // namespace korvet::sim
