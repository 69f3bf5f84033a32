#include "conduit/sync/settings_file_store.h"

#include <gtest/gtest.h>

#include "conduit/platform/sync_manager.h"
#include "conduit/sync/report_database.h"
#include "conduit/sync/report_file_name.h"
#include "conduit/test_support/hotsync_bench.h"
#include "sim/sync20/sync20_control.h"

namespace korvet {
namespace {

using Data = std::vector<std::string>;
using Log = std::vector<std::string>;

class ReportRetrievalTest : public ::testing::Test {
 protected:
  void RetrieveAndDelete() {
    SettingsFileStore store;
    store.RetrieveReports(reports_.WithSlash());
    store.DeleteReports();
  }
  Log Refused(const std::string& fileName) const {
    return {"Filename already exist", reports_.WithSlash() + fileName};
  }

  testing::HotSyncBench bench_;
  testing::ScratchFolder reports_;
};

TEST_F(ReportRetrievalTest, ReportsBecomeCsvFilesByteForByteAndAreDeleted) {
  bench_.AddRecord("site.qzl,settings*");
  bench_.AddReport("Traverse1", "P1,100.000,200.000\r\nP2,101.5,201.25\r\n");
  bench_.AddReport("T2", "");
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read("Traverse1.csv"), "P1,100.000,200.000\r\nP2,101.5,201.25\r\n");
  EXPECT_EQ(reports_.Read("T2.csv"), "");
  EXPECT_FALSE(reports_.Exists("site.qzl.csv"));
  EXPECT_EQ(bench_.RecordData(), Data{"site.qzl,settings*"});
  EXPECT_TRUE(bench_.LogTexts().empty());
  EXPECT_EQ(SimCallCount("SyncYieldCycles"), 2);
}

TEST_F(ReportRetrievalTest, EmptyAndMissingDatabasesOpenAndCloseOrDoNothing) {
  RetrieveAndDelete();
  EXPECT_TRUE(bench_.LogTexts().empty());
  EXPECT_EQ(SimCallCount("ReadHandheldRecordByIndex"), 0);

  const std::uint32_t id = bench_.AddRecord("x.qzl,1*");
  KorvetDatabase database;
  ASSERT_EQ(database.Open(), 0);
  ASSERT_EQ(DeleteRecordById(database.Handle(), id), 0);
  database.Close();
  SimResetCallCounts();
  RetrieveAndDelete();
  EXPECT_EQ(SimCallCount("OpenHandheldDatabase"), 2);
  EXPECT_EQ(SimCallCount("CloseHandheldDatabase"), 2);
}

TEST_F(ReportRetrievalTest, LargeReportIsExportedWhole) {
  std::string text;
  for (int line = 0; text.size() < 5000; ++line) text += "P" + std::to_string(line) + ",1.000,2.000\r\n";
  bench_.AddReport("Big", text);
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read("Big.csv"), text);
  EXPECT_TRUE(bench_.RecordData().empty());
}

TEST_F(ReportRetrievalTest, ExistingDifferentFileIsKeptAndItsReportStaysOnTheHandheld) {
  reports_.Write("T1.csv", "older survey\r\n");
  bench_.AddReport("T1", "new survey\r\n");
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read("T1.csv"), "older survey\r\n");
  EXPECT_EQ(bench_.LogTexts(), Refused("T1.csv"));
  EXPECT_EQ(bench_.RecordData(), Data{"$0000001T1,new survey\r\n"});
}

TEST_F(ReportRetrievalTest, ExistingIdenticalFileLetsTheReportBeDeleted) {
  reports_.Write("T1.csv", "same\r\n");
  bench_.AddReport("T1", "same\r\n");
  RetrieveAndDelete();
  EXPECT_EQ(bench_.LogTexts(), Refused("T1.csv"));
  EXPECT_TRUE(bench_.RecordData().empty());
}

TEST_F(ReportRetrievalTest, UnsafeNamesAreRefusedAndKept) {
  const Data names = {"..\\up", "a/b", "c:x", "CON", "lpt1.x", "a|b", "q?", "x..y"};
  for (const auto& name : names) bench_.AddReport(name, "data");
  RetrieveAndDelete();
  Log expected;
  for (const auto& name : names) {
    auto lines = Refused(name + ".csv");
    expected.insert(expected.end(), lines.begin(), lines.end());
  }
  EXPECT_EQ(bench_.LogTexts(), expected);
  EXPECT_EQ(bench_.RecordData().size(), names.size());
  EXPECT_EQ(testing::ScratchFolder::ReadPath(reports_.Path() + "\\..\\up.csv"), "<missing>");
}

