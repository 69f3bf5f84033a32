#include "conduit/entry/session_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <filesystem>
#include <new>
#include <utility>

#include "common/list_format.h"
#include "common/win_file.h"
#include "conduit/entry/session_result.h"
#include "conduit/platform/sync_manager.h"
#include "conduit/store/status_codes.h"
#include "conduit/sync/unused_calls.h"
#include "conduit/test_support/hotsync_bench.h"
#include "conduit/test_support/korvet_properties.h"
#include "sim/sync20/operation_names.h"
#include "sim/sync20/sync20_control.h"
#include "tests/support/code_page.h"
#include "tests/support/report_file.h"

namespace korvet {
namespace {

// Records every synchronizer the session makes; each returns the next of the given results.
class RecordingSynchronizers {
 public:
  struct Made {
    std::string directory;
    std::string fileName;
    long options;
  };

  SynchronizerFactory Factory() {
    return [this](const SyncProperties& properties, long options) -> std::unique_ptr<SettingsSynchronizer> {
      EXPECT_EQ(alive_, 0) << "the previous synchronizer was not destroyed first";
      made.push_back({properties.localDirectory, properties.localName, options});
      if (refuse) return nullptr;
      return std::make_unique<Recording>(*this);
    };
  }

  std::vector<std::string> Files() const {
    std::vector<std::string> files;
    for (const auto& m : made) files.push_back(m.directory + m.fileName);
    return files;
  }

  std::vector<Made> made;
  std::deque<long> results;
  bool refuse = false;
  bool runOutOfMemory = false;  // the next Run throws std::bad_alloc

 private:
  class Recording : public SettingsSynchronizer {
   public:
    explicit Recording(RecordingSynchronizers& owner) : owner_(owner) { ++owner_.alive_; }
    ~Recording() override { --owner_.alive_; }
    long Run() override {
      if (std::exchange(owner_.runOutOfMemory, false)) throw std::bad_alloc();
      if (owner_.results.empty()) return 0;
      long result = owner_.results.front();
      owner_.results.pop_front();
      return result;
    }

   private:
    RecordingSynchronizers& owner_;
  };
  int alive_ = 0;
};

class SessionTest : public ::testing::Test {
 protected:
  // An installation has a report folder file; retrieval is off until the user turns it on.
  SessionTest() {
    std::memset(&properties_, 0, sizeof properties_);
    bench_.Folder().Write("Cardoon.dat", "C:\\Reports\\@^%");
  }

  long Run(void* hotsync = reinterpret_cast<void*>(1)) {
    SessionServices services{[this]() -> std::optional<std::string> { return corePath_; }, synchronizers_.Factory(),
                             nullptr};
    return RunHotSyncSession(hotsync, &properties_, services);
  }
  void WriteList(const std::string& bytes) { bench_.Folder().Write("Xembrafilepath.dat", bytes); }
  std::string List() const { return bench_.Folder().Read("Xembrafilepath.dat"); }

