#include "conduit/sync/settings_file_synchronizer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "conduit/test_support/hotsync_bench.h"
#include "conduit/test_support/korvet_properties.h"
#include "sim/sync20/sync20_control.h"

namespace korvet::sync {
namespace {

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
    SimFailOperation("ReadHandheldRecordByIndex", 2, code);
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
  SimFailOperation("ReadHandheldRecordById", 1, 0x2004);
  EXPECT_EQ(Send("a.qzl", kSlowSync), 0);
  EXPECT_EQ(SimCallCount("ReadHandheldRecordById"), 0);
  // The old record, archived on the device, waits for the purge that the session's pass does.
  EXPECT_THAT(bench_.RecordData(), ElementsAre("a.qzl,Ko0*", "a.qzl,Koa*"));
}

}  // namespace
}  // namespace korvet::sync
