#include "conduit/sync/settings_file_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "common/list_format.h"
#include "conduit/platform/sync_manager.h"
#include "conduit/sync/report_database.h"
#include "conduit/sync/report_file_name.h"
#include "conduit/sync/report_pass.h"
#include "conduit/test_support/hotsync_bench.h"
#include "sim/sync20/sync20_control.h"
#include "tests/support/code_page.h"
#include "tests/support/report_file.h"

namespace korvet {
namespace {

using Data = std::vector<std::string>;
using Log = std::vector<std::string>;

class ReportRetrievalTest : public ::testing::Test {
 protected:
  // Retrieval and deletion as the session asks them, without duplicate removal.
  // True when every report was saved.
  bool RetrieveAndDelete(FileSteps* steps = nullptr) { return RetrieveAndDeleteInto(reports_.WithSlash(), steps); }
  bool RetrieveAndDeleteInto(const std::string& folder, FileSteps* steps = nullptr) {
    SettingsFileStore store;
    if (steps) store.UseFileSteps(*steps);
    ReportPass pass;
    store.RetrieveReports(folder, pass);
    store.DeleteReports(pass);
    return pass.Run();
  }
  Log Refused(const std::string& fileName) const { return {"Filename already exist", reports_.WithSlash() + fileName}; }

  testing::HotSyncBench bench_;
  testing::ScratchFolder reports_;
};

TEST_F(ReportRetrievalTest, ReportsBecomeCsvFilesByteForByteAndAreDeleted) {
  bench_.AddRecord("site.qzl,settings*");
  bench_.AddReport("Traverse1", "P1,100.000,200.000\r\nP2,101.5,201.25\r\n");
  bench_.AddReport("T2", "");
  SimResetCallCounts();
  RetrieveAndDelete();
  // HotSync Manager gets its turn before the first file, not before each one; one read of every
  // record, one delete per report.
  EXPECT_EQ(SimCallCount("SyncYieldCycles"), 1);
  EXPECT_EQ(SimCallCount("ReadHandheldRecordByIndex"), 3);
  EXPECT_EQ(SimCallCount("DeleteHandheldRecord"), 2);
  // The file is the report's name and ".csv" in the chosen folder; the other tests find it through
  // ReportFile, which this pins.
  EXPECT_EQ(testing::ReportFile("Traverse1"), "Traverse1.csv");
  EXPECT_EQ(reports_.Read("Traverse1.csv"), "P1,100.000,200.000\r\nP2,101.5,201.25\r\n");
  EXPECT_EQ(reports_.Read(testing::ReportFile("T2")), "");
  EXPECT_FALSE(reports_.Exists(testing::ReportFile("site.qzl")));
  EXPECT_EQ(bench_.RecordData(), Data{"site.qzl,settings*"});
  EXPECT_TRUE(bench_.LogTexts().empty());
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
  EXPECT_EQ(SimCallCount("OpenHandheldDatabase"), 1);
  EXPECT_EQ(SimCallCount("CloseHandheldDatabase"), 1);
}

TEST_F(ReportRetrievalTest, LargeReportIsExportedWhole) {
  std::string text;
  for (int line = 0; text.size() < 5000; ++line) text += "P" + std::to_string(line) + ",1.000,2.000\r\n";
  bench_.AddReport("Big", text);
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read(testing::ReportFile("Big")), text);
  EXPECT_TRUE(bench_.RecordData().empty());
}

TEST_F(ReportRetrievalTest, ExistingDifferentFileIsKeptAndItsReportStaysOnTheHandheld) {
  reports_.Write(testing::ReportFile("T1"), "older survey\r\n");
  bench_.AddReport("T1", "new survey\r\n");
  EXPECT_FALSE(RetrieveAndDelete());
  EXPECT_EQ(reports_.Read(testing::ReportFile("T1")), "older survey\r\n");
  EXPECT_EQ(bench_.LogTexts(), Refused(testing::ReportFile("T1")));
  EXPECT_EQ(bench_.RecordData(), Data{"$0000001T1,new survey\r\n"});
}

TEST_F(ReportRetrievalTest, ExistingIdenticalFileLetsTheReportBeDeleted) {
  reports_.Write(testing::ReportFile("T1"), "same\r\n");
  bench_.AddReport("T1", "same\r\n");
  EXPECT_TRUE(RetrieveAndDelete());
  EXPECT_EQ(bench_.LogTexts(), Refused(testing::ReportFile("T1")));
  EXPECT_TRUE(bench_.RecordData().empty());
}

TEST_F(ReportRetrievalTest, UnsafeNamesAreRefusedAndKept) {
  const Data names = {"..\\up", "a/b", "c:x", "CON", "lpt1.x", "a|b", "q?", "x..y"};
  for (const auto& name : names) bench_.AddReport(name, "data");
  EXPECT_FALSE(RetrieveAndDelete());
  Log expected;
  for (const auto& name : names)
    expected.push_back("Report name not usable as a file name, the report stays on the handheld: " +
                       reports_.WithSlash() + testing::ReportFile(name));
  EXPECT_EQ(bench_.LogTexts(), expected);
  EXPECT_EQ(bench_.RecordData().size(), names.size());
  EXPECT_EQ(testing::ScratchFolder::ReadPath(reports_.Path() + "\\..\\up.csv"), "<missing>");
}

TEST_F(ReportRetrievalTest, PathLongerThan255IsRefused) {
  const std::string name(255 - reports_.WithSlash().size() - 4, 'n');
  bench_.AddReport(name, "fits");
  bench_.AddReport(name + "x", "too long");
  EXPECT_FALSE(RetrieveAndDelete());
  EXPECT_EQ(reports_.Read(testing::ReportFile(name)), "fits");
  EXPECT_EQ(bench_.LogTexts(), Log{"Report file path longer than 255 characters, the report stays on the handheld: " +
                                   reports_.WithSlash() + testing::ReportFile(name + "x")});
  EXPECT_EQ(bench_.RecordData().size(), 1u);
}

TEST_F(ReportRetrievalTest, OddRecordShapes) {
  bench_.AddRecord("$short");             // shorter than nine bytes: ".csv", empty
  bench_.AddRecord("$0000001NoComma");    // no comma: the name runs to the end, empty file
  bench_.AddRecord("$dollar.qzl,text*");  // a settings file whose name starts with "$"
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read(testing::ReportFile("")), "");
  EXPECT_EQ(reports_.Read(testing::ReportFile("NoComma")), "");
  EXPECT_EQ(reports_.Read(testing::ReportFile("qzl")), "text*");  // the name starts at offset 8 of "$dollar.qzl"
  EXPECT_TRUE(bench_.RecordData().empty());
  EXPECT_EQ(bench_.LogTexts(), Log{});
}