  testing::HotSyncBench bench_;
  std::optional<std::string> corePath_ = bench_.CorePath();
  RecordingSynchronizers synchronizers_;
  SyncProperties properties_;
};

const char* const kStart = "Starting Sync with KorvIR";
const char* const kNoList = "Unable To Find Xembrafilepath.dat Ostrel settings location file";
const char* const kComplete = "KorvIR Sync OK...Complete";
const std::string kProblems = "KorvIR Sync finished with problems: ";

TEST_F(SessionTest, NullFirstArgumentDoesNothingButTheFirstLine) {
  WriteList("C:\\Data\\,a.qzl*@^");
  EXPECT_EQ(Run(nullptr), -1);
  EXPECT_EQ(bench_.LogTexts(), std::vector<std::string>{kStart});
  EXPECT_TRUE(synchronizers_.made.empty());
  EXPECT_EQ(List(), "C:\\Data\\,a.qzl*@^");
}

TEST_F(SessionTest, MissingCoreDirectoryOrListFileEndsTheSession) {
  corePath_.reset();
  EXPECT_EQ(Run(), -1);
  EXPECT_EQ(bench_.LogTexts(), (std::vector<std::string>{kStart, kNoList}));

  corePath_ = bench_.CorePath();
  EXPECT_EQ(Run(), -1);
  EXPECT_EQ(bench_.LogTexts(), (std::vector<std::string>{kStart, kNoList, kStart, kNoList}));
}

TEST_F(SessionTest, ListLockedByAToolCountsAsMissing) {
  WriteList("C:\\Data\\,a.qzl*@^");
  WinFile held = WinFile::OpenForReading(bench_.Folder().File("Xembrafilepath.dat"));
  EXPECT_EQ(Run(), -1);
  EXPECT_TRUE(synchronizers_.made.empty());
}

TEST_F(SessionTest, SendsEveryEntryInOrderAndEmptiesAPurgedList) {
  WriteList("C:\\Data\\,a.qzl*C:\\Data\\,b.qzl*@^");
  synchronizers_.results = {7, 9};
  EXPECT_EQ(Run(), 7);  // the first failure, not the last
  EXPECT_EQ(synchronizers_.Files(), (std::vector<std::string>{"C:\\Data\\a.qzl", "C:\\Data\\b.qzl"}));
  EXPECT_EQ(synchronizers_.made[0].options, 3);
  EXPECT_EQ(List(), "");
  EXPECT_EQ(bench_.LogTexts(),
            (std::vector<std::string>{kStart, kProblems + "2 of 2 listed Ostrel settings files not sent", kComplete}));
  // One yield per list entry read, the one that holds the end marker included.
  EXPECT_EQ(SimCallCount("SyncYieldCycles"), 3);
}

TEST_F(SessionTest, KeptListIsLeftUnchanged) {
  for (const char* tail : {"@$", "@&"}) {
    WriteList(std::string("C:\\Data\\,a.qzl*") + tail);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(List(), std::string("C:\\Data\\,a.qzl*") + tail);
  }
}

TEST_F(SessionTest, EmptyListSendsNothingReturnsZeroAndStaysEmpty) {
  WriteList("");
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(synchronizers_.made.empty());
  EXPECT_EQ(List(), "");
  EXPECT_EQ(bench_.LogTexts(), (std::vector<std::string>{kStart, kComplete}));
}

TEST_F(SessionTest, ListWithoutEndMarkerReportsTheLastRunNotSuccess) {
  WriteList("C:\\Data\\,a.qzl*");
  synchronizers_.results = {4370};
  EXPECT_EQ(Run(), 4370);
  EXPECT_EQ(synchronizers_.Files(), std::vector<std::string>{"C:\\Data\\a.qzl"});
  EXPECT_EQ(List(), "");
}

// A file whose synchronizer cannot be made, or whose run runs out of memory, is not sent, which the
// log and the result say; the next file is still sent.
TEST_F(SessionTest, OutOfMemoryForASynchronizerSkipsItsFileAndFailsTheSession) {
  WriteList("C:\\D\\,a.qzl*C:\\D\\,b.qzl*@$");
  synchronizers_.runOutOfMemory = true;
  EXPECT_EQ(Run(), store::kOutOfMemory);
  EXPECT_EQ(synchronizers_.made.size(), 2u);
  EXPECT_EQ(bench_.LogTexts(),
            (std::vector<std::string>{kStart, "Out of memory, an Ostrel settings file was not sent",
                                      kProblems + "1 of 2 listed Ostrel settings files not sent", kComplete}));
}

TEST_F(SessionTest, ListWithMarkerButNoEntryReturnsMinusOne) {
  WriteList("@$");
  EXPECT_EQ(Run(), -1);
}

// A failure is never hidden behind a later success: not with the end marker, not without it, not for
// a file that could not even be tried.
TEST_F(SessionTest, AFailingRunDoesNotStopTheLoopAndDecidesTheResult) {
  for (const char* tail : {"@$", ""}) {
    WriteList(std::string("C:\\D\\,a.qzl*C:\\D\\,b.qzl*") + tail);
    synchronizers_.made.clear();
    synchronizers_.results = {-5, 0};
    EXPECT_EQ(Run(), -5) << tail;
    EXPECT_EQ(synchronizers_.made.size(), 2u);
  }

  WriteList("C:\\D\\,a.qzl*C:\\D\\,b.qzl*@$");
  synchronizers_.refuse = true;
  EXPECT_EQ(Run(), store::kOutOfMemory);

  const std::string name = std::string(260, 'n') + ".qzl";
  WriteList("C:\\D\\," + name + "*C:\\D\\,b.qzl*@$");
  synchronizers_.refuse = false;
  EXPECT_EQ(Run(), store::kDesktopFileNotFound);  // the refused entry, though b.qzl went
}

TEST_F(SessionTest, EmptyDirectoryMarksThePropertiesAndEndsTheList) {
  WriteList("C:\\D\\,a.qzl*,b.qzl*C:\\D\\,c.qzl*@^");
  Run();
  EXPECT_EQ(synchronizers_.Files(), std::vector<std::string>{"C:\\D\\a.qzl"});
  EXPECT_STREQ(properties_.localDirectory, "No Path Name Selected ");
  EXPECT_STREQ(properties_.localName, "No File Name Selected ");
  EXPECT_EQ(List(), "C:\\D\\,a.qzl*,b.qzl*C:\\D\\,c.qzl*@^");
}

TEST_F(SessionTest, OverlongEntryIsLoggedAndSkipped) {
  const std::string name = std::string(260, 'n') + ".qzl";
  WriteList("C:\\D\\," + name + "*C:\\D\\,b.qzl*@$");
  Run();
  EXPECT_EQ(synchronizers_.Files(), std::vector<std::string>{"C:\\D\\b.qzl"});
  EXPECT_EQ(bench_.LogTexts(),
            (std::vector<std::string>{kStart, "Ostrel settings file entry too long, not sent: C:\\D\\," + name,
                                      kProblems + "1 of 2 listed Ostrel settings files not sent", kComplete}));
}

TEST_F(SessionTest, FiftyEntriesRunFiftySynchronizersOneAtATime) {
  std::string list;
  for (int i = 0; i < 50; ++i) list += "C:\\D\\,f" + std::to_string(i) + ".qzl*";
  WriteList(list + "@^");
  Run();
  EXPECT_EQ(synchronizers_.made.size(), 50u);
}

// A runaway list that names one file thousands of times must not hold the HotSync for minutes.
TEST_F(SessionTest, AFileListedAgainIsSentOnce) {
  WriteList("C:\\D\\,a.qzl*c:\\d\\,A.QZL*C:\\D\\,b.qzl*C:\\D\\,a.qzl*C:\\E\\,a.qzl*@$");
  Run();
  EXPECT_EQ(synchronizers_.Files(), (std::vector<std::string>{"C:\\D\\a.qzl", "C:\\D\\b.qzl", "C:\\E\\a.qzl"}));
}

// Report files are named folder + name + ".csv": a folder that is no full path ending in a backslash
// would put them outside the folder the user chose.
TEST_F(SessionTest, ReportFolderThatIsNoFullFolderPathRetrievesNothing) {
  WriteList("@$");
  bench_.AddReport("T1", "x");
  testing::ScratchFolder reports;
  for (const std::string& folder : {reports.Path(), std::string("Reports\\"), std::string(""), std::string("\\"),
                                    std::string("C:Reports\\"), std::string("\\\\\\x\\")}) {
    DeleteFileA(bench_.CorePath().append("\\HotSync.log").c_str());
    bench_.Folder().Write("Cardoon.dat", folder + "@$#");
    Run();
    const std::string cause = "Report folder not a full folder path ending in a backslash";
    EXPECT_EQ(bench_.LogTexts(),
              (std::vector<std::string>{
                  kStart, cause + ", traverse reports not retrieved: " + folder,
                  cause + ": 1 traverse reports not retrieved, they stay on the handheld",
                  kProblems + "no Ostrel settings file listed, traverse reports left on the handheld", kComplete}))
        << folder;
    EXPECT_EQ(bench_.RecordData().size(), 1u) << folder;
  }
  EXPECT_FALSE(
      reports.Exists("..\\" + reports.Path().substr(reports.Path().rfind('\\') + 1) + testing::ReportFile("T1")));
}

// A network folder is a full path: its reports are tried there, and a share that cannot be reached
// keeps them on the handheld with the cause named. Windows finds no such server ("not reachable"); the
// bench, without a network client, finds no such path ("not found").
TEST_F(SessionTest, ANetworkReportFolderIsTriedAndAnUnreachableOneKeepsTheReports) {
  WriteList("@$");
  bench_.AddReport("T1", "x");
  const std::string folder = "\\\\korvet.invalid\\survey\\Reports\\";
  bench_.Folder().Write("Cardoon.dat", folder + "@$#");
  Run();
  const std::vector<std::string> log = bench_.LogTexts();
  ASSERT_EQ(log.size(), 5u);
  const std::string cause = log[1].substr(0, log[1].find(','));
  EXPECT_TRUE(cause == "Report folder not reachable" || cause == "Report folder not found") << cause;
  EXPECT_EQ(log, (std::vector<std::string>{
                     kStart, cause + ", traverse reports not retrieved: " + folder,
                     cause + ": 1 traverse reports not retrieved, they stay on the handheld",
                     kProblems + "no Ostrel settings file listed, traverse reports left on the handheld", kComplete}));
  EXPECT_EQ(bench_.RecordData().size(), 1u);
}

TEST_F(SessionTest, ReportFolderFileDecidesRetrievalAndDeletion) {
  WriteList("@$");
  bench_.AddReport("T1", "a,b\r\n");
  testing::ScratchFolder reports;

  bench_.Folder().Write("Cardoon.dat", reports.WithSlash() + "@^%");
  Run();
  EXPECT_FALSE(reports.Exists(testing::ReportFile("T1")));

  bench_.Folder().Write("Cardoon.dat", reports.WithSlash() + "@");
  Run();
  EXPECT_FALSE(reports.Exists(testing::ReportFile("T1")));

  bench_.Folder().Write("Cardoon.dat", reports.WithSlash() + "@$%");
  Run();
  EXPECT_EQ(reports.Read(testing::ReportFile("T1")), "a,b\r\n");
  EXPECT_EQ(bench_.RecordData().size(), 1u);

  DeleteFileA(reports.File(testing::ReportFile("T1")).c_str());
  bench_.Folder().Write("Cardoon.dat", reports.WithSlash() + "@$#");
  Run();
  EXPECT_EQ(reports.Read(testing::ReportFile("T1")), "a,b\r\n");
  EXPECT_TRUE(bench_.RecordData().empty());
  EXPECT_EQ(bench_.Folder().Read("Cardoon.dat"), reports.WithSlash() + "@$#");
}

// Duplicates spread over the database, three copies of one key, a settings record among the reports and
// an existing file, with deletion off and then on: the handheld, the files and the log as the former
// three passes left them, in one read of every record.
TEST_F(SessionTest, OnePassRemovesDuplicatesRetrievesAndDeletes) {
  WriteList("@$");
  bench_.AddReport("T1", "one old");
  bench_.AddReport("T2", "two old");
  bench_.AddRecord("site.qzl,old*");
  bench_.AddReport("T1", "one mid");
  bench_.AddReport("T3", "three");
  bench_.AddRecord("site.qzl,new*");
  bench_.AddReport("T2", "two new");
  bench_.AddReport("T1", "one new");
  testing::ScratchFolder reports;
  reports.Write(testing::ReportFile("T3"), "older survey");

  bench_.Folder().Write("Cardoon.dat", reports.WithSlash() + "@$%");
  SimResetCallCounts();
  Run();
  // Counted before the checks below read the handheld themselves.
  EXPECT_EQ(SimCallCount("ReadHandheldRecordByIndex"), 8);
  EXPECT_EQ(SimCallCount("DeleteHandheldRecord"), 4);
  EXPECT_EQ(bench_.RecordData(), (std::vector<std::string>{"$0000001T3,three", "site.qzl,new*", "$0000001T2,two new",
                                                           "$0000001T1,one new"}));
  EXPECT_EQ(reports.Read(testing::ReportFile("T1")), "one new");
  EXPECT_EQ(reports.Read(testing::ReportFile("T2")), "two new");
  EXPECT_EQ(reports.Read(testing::ReportFile("T3")), "older survey");
  EXPECT_EQ(bench_.LogTexts(),
            (std::vector<std::string>{
                kStart, "Filename already exist", reports.File(testing::ReportFile("T3")),
                kProblems + "no Ostrel settings file listed, traverse reports left on the handheld", kComplete}));

  bench_.Folder().Write("Cardoon.dat", reports.WithSlash() + "@$#");
  SimResetCallCounts();
  Run();
  EXPECT_EQ(SimCallCount("ReadHandheldRecordByIndex"), 4);
  EXPECT_EQ(SimCallCount("DeleteHandheldRecord"), 2);
  EXPECT_EQ(bench_.RecordData(), (std::vector<std::string>{"$0000001T3,three", "site.qzl,new*"}));
  EXPECT_EQ(reports.Read(testing::ReportFile("T1")), "one new");
}

TEST_F(SessionTest, DuplicatesAreRemovedEvenWhenNothingWasSent) {
  WriteList("");
  bench_.AddRecord("site.qzl,old*");
  bench_.AddRecord("site.qzl,new*");
  Run();
  EXPECT_EQ(bench_.RecordData(), std::vector<std::string>{"site.qzl,new*"});
}

TEST_F(SessionTest, OverlongReportFolderIsLoggedAndNothingRetrieved) {
  WriteList("@$");
  // The longest folder the folder picker accepts is one the session uses (missing here).
  const std::string longest = "C:\\" + std::string(lists::kMaxFolderBytes - 4, 'r') + "\\";
  ASSERT_EQ(longest.size(), 221u);
  bench_.Folder().Write("Cardoon.dat", longest + "@$#");
  bench_.AddReport("T1", "x");
  Run();
  EXPECT_EQ(bench_.LogTexts()[1], "Report folder not found, traverse reports not retrieved: " + longest);
  bench_.ClearLog();

  const std::string folder = "C:\\" + std::string(lists::kMaxFolderBytes - 3, 'r') + "\\";
  bench_.Folder().Write("Cardoon.dat", folder + "@$#");
  Run();
  EXPECT_EQ(bench_.LogTexts(),
            (std::vector<std::string>{
                kStart, "Report folder too long, traverse reports not retrieved: " + folder,
                "Report folder too long: 1 traverse reports not retrieved, they stay on the handheld",
                kProblems + "no Ostrel settings file listed, traverse reports left on the handheld", kComplete}));
  EXPECT_EQ(bench_.RecordData().size(), 1u);
}

// Backup, "handheld overwrites desktop" and "do nothing" send no file, so their list asks for nothing:
// an entry they cannot send, or no entry at all, fails nothing. A HotSync that sends files fails.
TEST_F(SessionTest, OnlyAHotSyncThatSendsFilesFailsForAnEntryItCannotSend) {
  for (std::int32_t type : {kFastSync, kSlowSync, kHandheldOverwritesDesktop, kDesktopOverwritesHandheld, kInstallSync,
                            kBackupSync, kDoNothing, kProfileInstall}) {
    properties_.syncType = type;
    const bool sends = SendsSettingsFiles(type);
    WriteList("Data\\,a.qzl*C:\\D\\,b.qzl*@$");
    EXPECT_EQ(Run(), sends ? store::kDesktopFileNotFound : 0) << type;
    WriteList("@$");
    EXPECT_EQ(Run(), sends ? -1 : 0) << type;
  }
  EXPECT_FALSE(SendsSettingsFiles(kBackupSync));
  EXPECT_TRUE(SendsSettingsFiles(kInstallSync));
}

// Each reason for not retrieving is said once. It fails the HotSync only where reports stay on the
// handheld that may have been wanted: never when no report folder was ever chosen.
TEST_F(SessionTest, AReportFolderFileWithoutAUsableChoiceSaysWhy) {
  WriteList("C:\\D\\,a.qzl*@$");
  const std::string notRetrieved = ", traverse reports not retrieved";
  const std::string left = kProblems + "traverse reports left on the handheld";
  auto run = [&](const std::string& cardoon, long expected, const std::vector<std::string>& lines) {
    if (cardoon == "<missing>") {
      DeleteFileA(bench_.Folder().File("Cardoon.dat").c_str());
    } else if (cardoon != "<held>") {
      bench_.Folder().Write("Cardoon.dat", cardoon);
    }
    bench_.ClearLog();
    EXPECT_EQ(Run(), expected) << cardoon;
    std::vector<std::string> log = {kStart};
    log.insert(log.end(), lines.begin(), lines.end());
    log.push_back(kComplete);
    EXPECT_EQ(bench_.LogTexts(), log) << cardoon;
  };
  const std::string damaged = "Cardoon.dat is damaged (no complete report folder choice)";
  run("<missing>", 0, {"Cardoon.dat not found" + notRetrieved});
  run("", 0, {"Cardoon.dat holds no report folder" + notRetrieved});
  run("C:\\R\\", 0, {damaged + notRetrieved});
  {
    bench_.Folder().Write("Cardoon.dat", "C:\\R\\@$#");
    WinFile held = WinFile::OpenForReading(bench_.Folder().File("Cardoon.dat"));
    run("<held>", 0, {"Cardoon.dat in use by another program" + notRetrieved});
    bench_.AddReport("T1", "x");
    run("<held>", kReportsNotRetrieved,
        {"Cardoon.dat in use by another program" + notRetrieved,
         "Cardoon.dat in use by another program: 1 traverse reports not retrieved, they stay on the handheld", left});
  }
  run("C:\\R\\@$", kReportsNotRetrieved,
      {damaged + notRetrieved, damaged + ": 1 traverse reports not retrieved, they stay on the handheld", left});
  run("<missing>", 0, {"Cardoon.dat not found" + notRetrieved});
  EXPECT_EQ(bench_.RecordData().size(), 1u);
}

// Entries are never dropped without a line: a zero byte that cuts the list off is reported and the
// list kept; a byte order mark is skipped and reported; control bytes reach the log escaped.
TEST_F(SessionTest, ADamagedListIsReportedAndKept) {
  const std::string cut("C:\\D\\,a.qzl*\0C:\\D\\,b.qzl*@^", 27);
  WriteList(cut);
  EXPECT_EQ(Run(), kSettingsListUnread);
  EXPECT_EQ(synchronizers_.Files(), std::vector<std::string>{"C:\\D\\a.qzl"});
  EXPECT_EQ(List(), cut);
  EXPECT_EQ(bench_.LogTexts(),
            (std::vector<std::string>{
                kStart,
                "Xembrafilepath.dat holds a zero byte at offset 12: the entries after it were not sent, and "
                "the list was kept",
                kProblems + "Xembrafilepath.dat not read to its end", kComplete}));

  bench_.ClearLog();
  WriteList(
      "\xEF\xBB\xBF"
      "C:\\D\\,b.qzl*D\rx\n\\,c.qzl*@$");
  EXPECT_EQ(Run(), store::kDesktopFileNotFound);
  EXPECT_EQ(synchronizers_.Files().back(), "C:\\D\\b.qzl");
  EXPECT_EQ(bench_.LogTexts(),
            (std::vector<std::string>{
                kStart, "Ostrel settings file entry without a full directory path, not sent: D<0D>x<0A>\\,c.qzl",
                "Xembrafilepath.dat starts with a byte order mark, which was skipped",
                kProblems + "1 of 2 listed Ostrel settings files not sent", kComplete}));
}

// In code page 932 a folder that ends in 表 ends in the backslash's byte without ending in a
// backslash: it is refused, and no report is written beside it. The same folder with its backslash
// takes the reports.
TEST_F(SessionTest, DoubleByteReportFolderMustTrulyEndInABackslash) {
  KORVET_REQUIRE_CODE_PAGE(932);
  using namespace testing::cp932;
  WriteList("@$");
  bench_.AddReport("Trip", "x");
  testing::ScratchFolder reports;
  const std::string folder = reports.WithSlash() + kTable;
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  bench_.Folder().Write("Cardoon.dat", folder + "@$#");
  Run();
  EXPECT_FALSE(reports.Exists(kTable + testing::ReportFile("Trip")));
  EXPECT_EQ(bench_.RecordData().size(), 1u);
  EXPECT_EQ(bench_.LogTexts()[1],
            "Report folder not a full folder path ending in a backslash, traverse reports not retrieved: " + folder);

  bench_.Folder().Write("Cardoon.dat", folder + "\\@$#");
  Run();
  EXPECT_EQ(testing::ScratchFolder::ReadPath(folder + "\\" + testing::ReportFile("Trip")), "x");
  EXPECT_TRUE(bench_.RecordData().empty());
}

// The conduit's own synchronizers and end pass, over the bench's core directory.
SessionServices ServicesOver(const testing::HotSyncBench& bench) {
  SessionServices services = DefaultSessionServices();
  services.corePath = [core = bench.CorePath()]() -> std::optional<std::string> { return core; };
  return services;
}

long TotalCalls() {
  long total = 0;
  for (std::string_view operation : sim::kSyncOperationNames) total += SimCallCount(std::string(operation).c_str());
  return total;
}

// The calls a session leaves out, because their answers go unused, change nothing: in every sync type
// the same HotSync, made with and without them, leaves the same result, records, backup copies, report
// files, list and log. One handheld holds records marked for the purge, the other none.
TEST(SessionCalls, LeavingOutUnusedCallsChangesNothing) {
  struct Outcome {
    long result = 0;
    std::vector<testing::BenchRecord> records;
    std::vector<std::string> files;  // the backup copies, the list and the report files
    std::vector<std::string> log;
    long systemInfoReads = 0;
    long appInfoReads = 0;
    long calls = 0;
  };
  auto run = [](long type, bool marked, bool everyCall) {
    testing::HotSyncBench bench;
    testing::ScratchFolder reports;
    bench.SetAppInfo(std::string(276, '\0'));
    bench.AddRecord("a.qzl,Ko old*", handheld::kHandheldModified, 0);
    bench.AddReport("North", "P1,1\r\n");
    bench.AddRecord("$0000001Hidden,P3", handheld::kHandheldPrivate | handheld::kHandheldModified, 2);
    bench.AddReport("North", "P1,2\r\n");
    if (marked) {
      bench.AddRecord("gone.qzl,Ko*", handheld::kHandheldDeleted, 0);
      bench.AddRecord("$0000002Kept,P2", handheld::kHandheldDeleted | handheld::kHandheldArchived, 1);
    }
    bench.Folder().Write("a.qzl", "Ko new");
    bench.Folder().Write("a.BAK", "Ko old");
    bench.Folder().Write("b.qzl", "Kob");
    bench.Folder().Write("c.BAK", "Ko last of c");
    const std::string folder = bench.Folder().WithSlash();
    bench.Folder().Write("Xembrafilepath.dat", folder + ",a.qzl*" + folder + ",b.qzl*" + folder + ",c.qzl*@$");
    bench.Folder().Write("Cardoon.dat", reports.WithSlash() + (marked ? "@$#" : "@$%"));
    sync::MakeUnusedCalls(everyCall);
    SimResetCallCounts();
    SyncProperties properties = testing::KorvetProperties(type);
    Outcome outcome;
    outcome.result = RunHotSyncSession(reinterpret_cast<void*>(1), &properties, ServicesOver(bench));
    sync::MakeUnusedCalls(false);
    outcome.systemInfoReads = SimCallCount("SyncReadSystemInfo");
    outcome.appInfoReads = SimCallCount("ReadHandheldAppInfoBlock");
    outcome.calls = TotalCalls();
    outcome.records = bench.Records();
    for (const char* name : {"a.BAK", "b.BAK", "c.BAK", "Xembrafilepath.dat"})
      outcome.files.push_back(name + std::string(": ") +
                              (bench.Folder().Exists(name) ? bench.Folder().Read(name) : "(none)"));
    // Each run has its own scratch folders: the list and the log name them the same way.
    auto named = [&](std::string text) {
      for (const auto& [path, name] :
           {std::pair{bench.Folder().Path(), "<folder>"}, std::pair{reports.Path(), "<reports>"}})
        for (auto at = text.find(path); at != std::string::npos; at = text.find(path))
          text.replace(at, path.size(), name);
      return text;
    };
    for (std::string& file : outcome.files) file = named(file);
    std::vector<std::string> reportFiles;
    for (const auto& entry : std::filesystem::directory_iterator(reports.Path()))
      reportFiles.push_back(entry.path().filename().string() + ": " + reports.Read(entry.path().filename().string()));
    std::sort(reportFiles.begin(), reportFiles.end());
    outcome.files.insert(outcome.files.end(), reportFiles.begin(), reportFiles.end());
    for (const std::string& line : bench.LogTexts()) outcome.log.push_back(named(line));
    return outcome;
  };
  for (bool marked : {true, false}) {
    for (long type : {kFastSync, kSlowSync, kHandheldOverwritesDesktop, kDesktopOverwritesHandheld, kInstallSync,
                      kBackupSync, kDoNothing, kProfileInstall}) {
      SCOPED_TRACE("sync type " + std::to_string(type) + (marked ? ", records marked for the purge" : ""));
      const Outcome every = run(type, marked, true);
      const Outcome lean = run(type, marked, false);
      EXPECT_EQ(lean.result, every.result);
      EXPECT_EQ(lean.records, every.records);
      EXPECT_EQ(lean.files, every.files);
      EXPECT_EQ(lean.log, every.log);
      EXPECT_LE(lean.systemInfoReads, 1);
      EXPECT_LE(lean.calls, every.calls);
      if (type == kFastSync || type == kSlowSync) {
        EXPECT_EQ(every.systemInfoReads, 3);
        EXPECT_EQ(lean.appInfoReads, 0);
        EXPECT_EQ(every.appInfoReads, 2);  // the run of the missing c.qzl stops before
        EXPECT_LT(lean.calls, every.calls);
      }
    }
  }
}

// In a fast sync each further listed file costs its yield, its record's write, the clearing of the
// changed marks and the end pass's read of its record: four Sync Manager calls.
TEST(SessionCalls, EachFurtherFileOfAFastSyncCostsFourCalls) {
  auto calls = [](int files) {
    testing::HotSyncBench bench;
    bench.AddReport("North", "P1");
    std::string list;
    for (int i = 0; i < files; ++i) {
      const std::string name = "f" + std::to_string(i) + ".qzl";
      bench.Folder().Write(name, "Ko" + std::to_string(i));
      list += bench.Folder().WithSlash() + "," + name + "*";
    }
    bench.Folder().Write("Xembrafilepath.dat", list + "@$");
    SimResetCallCounts();
    SyncProperties properties = testing::KorvetProperties(kFastSync);
    EXPECT_EQ(RunHotSyncSession(reinterpret_cast<void*>(1), &properties, ServicesOver(bench)), 0);
    const long total = TotalCalls();  // before the bench reads the handheld itself
    EXPECT_EQ(bench.Records().size(), static_cast<std::size_t>(files) + 1);
    return total;
  };
  const long one = calls(1);
  EXPECT_EQ(calls(3) - one, 2 * 4);
  // The first file and the report: two yields (the entry, the end marker), the system information, the
  // Sync Manager session's open and close, the database's open and close, the write, the clearing of
  // the changed marks, the count and the two records' reads.
  EXPECT_EQ(one, 12);
}

// The listed files share one Sync Manager session, closed after the list: a close that fails makes the
// session's result, though every file was sent.
TEST(SessionCalls, ASharedSyncManagerSessionThatDoesNotCloseFailsTheSession) {
  testing::HotSyncBench bench;
  bench.Folder().Write("a.qzl", "Koa");
  bench.Folder().Write("b.qzl", "Kob");
  const std::string folder = bench.Folder().WithSlash();
  bench.Folder().Write("Xembrafilepath.dat", folder + ",a.qzl*" + folder + ",b.qzl*@$");
  constexpr long kLinkLost = 0x2004;
  SimInjectFault(kSimFaultFail, "CloseSyncSession", 1, kLinkLost);
  SyncProperties properties = testing::KorvetProperties(kFastSync);
  EXPECT_EQ(RunHotSyncSession(reinterpret_cast<void*>(1), &properties, ServicesOver(bench)), kLinkLost);
  SimClearFailures();
  EXPECT_EQ(bench.RecordData(), (std::vector<std::string>{"a.qzl,Koa*", "b.qzl,Kob*"}));
  const std::vector<std::string> log = bench.LogTexts();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], kProblems + "the Sync Manager session did not close");
  EXPECT_EQ(log.back(), kComplete);
}

}  // namespace
}  // namespace korvet
