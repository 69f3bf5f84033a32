#include "conduit/store/archive_database_manager.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "conduit/store/status_codes.h"
#include "conduit/test_support/desktop_file_image.h"
#include "conduit/test_support/hotsync_bench.h"
#include "conduit/test_support/store_counts.h"

namespace korvet::store {
namespace {

class ArchiveStoreTest : public ::testing::Test {
 protected:
  ArchiveDatabaseManager Archive(const char* fileName) {
    return ArchiveDatabaseManager(nullptr, 0, "KORVETDatabaseDB", fileName, folder_.Path().c_str());
  }
  static long Count(DatabaseManager& store) { return testing::RecordCount(store); }

  testing::HotSyncBench bench_;
  const testing::ScratchFolder& folder_ = bench_.Folder();
};

TEST_F(ArchiveStoreTest, SitsBesideTheDesktopFileWithItsOwnExtension) {
  EXPECT_EQ(Archive("Unit.qzl").Path(), folder_.File("Unit.ARC"));
  EXPECT_EQ(Archive("Unit").Path(), folder_.File("Unit.ARC"));
  EXPECT_EQ(Archive(nullptr).Path(), folder_.File("GenericDB.ARC"));
  EXPECT_EQ(Archive("Unit.qzl").GetSyncType(), kFastSync);
}

TEST_F(ArchiveStoreTest, MissingArchiveIsAnEmptyStoreAfterTheOpenLogLines) {
  ArchiveDatabaseManager archive = Archive("Unit.qzl");
  EXPECT_EQ(archive.OpenForSync(), kOk);
  EXPECT_EQ(Count(archive), 0);
  EXPECT_EQ(bench_.LogTexts(), (std::vector<std::string>{kSettingsFileMissingText, folder_.File("Unit.ARC")}));
  EXPECT_EQ(archive.FinishSync(), kOk);  // nothing changed, nothing to save
  EXPECT_FALSE(folder_.Exists("Unit.ARC"));
}

// The save stream goes nowhere: archiving never creates or changes an archive file.
TEST_F(ArchiveStoreTest, ArchivedRecordsAreNeverWritten) {
  ArchiveDatabaseManager archive = Archive("Unit.qzl");
  ASSERT_EQ(archive.OpenForSync(), kOk);
  archive.SetDatabaseInfo("KORVETDatabaseDB", 0, 0, 0, 0, 0, 0, 0, 0);
  SyncRecord record;
  record.SetData(4, "gone");
  ASSERT_EQ(archive.AddRecord(record), kOk);
  archive.FinishSync();
  EXPECT_FALSE(archive.IsFileOpen());
  EXPECT_FALSE(folder_.Exists("Unit.ARC"));
  EXPECT_EQ(archive.OpenForSync(), kDesktopFileNotFound);  // after the sync only the closed mode
}

TEST_F(ArchiveStoreTest, GenericFileIsTakenAsEmptyAndAFileThatPassesTheTextTestLoads) {
  testing::DesktopFileImage generic;
  generic.Header(1).Record(5, 0, 0, "old");
  folder_.Write("Unit.ARC", generic.Bytes());
  ArchiveDatabaseManager first = Archive("Unit.qzl");
  EXPECT_EQ(first.OpenForSync(), kOk);
  EXPECT_EQ(Count(first), 0);

  testing::DesktopFileImage accepted;
  accepted.Raw(std::string("K\0", 2)).Header(1).Record(5, 0x01, 2, "old");
  folder_.Write("Other.ARC", accepted.Bytes());
  ArchiveDatabaseManager second = Archive("Other.qzl");
  ASSERT_EQ(second.OpenForSync(), kOk);
  ASSERT_EQ(Count(second), 1);
  EXPECT_EQ(second.RecordAt(0)->GetId(), 5u);
  EXPECT_FALSE(second.RecordAt(0)->IsUnmatched());
}

// Whatever an archive file holds, opening and loading it ends with a status.
TEST_F(ArchiveStoreTest, HostileArchiveFilesNeverCrash) {
  const std::set<long> allowed = {
      kOk, kHeaderUnreadable, kAppInfoUnreadable, kSortInfoUnreadable, kRecordHeadUnreadable, kShortRead, kEndOfFile};
  std::mt19937 random(20261208);
  for (int round = 0; round < 150; ++round) {
    std::string bytes("K\0", 2);
    const int shape = round % 3;
    if (shape == 0) {
      // Noise.
      const std::size_t size = random() % 600;
      for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>(random());
    } else {
      // A plausible header with damaged sizes and counts, then noisy records.
      testing::DesktopFileImage image;
      image.Header(random() % 50, shape == 1 ? random() % 200 : 0, random() % 2 ? random() : 0);
      for (int i = 0; i < 3; ++i) image.Head(random() % 120, random(), random() & 0xFFFF, random(), random());
      bytes += image.Bytes();
      const std::size_t tail = random() % 200;
      for (std::size_t i = 0; i < tail; ++i) bytes += static_cast<char>(random());
    }
    folder_.Write("Hostile.ARC", bytes);
    ArchiveDatabaseManager archive = Archive("Hostile.qzl");
    const long status = archive.OpenForSync();
    EXPECT_TRUE(allowed.count(status)) << "round " << round << " status " << status;
    for (long slot = 0; slot < archive.HighWaterMark(); ++slot) {
      if (const SyncRecord* record = archive.RecordAt(slot)) {
        EXPECT_GE(record->GetCategory(), 0);
        EXPECT_LT(record->GetCategory(), 16);
      }
    }
    archive.FinishSync();
  }
  EXPECT_EQ(folder_.Read("Hostile.ARC").substr(0, 2), std::string("K\0", 2));
}

}  // namespace
}  // namespace korvet::store