TEST_F(ReportRetrievalTest, CommaAtOffsetEightWritesDotCsvWithTheText) {
  bench_.AddRecord("$0000001,a,b\r\n");
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read(testing::ReportFile("")), "a,b\r\n");
}

TEST_F(ReportRetrievalTest, TextEndsAtTheFirstZeroByte) {
  bench_.AddRecord(std::string("$0000001Z,abc\0def", 17));
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read(testing::ReportFile("Z")), "abc");
}

// A folder that takes no file fails the pass with its real cause, said once, and a count: not a
// "Filename already exist" per report.
TEST_F(ReportRetrievalTest, AnUnusableFolderKeepsEveryReportAndSaysWhyOnce) {
  bench_.AddReport("T1", "x");
  bench_.AddReport("T2", "y");
  reports_.Write("file", "not a folder");
  const struct {
    std::string folder;
    std::string cause;
  } cases[] = {{reports_.File("missing") + "\\", "Report folder not found"},
               {reports_.File("missing\\deeper") + "\\", "Report folder not found"},
               {reports_.File("file") + "\\", "Report folder is a file, not a folder"}};
  for (const auto& c : cases) {
    bench_.ClearLog();
    EXPECT_FALSE(RetrieveAndDeleteInto(c.folder)) << c.folder;
    EXPECT_EQ(bench_.LogTexts(), (Log{c.cause + ", traverse reports not retrieved: " + c.folder,
                                      c.cause + ": 2 traverse reports not retrieved, they stay on the handheld"}));
    EXPECT_EQ(bench_.RecordData().size(), 2u);
  }
  // A leftover temporary file that cannot be removed is the folder's matter too.
  ASSERT_TRUE(CreateDirectoryA(reports_.File(ReportFolderWriter::StagingFolderName()).c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(reports_.File(ReportFolderWriter::StagedTemporaryName()).c_str(), nullptr));
  bench_.ClearLog();
  EXPECT_FALSE(RetrieveAndDelete());
  const std::string cause =
      "Report folder holds a temporary file that cannot be removed (" + ReportFolderWriter::StagedTemporaryName() + ")";
  EXPECT_EQ(bench_.LogTexts(), (Log{cause + ", traverse reports not retrieved: " + reports_.WithSlash(),
                                    cause + ": 2 traverse reports not retrieved, they stay on the handheld"}));
  EXPECT_EQ(bench_.RecordData().size(), 2u);
}

TEST_F(ReportRetrievalTest, ReadFailureEndsThePassAndKeepsWhatWasNotSaved) {
  bench_.AddReport("T1", "one");
  bench_.AddReport("T2", "two");
  // The pass walks down: T2 is read, written and deleted before the read of T1 fails.
  SimInjectFault(kSimFaultFail, "ReadHandheldRecordByIndex", 2, 0x4003);
  EXPECT_FALSE(RetrieveAndDelete());
  EXPECT_EQ(reports_.Read(testing::ReportFile("T2")), "two");
  EXPECT_FALSE(reports_.Exists(testing::ReportFile("T1")));
  EXPECT_EQ(bench_.RecordData(), Data{"$0000001T1,one"});
  auto stoppedWith = [](const std::string& code) {
    return "Traverse report retrieval stopped (Sync Manager error 0x" + code +
           "), the reports not yet retrieved stay on the handheld";
  };
  EXPECT_EQ(bench_.LogTexts(), Log{stoppedWith("4003")});
  // A failed delete keeps the report's record: the next pass finds the same file and deletes it.
  bench_.ClearLog();
  SimInjectFault(kSimFaultFail, "DeleteHandheldRecord", 1, 0x2004);
  EXPECT_FALSE(RetrieveAndDelete());
  EXPECT_EQ(bench_.LogTexts(), Log{stoppedWith("2004")});
  EXPECT_EQ(reports_.Read(testing::ReportFile("T1")), "one");
  EXPECT_EQ(bench_.RecordData(), Data{"$0000001T1,one"});
  EXPECT_TRUE(RetrieveAndDelete());
  EXPECT_TRUE(bench_.RecordData().empty());
  EXPECT_FALSE(reports_.Exists(ReportFolderWriter::TemporaryName()));
}

// A database that is there but cannot be opened (another HotSync holds it) is no silent "nothing to
// retrieve": the reports stay on the handheld and the log says why.
TEST_F(ReportRetrievalTest, ADatabaseThatCannotBeOpenedFailsThePass) {
  bench_.AddReport("T1", "one");
  SimInjectFault(kSimFaultFail, "OpenHandheldDatabase", 1, 0x4005);
  SimInjectFault(kSimFaultFail, "OpenHandheldDatabase", 2, 0x4005);
  EXPECT_FALSE(RetrieveAndDelete());
  EXPECT_EQ(bench_.LogTexts(),
            Log{"KORVETDatabaseDB could not be opened (Sync Manager error 0x4005), traverse reports not retrieved"});
  EXPECT_EQ(bench_.RecordData().size(), 1u);
  // Without retrieval nothing was lost: duplicates wait for the next session.
  bench_.ClearLog();
  SimInjectFault(kSimFaultFail, "OpenHandheldDatabase", 1, 0x4005);
  ReportPass duplicatesOnly;
  duplicatesOnly.RemoveDuplicates();
  EXPECT_TRUE(duplicatesOnly.Run());
  EXPECT_EQ(bench_.LogTexts(), Log{"KORVETDatabaseDB could not be opened (Sync Manager error 0x4005), older "
                                   "duplicate records not removed"});
}

// The purge a settings-file synchronizer left to the pass takes the device's deleted records only
// after a walk to the end, and only when no archived report it would take is unsaved.
TEST_F(ReportRetrievalTest, TheLeftPurgeWaitsForAWholeWalkAndSparesUnsavedArchivedReports) {
  bench_.AddRecord("", 0xC0, 0);  // deleted on the device, its data gone
  bench_.AddRecord("$0000001Kept,archived", 0xC8, 0);
  bench_.AddRecord("$0000001Live,live", 0x40, 0);
  auto purging = [this] {
    SettingsFileStore store;
    ReportPass pass;
    pass.RemoveDuplicates();
    pass.PurgeDeleted();
    store.RetrieveReports(reports_.WithSlash(), pass);
    pass.Run();
  };
  SimInjectFault(kSimFaultFail, "ReadHandheldRecordByIndex", 3, 0x2004);  // the deleted record is never read
  purging();
  EXPECT_EQ(bench_.Records().size(), 3u);

  reports_.Write(testing::ReportFile("Kept"), "another file");  // the archived report cannot be saved
  purging();
  auto records = bench_.Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].attributes, 0xC8);
  EXPECT_EQ(records[1].data, "$0000001Live,live");

  ASSERT_TRUE(DeleteFileA(reports_.File(testing::ReportFile("Kept")).c_str()));
  purging();
  EXPECT_EQ(reports_.Read(testing::ReportFile("Kept")), "archived");
  EXPECT_EQ(bench_.RecordData(), Data{"$0000001Live,live"});
}

