#include "conduit/sync/settings_file_synchronizer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/win_file.h"
#include "conduit/base/allocation.h"
#include "conduit/store/status_codes.h"
#include "conduit/test_support/hotsync_bench.h"
#include "conduit/test_support/korvet_properties.h"
#include "sim/sync20/sync20_control.h"

namespace korvet::sync {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

class SettingsFileSynchronizerTest : public ::testing::Test {
 protected:
  long Send(const std::string& name, long syncType, std::shared_ptr<SettingsTransferSession> session = nullptr) {
    const SyncProperties properties = testing::KorvetProperties(syncType, bench_.Folder().WithSlash(), name);
    SettingsFileSynchronizer synchronizer(properties, kSettingsSyncOptions, std::move(session));
    return synchronizer.Run();
  }

  testing::HotSyncBench bench_;
};

TEST_F(SettingsFileSynchronizerTest, AFastSyncWritesOneRecordAndLeavesTheReportsUnread) {
  // As the device leaves them, half of them marked modified.
  for (int i = 0; i < 20; ++i) {
    bench_.AddRecord("$0000001R" + std::to_string(i) + ",text", i % 2 == 0 ? handheld::kHandheldModified : 0, 0);
  }
  bench_.Folder().Write("dummy.qzl", "Ko1");
  SimResetCallCounts();
  ASSERT_EQ(Send("dummy.qzl", kFastSync), 0);
  EXPECT_EQ(bench_.Records().back().data, "dummy.qzl,Ko1*");
  EXPECT_EQ(bench_.Records().size(), 21u);
  EXPECT_EQ(bench_.Folder().Read("dummy.BAK"), "Ko1");
  // The reports are neither read one by one nor written: calls do not grow with them. The record it
  // wrote is not looked up again, and the handheld's ID list is not read.
  EXPECT_EQ(SimCallCount("ReadHandheldRecordById"), 0);
  EXPECT_EQ(SimCallCount("SyncReadPositionXMap"), 0);
  EXPECT_EQ(SimCallCount("ReadNextModifiedHandheldRecord"), 0);
  // Their changed marks are cleared at the close all the same.
  for (const auto& record : bench_.Records())
    EXPECT_EQ(record.attributes & handheld::kHandheldModified, 0) << record.data;
  EXPECT_EQ(SimCallCount("WriteHandheldRecord"), 1);
}

TEST_F(SettingsFileSynchronizerTest, ARecreateKeepsTheReportsAndHappensOncePerSession) {
  bench_.AddRecord("$0000001North,1", 0, 0);
  bench_.AddRecord("old.qzl,Ko0*", 0, 0);
  bench_.Folder().Write("a.qzl", "Koa");
  bench_.Folder().Write("b.qzl", "Kob");
  auto session = std::make_shared<SettingsTransferSession>();
  ASSERT_EQ(Send("a.qzl", kDesktopOverwritesHandheld, session), 0);
  ASSERT_EQ(Send("b.qzl", kDesktopOverwritesHandheld, session), 0);
  EXPECT_THAT(bench_.RecordData(), UnorderedElementsAre("$0000001North,1", "a.qzl,Koa*", "b.qzl,Kob*"));

  // A new session recreates again, in an install as in a profile install: the files of the last one
  // go, the reports stay.
  ASSERT_EQ(Send("b.qzl", kInstallSync), 0);
  EXPECT_THAT(bench_.RecordData(), UnorderedElementsAre("$0000001North,1", "b.qzl,Kob*"));
  ASSERT_EQ(Send("a.qzl", kProfileInstall), 0);
  EXPECT_THAT(bench_.RecordData(), UnorderedElementsAre("$0000001North,1", "a.qzl,Koa*"));
}

// Only the open's "not found" means that the database is missing: the same code from a later read is
// a failure, which must not turn the recreate into one that deletes the database with its reports.
TEST_F(SettingsFileSynchronizerTest, ARecreateThatCannotReadTheDatabaseDeletesNothing) {
  bench_.AddRecord("$0000001North,1", 0, 0);
  bench_.AddRecord("old.qzl,Ko0*", 0, 0);
  bench_.Folder().Write("a.qzl", "Koa");
  for (long code : {0x4003L, 0x2001L}) {
    SimInjectFault(kSimFaultFail, "ReadHandheldRecordByIndex", 2, code);
    EXPECT_EQ(Send("a.qzl", kDesktopOverwritesHandheld), code);
    EXPECT_THAT(bench_.RecordData(), ElementsAre("$0000001North,1", "old.qzl,Ko0*")) << code;
  }
}

// The settings record the desktop side builds has no handheld ID, and ID 0 is never on a handheld:
// looking it up would cost a round trip and make the run hang on an answer that can say nothing.
TEST_F(SettingsFileSynchronizerTest, ARecordWithoutAnIdIsNeverLookedUp) {
  bench_.AddRecord("a.qzl,Ko0*", handheld::kHandheldDeleted | handheld::kHandheldArchived, 0);
  bench_.Folder().Write("a.qzl", "Koa");
  SimResetCallCounts();
  SimInjectFault(kSimFaultFail, "ReadHandheldRecordById", 1, 0x2004);
  EXPECT_EQ(Send("a.qzl", kSlowSync), 0);
  EXPECT_EQ(SimCallCount("ReadHandheldRecordById"), 0);
  // The old record, archived on the device, waits for the purge that the session's pass does.
  EXPECT_THAT(bench_.RecordData(), ElementsAre("a.qzl,Ko0*", "a.qzl,Koa*"));
}

// Out of memory at any allocation of a run, in each sync type that sends: the run fails, or the file
// is on the handheld whole. Never a 0 behind a missing or empty record, never an exception from Run.
TEST_F(SettingsFileSynchronizerTest, OutOfMemoryAnywhereFailsTheRunOrSendsTheFileWhole) {
  for (long type : {kFastSync, kSlowSync, kDesktopOverwritesHandheld}) {
    auto run = [type](long nth, std::vector<std::string>& records) {
      testing::HotSyncBench bench;
      bench.AddRecord("a.qzl,Ko old*");
      bench.AddReport("T1", "x");
      bench.Folder().Write("a.qzl", "Koa");
      const SyncProperties properties = testing::KorvetProperties(type, bench.Folder().WithSlash(), "a.qzl");
      base::FailAllocation(nth);
      long result = store::kOutOfMemory;  // as the session counts a synchronizer it cannot make
      if (auto synchronizer = base::MakeOrNull<SettingsFileSynchronizer>(properties, kSettingsSyncOptions, nullptr))
        result = synchronizer->Run();
      const long made = base::AllocationsMade();
      base::FailAllocation(0);
      records = bench.RecordData();
      return std::make_pair(result, made);
    };
    std::vector<std::string> records;
    const auto [cleanResult, total] = run(0, records);
    ASSERT_EQ(cleanResult, 0) << type;
    ASSERT_GT(total, 10) << type;
    for (long nth = 1; nth <= total; ++nth) {
      const long result = run(nth, records).first;
      EXPECT_TRUE(std::none_of(records.begin(), records.end(), [](const std::string& r) { return r.empty(); }))
          << type << " allocation " << nth;
      if (result == 0) {
        EXPECT_THAT(records, Contains("a.qzl,Koa*")) << type << " allocation " << nth;
      } else {
        EXPECT_EQ(result, store::kOutOfMemory) << type << " allocation " << nth;
      }
    }
  }
}

// Backup and "handheld overwrites desktop" send nothing: a missing file is no failure of theirs, but
// the log says it is missing. A fast sync that cannot read the file fails.
TEST_F(SettingsFileSynchronizerTest, AMissingFileFailsOnlyAHotSyncThatSends) {
  bench_.AddRecord("a.qzl,Ko old*");
  bench_.Folder().Write("a.BAK", "Ko last");
  const std::vector<std::string> missing = {"Unable To Find Settings File", bench_.Folder().File("a.qzl")};
  for (long type : {kBackupSync, kHandheldOverwritesDesktop}) {
    bench_.ClearLog();
    EXPECT_EQ(Send("a.qzl", type), 0) << type;
    EXPECT_THAT(bench_.LogTexts(), ::testing::IsSupersetOf(missing)) << type;
  }
  EXPECT_EQ(bench_.Folder().Read("a.BAK"), "Ko last");
  EXPECT_NE(Send("a.qzl", kFastSync), 0);
  EXPECT_THAT(bench_.RecordData(), ElementsAre("a.qzl,Ko old*"));
}

// A file held by another program, or holding a zero byte, is not sent, and the log gives the real
// reason, not "Unable To Find Settings File".
TEST_F(SettingsFileSynchronizerTest, AFileThatCannotBeSentSaysWhy) {
  bench_.Folder().Write("held.qzl", "Koh");
  {
    WinFile held = WinFile::OpenForReading(bench_.Folder().File("held.qzl"));
    EXPECT_NE(Send("held.qzl", kFastSync), 0);
  }
  bench_.Folder().Write("wide.qzl", std::string("K\0o\0", 4));
  EXPECT_NE(Send("wide.qzl", kFastSync), 0);
  EXPECT_TRUE(bench_.RecordData().empty());
  const auto log = bench_.LogTexts();
  EXPECT_THAT(log, Contains("Ostrel settings file could not be opened (in use by another program), not sent: " +
                            bench_.Folder().File("held.qzl")));
  EXPECT_THAT(log, Contains("Ostrel settings file damaged (it holds a zero byte), not sent: " +
                            bench_.Folder().File("wide.qzl")));
  EXPECT_THAT(log, ::testing::Not(Contains("Unable To Find Settings File")));
}

// The .BAK copy is only the last sync's state: one that cannot be read does not stop the file from
// being sent, and one that cannot be written is named in the log.
TEST_F(SettingsFileSynchronizerTest, ABackupCopyThatCannotBeReadOrWrittenIsNamedAndTheFileStillSent) {
  bench_.AddRecord("a.qzl,Ko last*");
  bench_.Folder().Write("a.qzl", "Koa");
  bench_.Folder().Write("a.BAK", "Ko last");
  const std::string backup = bench_.Folder().File("a.BAK");
  {
    WinFile held = WinFile::OpenForReading(backup);
    EXPECT_EQ(Send("a.qzl", kSlowSync), store::kBackupCopyFailed);
  }
  // The older record goes with the session's duplicate removal.
  EXPECT_THAT(bench_.RecordData(), ElementsAre("a.qzl,Ko last*", "a.qzl,Koa*"));
  const auto log = bench_.LogTexts();
  EXPECT_THAT(log, Contains("Backup copy could not be read (in use by another program), the settings file is sent "
                            "without it: " +
                            backup));
  EXPECT_THAT(log, Contains("Backup copy could not be written (in use by another program): " + backup));
  EXPECT_EQ(Send("a.qzl", kSlowSync), 0);
  EXPECT_EQ(bench_.Folder().Read("a.BAK"), "Koa");
}

}  // namespace
}  // namespace korvet::sync
