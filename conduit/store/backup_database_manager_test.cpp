#include "conduit/store/backup_database_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conduit/store/status_codes.h"
#include "conduit/test_support/desktop_file_image.h"
#include "conduit/test_support/hotsync_bench.h"
#include "conduit/test_support/store_counts.h"

namespace korvet::store {
namespace {

class BackupStoreTest : public ::testing::Test {
 protected:
  BackupDatabaseManager Backup(long syncType, const char* fileName = "Unit.qzl") {
    return BackupDatabaseManager(nullptr, 0, syncType, "KORVETDatabaseDB", fileName, folder_.Path().c_str());
  }
  static long Count(DatabaseManager& store) { return testing::RecordCount(store); }

  testing::HotSyncBench bench_;
  const testing::ScratchFolder& folder_ = bench_.Folder();
};

TEST_F(BackupStoreTest, KeepsTheSourcePathBesideTheBackupPath) {
  BackupDatabaseManager backup = Backup(kFastSync);
  EXPECT_EQ(backup.Path(), folder_.File("Unit.BAK"));
  EXPECT_EQ(backup.SourcePath(), folder_.File("Unit.qzl"));
  EXPECT_EQ(Backup(kFastSync, "Unit").Path(), folder_.File("Unit.BAK"));
}

// The copy holds the state of the last sync; the record that is sent stays the desktop file's own.
TEST_F(BackupStoreTest, ReadingTheCopyLeavesTheSharedSettingsRecordAlone) {
  folder_.Write("Unit.qzl", "Ko current");
  folder_.Write("Unit.BAK", "Ko previous");
  DesktopDatabaseManager desktop(nullptr, 0, kSlowSync, "KORVETDatabaseDB", "Unit.qzl", folder_.Path().c_str());
  ASSERT_EQ(desktop.OpenForSync(), kOk);
  BackupDatabaseManager backup = Backup(kSlowSync);
  ASSERT_EQ(backup.OpenForSync(), kOk);
  ASSERT_EQ(desktop.LoadContents(), kOk);
  SyncRecord record;
  ASSERT_EQ(desktop.ReadFirstRecord(record), kOk);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.GetData()), record.GetDataSize()), "Unit.qzl,Ko current*");
}

TEST_F(BackupStoreTest, FastSyncLoadsNothingAndStillReplacesTheCopy) {
  folder_.Write("Unit.qzl", "Ko new settings");
  folder_.Write("Unit.BAK", std::string("K\0", 2) + testing::DesktopFileImage().Header(1).Record(1, 0, 0, "x").Bytes());
  BackupDatabaseManager backup = Backup(kFastSync);
  EXPECT_EQ(backup.OpenForSync(), kOk);
  EXPECT_FALSE(backup.IsFileOpen());
  EXPECT_EQ(backup.LoadContents(), kOk);
  EXPECT_EQ(Count(backup), 0);
  EXPECT_EQ(backup.FinishSync(), kOk);
  EXPECT_EQ(folder_.Read("Unit.BAK"), "Ko new settings");
  EXPECT_EQ(folder_.Read("Unit.qzl"), "Ko new settings");
  EXPECT_TRUE(bench_.LogTexts().empty());
}

// Windows refuses the copy onto a read-only backup; the bench runs with rights that ignore the
// read-only mark, so a backup held open by another program and a folder in the backup's place stand
// in for it here.
TEST_F(BackupStoreTest, BackupThatCannotBeReplacedFailsTheCopy) {
  folder_.Write("Unit.qzl", "Ko new");
  const std::string backupPath = folder_.Write("Unit.BAK", "Ko old");
  {
    WinFile holder = WinFile::OpenForReading(backupPath);
    ASSERT_TRUE(holder.IsOpen());
    BackupDatabaseManager backup = Backup(kFastSync);
    EXPECT_EQ(backup.FinishSync(), kBackupCopyFailed);
  }
  EXPECT_EQ(folder_.Read("Unit.BAK"), "Ko old");

  folder_.Write("Dir.qzl", "Ko");
  ASSERT_TRUE(CreateDirectoryA(folder_.File("Dir.BAK").c_str(), nullptr));
  BackupDatabaseManager intoFolder = Backup(kFastSync, "Dir.qzl");
  EXPECT_EQ(intoFolder.FinishSync(), kBackupCopyFailed);
}

TEST_F(BackupStoreTest, SlowSyncWithoutABackupIsEmptyAfterTheOpenLogLines) {
  folder_.Write("Unit.qzl", "Ko");
  BackupDatabaseManager backup = Backup(kSlowSync);
  EXPECT_EQ(backup.OpenForSync(), kOk);
  EXPECT_EQ(Count(backup), 0);
  EXPECT_EQ(bench_.LogTexts(), (std::vector<std::string>{kSettingsFileMissingText, folder_.File("Unit.BAK")}));
  EXPECT_EQ(backup.FinishSync(), kOk);
  EXPECT_EQ(folder_.Read("Unit.BAK"), "Ko");
}

TEST_F(BackupStoreTest, SlowSyncLoadsTheLastStateMarkedUnmatched) {
  testing::DesktopFileImage image;
  image.Raw(std::string("K\0", 2)).Header(2).Record(4, 0, 1, "four").Record(5, 0, 0, "five");
  folder_.Write("Unit.BAK", image.Bytes());
  folder_.Write("Unit.qzl", "Ko");
  BackupDatabaseManager backup = Backup(kSlowSync);
  ASSERT_EQ(backup.OpenForSync(), kOk);
  ASSERT_EQ(Count(backup), 2);
  EXPECT_TRUE(backup.RecordAt(1)->IsUnmatched());
  SyncRecord found;
  EXPECT_EQ(backup.ReadRecordById(5, found, false), kOk);
  EXPECT_EQ(backup.LoadContents(), kOk);  // once per store
  EXPECT_EQ(Count(backup), 2);
}

// A backup copy is only the last sync's state: a damaged one is reported and left out, and the sync
// goes on as with no copy at all.
TEST_F(BackupStoreTest, DamagedBackupIsReportedAndLeftOut) {
  testing::DesktopFileImage image;
  image.Raw(std::string("K\0", 2)).Header(3).Record(4, 0, 1, "four").Head(70000, 5, 0, 0, 1);
  folder_.Write("Unit.BAK", image.Bytes());
  testing::HotSyncBench bench;
  BackupDatabaseManager backup = Backup(kSlowSync);
  EXPECT_EQ(backup.OpenForSync(), kOk);
  EXPECT_EQ(Count(backup), 0);
  EXPECT_EQ(bench.LogTexts(), std::vector<std::string>{"Backup copy could not be read (damaged, status 4383), the "
                                                       "settings file is sent without it: " +
                                                       folder_.File("Unit.BAK")});
}

}  // namespace
}  // namespace korvet::store