// Duplicate removal may not have run to its end (a failed read or delete ends it): the older copy of a
// report must not take the file name that the newest copy needs.
TEST_F(ReportRetrievalTest, OnlyTheNewestCopyOfAReportIsExported) {
  bench_.AddReport("T1", "older");
  bench_.AddReport("T2", "two");
  bench_.AddReport("T1", "newest");
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read(testing::ReportFile("T1")), "newest");
  EXPECT_EQ(reports_.Read(testing::ReportFile("T2")), "two");
  // The older copy stays for duplicate removal; nothing of it was lost.
  EXPECT_EQ(bench_.RecordData(), Data{"$0000001T1,older"});
}

// Two reports of different keys but the same name: the pass meets the higher one first, so it gets the
// file; the other is refused and stays on the handheld.
TEST_F(ReportRetrievalTest, OfTwoReportsWithOneNameTheHigherGetsTheFile) {
  bench_.AddRecord("$0000001T1,first");
  bench_.AddRecord("$0000002T1,second");
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read(testing::ReportFile("T1")), "second");
  EXPECT_EQ(bench_.LogTexts(), Refused(testing::ReportFile("T1")));
  EXPECT_EQ(bench_.RecordData(), Data{"$0000001T1,first"});
}

// Fails one step, as a full disk or a lost network folder does: creating the temporary file; writing
// (half the text gets written); the flush; or the close, which reports a write the system held back.
class FailingSteps : public FileSteps {
 public:
  FailingSteps(std::string step, DWORD error) : step_(std::move(step)), error_(error) {}
  WinFile Create(const std::string& path, ExistingFile) override {
    return step_ == "create" ? WinFile::NotOpened(error_) : WinFile::CreateNew(path);
  }
  bool Write(WinFile& file, const std::string& text) override {
    if (step_ != "write") return file.Write(text);
    file.Write(text.substr(0, text.size() / 2));
    return Fail();
  }
  bool Flush(WinFile& file) override { return step_ == "flush" ? Fail() : file.Flush(); }
  bool Close(WinFile& file) override {
    file.Close();
    return step_ == "close" ? Fail() : true;
  }

