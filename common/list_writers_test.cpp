#include "common/list_writers.h"
#include "common/listed_file.h"
#include "common/report_folder_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "common/file_steps.h"
#include "common/list_display.h"
#include "common/win_file.h"
#include "tests/support/scratch_folder.h"

namespace korvet {
namespace {

class ListFilesTest : public ::testing::Test {
 protected:
  testing::ScratchFolder folder_;
  std::string list_ = folder_.Write("Xembrafilepath.dat", "");
  std::string reports_ = folder_.Write("Cardoon.dat", "");
};

TEST_F(ListFilesTest, LifeOfBothFilesFromTheToolsToTheDialog) {
  ASSERT_TRUE(WriteReportFolder(reports_, "C:\\Reports"));
  EXPECT_EQ(folder_.Read("Cardoon.dat"), "C:\\Reports\\@");
  ASSERT_TRUE(RewriteReportFolderFlags(reports_, false, false));
  EXPECT_EQ(folder_.Read("Cardoon.dat"), "C:\\Reports\\@$%");

  ASSERT_TRUE(WriteSettingsListEntries(list_, "C:\\Data\\,site1.qzl*"));
  EXPECT_EQ(folder_.Read("Xembrafilepath.dat"), "C:\\Data\\,site1.qzl*@");
  ASSERT_TRUE(RewriteSettingsListFlag(list_, true));
  EXPECT_EQ(folder_.Read("Xembrafilepath.dat"), "C:\\Data\\,site1.qzl*@^");
}

TEST_F(ListFilesTest, FlagRewriteReplacesOldFlagsAndDropsTrailingBytes) {
  folder_.Write("Xembrafilepath.dat", "C:\\D\\,a.qzl*@^C:\\D\\,old.qzl*@$");
  ASSERT_TRUE(RewriteSettingsListFlag(list_, false));
  EXPECT_EQ(folder_.Read("Xembrafilepath.dat"), "C:\\D\\,a.qzl*@$");

  folder_.Write("Cardoon.dat", "C:\\R\\@$#old");
  ASSERT_TRUE(RewriteReportFolderFlags(reports_, true, true));
  EXPECT_EQ(folder_.Read("Cardoon.dat"), "C:\\R\\@^#");
}

TEST_F(ListFilesTest, EmptyFilesStayEmptyAfterTheFlagRewrite) {
  ASSERT_TRUE(RewriteSettingsListFlag(list_, true));
  EXPECT_EQ(folder_.Read("Xembrafilepath.dat"), "");
  ASSERT_TRUE(RewriteReportFolderFlags(reports_, false, true));
  EXPECT_EQ(folder_.Read("Cardoon.dat"), "");
}

TEST_F(ListFilesTest, FileWithoutMarkerKeepsItsTextWithoutFlags) {
  folder_.Write("Xembrafilepath.dat", "C:\\D\\,a.qzl*");
  ASSERT_TRUE(RewriteSettingsListFlag(list_, true));
  EXPECT_EQ(folder_.Read("Xembrafilepath.dat"), "C:\\D\\,a.qzl*");
}

TEST_F(ListFilesTest, TooShortResultsLeaveTheFileEmpty) {
  folder_.Write("Xembrafilepath.dat", "@");
  ASSERT_TRUE(RewriteSettingsListFlag(list_, true));
  EXPECT_EQ(folder_.Read("Xembrafilepath.dat"), "");
  folder_.Write("Cardoon.dat", "@");
  ASSERT_TRUE(RewriteReportFolderFlags(reports_, false, false));
  EXPECT_EQ(folder_.Read("Cardoon.dat"), "");
  folder_.Write("Cardoon.dat", "\\@");
  ASSERT_TRUE(RewriteReportFolderFlags(reports_, false, false));
  EXPECT_EQ(folder_.Read("Cardoon.dat"), "\\@$%");
}

TEST_F(ListFilesTest, ToolsWriteExactlyTheNewContentAndKeepTheFlagsAfterTheOldMarker) {
  // A shorter list leaves no stale bytes of the old one; the purge flag stays, the editor never decides it.
  folder_.Write("Xembrafilepath.dat", "C:\\A\\,one.qzl*C:\\A\\,two.qzl*@^");
  ASSERT_TRUE(WriteSettingsListEntries(list_, "C:\\A\\,one.qzl*"));
  EXPECT_EQ(folder_.Read("Xembrafilepath.dat"), "C:\\A\\,one.qzl*@^");
  // Stale bytes of an older write are dropped with it; a list without flag gets none.
  folder_.Write("Xembrafilepath.dat", "C:\\A\\,one.qzl*@:\\A\\,two.qzl*@^");
  ASSERT_TRUE(WriteSettingsListEntries(list_, "C:\\B\\,three.qzl*"));
  EXPECT_EQ(folder_.Read("Xembrafilepath.dat"), "C:\\B\\,three.qzl*@");
  folder_.Write("Xembrafilepath.dat", "C:\\A\\,one.qzl*");
  ASSERT_TRUE(WriteSettingsListEntries(list_, "C:\\A\\,one.qzl*C:\\A\\,two.qzl*"));
  EXPECT_EQ(folder_.Read("Xembrafilepath.dat"), "C:\\A\\,one.qzl*C:\\A\\,two.qzl*@");

  folder_.Write("Cardoon.dat", "C:\\Long Report Folder\\@$#");
  ASSERT_TRUE(WriteReportFolder(reports_, "C:\\R"));
  EXPECT_EQ(folder_.Read("Cardoon.dat"), "C:\\R\\@$#");
  folder_.Write("Cardoon.dat", "C:\\R\\@^");
  ASSERT_TRUE(WriteReportFolder(reports_, "C:\\Longer Report Folder"));
  EXPECT_EQ(folder_.Read("Cardoon.dat"), "C:\\Longer Report Folder\\@^");
  folder_.Write("Cardoon.dat", "C:\\R\\@x$%");
  ASSERT_TRUE(WriteReportFolder(reports_, "C:\\S"));
  EXPECT_EQ(folder_.Read("Cardoon.dat"), "C:\\S\\@");
  ASSERT_TRUE(WriteReportFolder(reports_, ""));
  EXPECT_EQ(folder_.Read("Cardoon.dat"), "\\@");
}

TEST_F(ListFilesTest, FolderPickerShowsTheFolderWithoutTheBackslashItAdded) {
  folder_.Write("Cardoon.dat", "C:\\Reports\\@$%");
  EXPECT_EQ(ReadFolderPickerText(reports_).value_or("<none>"), "C:\\Reports");
  folder_.Write("Cardoon.dat", "C:\\Reports");  // no end marker: shown whole
  EXPECT_EQ(ReadFolderPickerText(reports_).value_or("<none>"), "C:\\Reports");
  folder_.Write("Cardoon.dat", "@");
  EXPECT_EQ(ReadFolderPickerText(reports_).value_or("<none>"), "");
  EXPECT_EQ(ReadFolderPickerText(folder_.File("new.dat")).value_or("<none>"), "");
  EXPECT_TRUE(folder_.Exists("new.dat"));
}

TEST_F(ListFilesTest, ListEditorEmptiesTheFileForAnAlmostEmptyText) {
  folder_.Write("Xembrafilepath.dat", "C:\\A\\,one.qzl*@^");
  ASSERT_TRUE(WriteSettingsListEntries(list_, "abc"));
  EXPECT_EQ(folder_.Read("Xembrafilepath.dat"), "");
}

TEST_F(ListFilesTest, DriveRootIsStoredWithTwoBackslashes) {
  folder_.Write("Cardoon.dat", "C:\\Reports\\@$%");
  ASSERT_TRUE(WriteReportFolder(reports_, "D:\\"));
  EXPECT_EQ(folder_.Read("Cardoon.dat"), "D:\\\\@$%");
  EXPECT_EQ(ReportFolderSettings::ShownFolder(ReadListText(reports_).value_or("<none>")), "D:\\");
}

TEST_F(ListFilesTest, WritersRefuseAMissingOrLockedFile) {
  EXPECT_FALSE(WriteReportFolder(folder_.File("missing.dat"), "C:\\R"));
  EXPECT_FALSE(folder_.Exists("missing.dat"));
  WinFile held = WinFile::OpenForReading(list_);
  ASSERT_TRUE(held);
  EXPECT_FALSE(WriteSettingsListEntries(list_, "C:\\D\\,a.qzl*"));
  EXPECT_FALSE(RewriteSettingsListFlag(list_, true));
}

// A list that is there but cannot be written (here its name is taken by a folder, as a read-only
// file is for a standard user): every writer says so. A missing list is no failure: nothing is
// written, as the tools have always done.
TEST_F(ListFilesTest, AListThatCannotBeWrittenIsAFailureTheUserIsTold) {
  for (const std::string& file : {list_, reports_}) {
    ASSERT_TRUE(DeleteFileA(file.c_str()));
    ASSERT_TRUE(CreateDirectoryA(file.c_str(), nullptr));
  }
  EXPECT_TRUE(WriteSettingsListEntries(list_, "C:\\D\\,c.qzl*").Failed());
  EXPECT_TRUE(WriteSettingsListEntries(list_, "").Failed());
  EXPECT_TRUE(RewriteSettingsListFlag(list_, true).Failed());
  EXPECT_TRUE(WriteReportFolder(reports_, "C:\\Other").Failed());
  EXPECT_TRUE(RewriteReportFolderFlags(reports_, true, false).Failed());
  for (const std::string& file : {list_, reports_}) RemoveDirectoryA(file.c_str());
  EXPECT_FALSE(WriteReportFolder(reports_, "C:\\Other").Failed());
  EXPECT_FALSE(folder_.Exists("Cardoon.dat"));
}

// A close of the new file that reports an error (a network folder's write held back until then)
// leaves the list as it was, with nothing beside it.
TEST_F(ListFilesTest, ANewFileWhoseCloseFailsLeavesTheListAsItWas) {
  class CloseFails : public FileSteps {
    bool Close(WinFile& file) override {
      file.Close();
      SetLastError(ERROR_NETNAME_DELETED);
      return false;
    }
  } steps;
  folder_.Write("Xembrafilepath.dat", "C:\\D\\,a.qzl*@$");
  WinFile held = WinFile::OpenForUpdate(list_);
  ASSERT_TRUE(held);
  EXPECT_FALSE(ReplaceFileContent(held, list_, "C:\\D\\,b.qzl*@$", steps));
  EXPECT_EQ(folder_.Read("Xembrafilepath.dat"), "C:\\D\\,a.qzl*@$");
  EXPECT_FALSE(folder_.Exists("Xembrafilepath.dat.new"));
}

// Where the folder takes no new file beside the list (a standard user in the HotSync folder under
// Program Files), every writer writes in place, longer and shorter contents alike; a stale new file,
// read-only and hidden, never blocks a save, and nothing is left beside a list that was written.
TEST_F(ListFilesTest, ListsAreWrittenInPlaceWhereNoNewFileCanBeMade) {
  folder_.Write("Xembrafilepath.dat", "C:\\D\\,a.qzl*C:\\D\\,b.qzl*@$");
  folder_.Write("Cardoon.dat", "C:\\Reports\\@$#");
  ASSERT_TRUE(CreateDirectoryA((list_ + ".new").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((reports_ + ".new").c_str(), nullptr));
  EXPECT_TRUE(WriteSettingsListEntries(list_, "C:\\D\\,a.qzl*C:\\D\\,b.qzl*C:\\Longer\\,c.qzl*"));
  EXPECT_EQ(folder_.Read("Xembrafilepath.dat"), "C:\\D\\,a.qzl*C:\\D\\,b.qzl*C:\\Longer\\,c.qzl*@$");
  EXPECT_TRUE(RewriteSettingsListFlag(list_, true));
  EXPECT_EQ(folder_.Read("Xembrafilepath.dat"), "C:\\D\\,a.qzl*C:\\D\\,b.qzl*C:\\Longer\\,c.qzl*@^");
  EXPECT_TRUE(WriteSettingsListEntries(list_, "C:\\D\\,a.qzl*"));
  EXPECT_EQ(folder_.Read("Xembrafilepath.dat"), "C:\\D\\,a.qzl*@^");
  EXPECT_TRUE(WriteReportFolder(reports_, "C:\\Other"));
  EXPECT_TRUE(RewriteReportFolderFlags(reports_, true, false));
  EXPECT_EQ(folder_.Read("Cardoon.dat"), "C:\\Other\\@^%");
  EXPECT_TRUE(WriteSettingsListEntries(list_, ""));
  EXPECT_EQ(folder_.Read("Xembrafilepath.dat"), "");
  RemoveDirectoryA((list_ + ".new").c_str());
  RemoveDirectoryA((reports_ + ".new").c_str());

  folder_.Write("Xembrafilepath.dat.new", "stale");
  SetFileAttributesA((list_ + ".new").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  folder_.Write("Xembrafilepath.dat", "C:\\D\\,a.qzl*@$");
  EXPECT_TRUE(RewriteSettingsListFlag(list_, true));
  EXPECT_EQ(folder_.Read("Xembrafilepath.dat"), "C:\\D\\,a.qzl*@^");
  EXPECT_FALSE(folder_.Exists("Xembrafilepath.dat.new"));
}

TEST_F(ListFilesTest, DisplayReadersShowLinesAndFolder) {
  folder_.Write("Xembrafilepath.dat", "C:\\Data\\,site1.qzl*C:\\Data\\,site2.qzl*@^");
  auto text = ReadListText(list_);
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, "C:\\Data\\,site1.qzl*C:\\Data\\,site2.qzl*");
  EXPECT_EQ(ListedFiles::Parse(*text).Shown(), "C:\\Data\\site1.qzl\r\nC:\\Data\\site2.qzl\r\n");

  folder_.Write("Cardoon.dat", "C:\\Reports\\@$#");
  EXPECT_EQ(ReportFolderSettings::ShownFolder(ReadListText(reports_).value_or("<none>")), "C:\\Reports");
}

TEST_F(ListFilesTest, DisplayReaderCreatesAMissingFileEmptyAndStopsAtNul) {
  std::string path = folder_.File("new.dat");
  EXPECT_EQ(ReadListText(path).value_or("<none>"), "");
  EXPECT_TRUE(folder_.Exists("new.dat"));
  folder_.Write("zero.dat", std::string("C:\\a\0b@", 7));
  EXPECT_EQ(ReadListText(folder_.File("zero.dat")).value_or("<none>"), "C:\\a");
  folder_.Write("big.dat", std::string(20000, 'x'));
  EXPECT_EQ(ReadListText(folder_.File("big.dat"))->size(), 10240u);
  EXPECT_EQ(ReadListEntryText(folder_.File("big.dat"))->size(), 20000u);  // the list editor's, read whole
}

// On a full disk, a list that grows past its old size cannot be written: the old list stays whole
// instead of being cut where the disk ran out. Needs a small file system of its own
// (tests/full_disk_lists.sh mounts one and names it in KORVET_FULL_DISK).
TEST(ListFilesOnAFullDisk, AListThatNoLongerFitsKeepsItsOldContent) {
  const char* folder = std::getenv("KORVET_FULL_DISK");
  if (!folder) GTEST_SKIP() << "no small file system given (tests/full_disk_lists.sh)";
  const std::string list = std::string(folder) + "\\Xembrafilepath.dat";
  std::string entries;
  for (int i = 0; i < 30; ++i)
    entries += "C:\\Survey\\" + std::string(100, 'a' + i % 26) + "\\,f" + std::to_string(i) + ".qzl*";
  const std::string old = entries + "@$";  // within one page of the file system
  ASSERT_LT(old.size(), 4096u);
  testing::ScratchFolder::WritePath(list, old);
  ASSERT_EQ(testing::ScratchFolder::ReadPath(list), old);
  // No new file can be made beside it (for the first write below), and what is left of the disk is filled.
  ASSERT_TRUE(CreateDirectoryA((list + ".new").c_str(), nullptr));
  const std::string filler = std::string(folder) + "\\filler";
  {
    WinFile fill = WinFile::CreateAlways(filler);
    ASSERT_TRUE(fill);
    const std::string chunk(1024, 'x');
    while (fill.Write(chunk)) {
    }
  }

  const std::string longer = entries + entries.substr(0, 1000);  // now past one page
  auto read = [&] { return testing::ScratchFolder::ReadPath(list); };
  // Written in place, the longer list finds no room for its new length before any old byte changes.
  EXPECT_TRUE(WriteSettingsListEntries(list, longer).Failed());
  EXPECT_TRUE(read() == old);
  ASSERT_TRUE(RemoveDirectoryA((list + ".new").c_str()));
  EXPECT_TRUE(WriteSettingsListEntries(list, longer).Failed());
  EXPECT_TRUE(read() == old);
  // Even a rewrite of the same size needs room for its new copy beside the old one.
  EXPECT_TRUE(RewriteSettingsListFlag(list, true).Failed());
  EXPECT_TRUE(read() == old);

  ASSERT_TRUE(DeleteFileA(filler.c_str()));
  EXPECT_TRUE(WriteSettingsListEntries(list, longer));
  EXPECT_TRUE(read() == longer + "@$");
  EXPECT_FALSE(FileExists(list + ".new"));
}

// Run by tests/standard_user_lists.sh as a user who may write the list files but not their folder
// (the HotSync folder under Program Files for a standard user, once the installer granted the files).
TEST(StandardUserLists, EveryWriterSavesInPlace) {
  const char* folder = std::getenv("KORVET_STANDARD_USER_FOLDER");
  if (!folder) GTEST_SKIP() << "no folder given (tests/standard_user_lists.sh)";
  const std::string list = std::string(folder) + "\\Xembrafilepath.dat";
  const std::string reports = std::string(folder) + "\\Cardoon.dat";
  ASSERT_FALSE(WinFile::CreateNew(std::string(folder) + "\\probe")) << "the folder must take no new file";
  EXPECT_TRUE(WriteSettingsListEntries(list, "C:\\D\\,a.qzl*C:\\Longer\\,b.qzl*"));
  EXPECT_TRUE(RewriteSettingsListFlag(list, true));
  EXPECT_EQ(testing::ScratchFolder::ReadPath(list), "C:\\D\\,a.qzl*C:\\Longer\\,b.qzl*@^");
  EXPECT_TRUE(WriteReportFolder(reports, "C:\\Other"));
  EXPECT_TRUE(RewriteReportFolderFlags(reports, false, false));
  EXPECT_EQ(testing::ScratchFolder::ReadPath(reports), "C:\\Other\\@$%");
  EXPECT_FALSE(FileExists(list + ".new") || FileExists(reports + ".new"));
}

}  // namespace
}  // namespace korvet