TEST_F(ReportRetrievalTest, PathLongerThan255IsRefused) {
  const std::string name(255 - reports_.WithSlash().size() - 4, 'n');
  bench_.AddReport(name, "fits");
  bench_.AddReport(name + "x", "too long");
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read(name + ".csv"), "fits");
  EXPECT_EQ(bench_.LogTexts(), Refused(name + "x.csv"));
  EXPECT_EQ(bench_.RecordData().size(), 1u);
}

TEST_F(ReportRetrievalTest, OddRecordShapes) {
  bench_.AddRecord("$short");             // shorter than nine bytes: ".csv", empty
  bench_.AddRecord("$0000001NoComma");    // no comma: the name runs to the end, empty file
  bench_.AddRecord("$dollar.qzl,text*");  // a settings file whose name starts with "$"
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read(".csv"), "");
  EXPECT_EQ(reports_.Read("NoComma.csv"), "");
  EXPECT_EQ(reports_.Read("qzl.csv"), "text*");  // the name starts at offset 8 of "$dollar.qzl"
  EXPECT_TRUE(bench_.RecordData().empty());
  EXPECT_EQ(bench_.LogTexts(), Log{});
}

TEST_F(ReportRetrievalTest, CommaAtOffsetEightWritesDotCsvWithTheText) {
  bench_.AddRecord("$0000001,a,b\r\n");
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read(".csv"), "a,b\r\n");
}

TEST_F(ReportRetrievalTest, TextEndsAtTheFirstZeroByte) {
  bench_.AddRecord(std::string("$0000001Z,abc\0def", 17));
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read("Z.csv"), "abc");
}

TEST_F(ReportRetrievalTest, MissingFolderKeepsEveryReport) {
  bench_.AddReport("T1", "x");
  SettingsFileStore store;
  store.RetrieveReports(reports_.File("missing") + "\\");
  store.DeleteReports();
  EXPECT_EQ(bench_.LogTexts(), (Log{"Filename already exist", reports_.File("missing") + "\\T1.csv"}));
  EXPECT_EQ(bench_.RecordData().size(), 1u);
}

TEST_F(ReportRetrievalTest, ReadFailureEndsRetrievalButDeletesOnlyWhatWasExported) {
  bench_.AddReport("T1", "one");
  bench_.AddReport("T2", "two");
  // Every key is read before the first file is written: a failure there exports nothing.
  SimFailOperation("ReadHandheldRecordByIndex", 2, 0x4001);
  RetrieveAndDelete();
  EXPECT_FALSE(reports_.Exists("T1.csv"));
  EXPECT_EQ(bench_.RecordData().size(), 2u);
  // A failure while the reports are read again to be written ends the pass there.
  SimFailOperation("ReadHandheldRecordByIndex", 4, 0x4001);
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read("T1.csv"), "one");
  EXPECT_FALSE(reports_.Exists("T2.csv"));
  EXPECT_EQ(bench_.RecordData(), Data{"$0000001T2,two"});
}

// Duplicate removal may not have run to its end (a failed read or delete ends it): the older copy of a
// report must not take the file name that the newest copy needs.
TEST_F(ReportRetrievalTest, OnlyTheNewestCopyOfAReportIsExported) {
  bench_.AddReport("T1", "older");
  bench_.AddReport("T2", "two");
  bench_.AddReport("T1", "newest");
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read("T1.csv"), "newest");
  EXPECT_EQ(reports_.Read("T2.csv"), "two");
  // The older copy stays for duplicate removal; nothing of it was lost.
  EXPECT_EQ(bench_.RecordData(), Data{"$0000001T1,older"});
}

TEST_F(ReportRetrievalTest, DatabaseLeftOpenByAnEarlierPassIsRecovered) {
  bench_.AddReport("T1", "one");
  std::uint8_t leftOpen = 0;
  ASSERT_EQ(OpenHandheldDatabase(kKorvetDatabase, 0, &leftOpen, handheld::kOpenReadWrite), 0);
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read("T1.csv"), "one");
  EXPECT_TRUE(bench_.RecordData().empty());
}

TEST(ReportFileName, RefusesWhatWouldLeaveTheFolderOrWindowsRefuses) {
  for (const char* name : {"Traverse 1", "", "a.b", "T-2026_12", "CONSOLE", "COM10"}) {
    EXPECT_TRUE(IsSafeReportName(name)) << name;
  }
  for (const char* name : {"..", "a\\b", "a/b", "a:b", "x<y", "x>y", "q\"", "a*", "nul", "Aux.txt", "COM3 ", "\x01"}) {
    EXPECT_FALSE(IsSafeReportName(name)) << name;
  }
}

}  // namespace
}  // namespace korvet