 private:
  bool Fail() const {
    SetLastError(error_);
    return false;
  }
  std::string step_;
  DWORD error_;
};

void ExpectFailedStepKeepsTheReport(testing::HotSyncBench& bench, testing::ScratchFolder& reports,
                                    const std::string& step) {
  bench.AddReport("T1", "P1,100.000,200.000\r\n");
  FailingSteps steps(step, ERROR_NETNAME_DELETED);
  SettingsFileStore store;
  store.UseFileSteps(steps);
  ReportPass pass;
  store.RetrieveReports(reports.WithSlash(), pass);
  store.DeleteReports(pass);
  pass.Run();
  EXPECT_FALSE(reports.Exists(testing::ReportFile("T1")));
  EXPECT_FALSE(reports.Exists(ReportFolderWriter::TemporaryName()));
  EXPECT_EQ(bench.RecordData().size(), 1u);
  EXPECT_EQ(bench.LogTexts(), Log{"Report file not written (" + step +
                                  " failed, error 64), the report stays on the handheld: " + reports.WithSlash() +
                                  testing::ReportFile("T1")});
}

TEST_F(ReportRetrievalTest, FailedWriteRemovesThePartialFileAndKeepsTheReport) {
  ExpectFailedStepKeepsTheReport(bench_, reports_, "write");
}

TEST_F(ReportRetrievalTest, FailedFlushRemovesTheFileAndKeepsTheReport) {
  ExpectFailedStepKeepsTheReport(bench_, reports_, "flush");
}

TEST_F(ReportRetrievalTest, FailedCloseRemovesTheFileAndKeepsTheReport) {
  ExpectFailedStepKeepsTheReport(bench_, reports_, "close");
}

// The disk may fill at the flush of a report file or already at the creation of its temporary file.
TEST_F(ReportRetrievalTest, FullDiskSkipsTheRestWithOneSummaryLine) {
  for (int n = 1; n <= 4; ++n) bench_.AddReport("T" + std::to_string(n), "text");
  bench_.AddRecord("site.qzl,settings*");
  for (bool atCreate : {false, true}) {
    SCOPED_TRACE(atCreate ? "full at the creation" : "full at the flush");
    bench_.ClearLog();
    FailingSteps steps(atCreate ? "create" : "flush", ERROR_DISK_FULL);
    RetrieveAndDelete(&steps);
    EXPECT_EQ(bench_.LogTexts(), (Log{"Report file not written (disk full), the report stays on the handheld: " +
                                          reports_.WithSlash() + testing::ReportFile("T4"),
                                      "Disk full: 4 traverse reports not retrieved, they stay on the handheld"}));
    EXPECT_EQ(bench_.RecordData().size(), 5u);
    EXPECT_FALSE(reports_.Exists(ReportFolderWriter::TemporaryName()));
    EXPECT_FALSE(reports_.Exists(ReportFolderWriter::StagingFolderName()));
  }
}

// This computer's leftovers of ended sessions go (the older versions' single name too); another
// computer's, writing into the same shared folder, stay, as does any other file.
TEST_F(ReportRetrievalTest, TemporaryFilesLeftByEndedSessionsAreRemoved) {
  const std::string own = ReportFolderWriter::TemporaryName();
  const std::string computer = own.substr(8, own.rfind(' ') - 8);
  const std::string ended = "~KorvIR " + computer + " 0.tmp";
  const std::string other = "~KorvIR " + computer + "X 77.tmp";
  for (const std::string& name :
       {own, ended, other, std::string("~KorvIR report.tmp"), std::string("~KorvIR report x.tmp")})
    reports_.Write(name, "P1,100");
  EXPECT_LE(own.size(), lists::kMaxTemporaryReportNameBytes);
  EXPECT_NE(own.find(std::to_string(GetCurrentProcessId())), std::string::npos);
  bench_.AddReport("T1", "P1,100.000\r\n");
  RetrieveAndDelete();
  EXPECT_FALSE(reports_.Exists(own));
  EXPECT_FALSE(reports_.Exists(ended));
  EXPECT_FALSE(reports_.Exists("~KorvIR report.tmp"));
  EXPECT_TRUE(reports_.Exists(other));
  EXPECT_TRUE(reports_.Exists("~KorvIR report x.tmp"));
  EXPECT_EQ(reports_.Read(testing::ReportFile("T1")), "P1,100.000\r\n");
}

// The temporary file lives in a staging folder of the session's own, which goes with the pass; an
// ended session's staging folder goes with what it holds, another computer's stays.
TEST_F(ReportRetrievalTest, StagingFoldersGoWithTheirSessions) {
  const std::string own = ReportFolderWriter::StagingFolderName();
  const std::string computer = own.substr(8, own.rfind(' ') - 8);
  const std::string ended = "~KorvIR " + computer + " 0";
  const std::string other = "~KorvIR " + computer + "X 77";
  for (const std::string& folder : {ended, other}) {
    ASSERT_TRUE(CreateDirectoryA(reports_.File(folder).c_str(), nullptr));
    reports_.Write(folder + "\\report.tmp", "P1,1");
  }
  bench_.AddReport("T1", "one");
  bench_.AddReport("T2", "two");
  EXPECT_TRUE(RetrieveAndDelete());
  EXPECT_EQ(reports_.Read(testing::ReportFile("T1")), "one");
  EXPECT_EQ(reports_.Read(testing::ReportFile("T2")), "two");
  EXPECT_FALSE(reports_.Exists(own));
  EXPECT_FALSE(reports_.Exists(ended));
  EXPECT_TRUE(reports_.Exists(other + "\\report.tmp"));

  // A file in the staging folder's place: the temporary file goes into the report folder itself.
  reports_.Write(own, "not a folder");
  bench_.AddReport("T3", "three");
  EXPECT_TRUE(RetrieveAndDelete());
  EXPECT_EQ(reports_.Read(testing::ReportFile("T3")), "three");
  EXPECT_FALSE(reports_.Exists(ReportFolderWriter::TemporaryName()));
  EXPECT_EQ(reports_.Read(own), "not a folder");
}

TEST_F(ReportRetrievalTest, DatabaseLeftOpenByAnEarlierPassIsRecovered) {
  bench_.AddReport("T1", "one");
  std::uint8_t leftOpen = 0;
  ASSERT_EQ(OpenHandheldDatabase(kKorvetDatabase, 0, &leftOpen, handheld::kOpenReadWrite), 0);
  RetrieveAndDelete();
  EXPECT_EQ(reports_.Read(testing::ReportFile("T1")), "one");
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

// A Japanese report name whose second bytes are the backslash's is a name like any other on a code
// page 932 desktop, and its file lands in the folder; one cut after a first byte is refused.
TEST_F(ReportRetrievalTest, DoubleByteNamesAreSavedInTheFolderInCodePage932) {
  KORVET_REQUIRE_CODE_PAGE(932);
  using namespace testing::cp932;
  EXPECT_TRUE(IsSafeReportName(kDisplay) && IsSafeReportName(kSoftware));
  EXPECT_FALSE(IsSafeReportName("T\x95"));
  bench_.AddReport(kDisplay, "one");
  bench_.AddReport(kSoftware, "two");
  EXPECT_TRUE(RetrieveAndDelete());
  EXPECT_EQ(reports_.Read(testing::ReportFile(kDisplay)), "one");
  EXPECT_EQ(reports_.Read(testing::ReportFile(kSoftware)), "two");
  EXPECT_TRUE(bench_.RecordData().empty());
}

// On a single-byte desktop the same bytes hold a backslash: the report stays on the handheld, and the
// log says why.
TEST_F(ReportRetrievalTest, ADeviceNameWithASeparatorByteIsKeptOnASingleByteDesktop) {
  KORVET_REQUIRE_CODE_PAGE(1252);
  bench_.AddReport(testing::cp932::kDisplay, "one");
  EXPECT_FALSE(RetrieveAndDelete());
  EXPECT_EQ(bench_.LogTexts(), Log{"Report name not usable as a file name, the report stays on the handheld: " +
                                   reports_.WithSlash() + testing::ReportFile(testing::cp932::kDisplay)});
  EXPECT_EQ(bench_.RecordData().size(), 1u);
}

}  // namespace
}  // namespace korvet
