#include "conduit/entry/session_driver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>

#include "common/win_file.h"
#include "conduit/base/allocation.h"
#include "conduit/store/status_codes.h"
#include "conduit/test_support/hotsync_bench.h"
#include "conduit/test_support/korvet_properties.h"
#include "sim/sync20/sync20_control.h"

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

 private:
  class Recording : public SettingsSynchronizer {
   public:
    explicit Recording(RecordingSynchronizers& owner) : owner_(owner) { ++owner_.alive_; }
    ~Recording() override { --owner_.alive_; }
    long Run() override {
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
  SessionTest() { std::memset(&properties_, 0, sizeof properties_); }

  long Run(void* hotsync = reinterpret_cast<void*>(1)) {
    SessionServices services{[this]() -> std::optional<std::string> { return corePath_; }, synchronizers_.Factory()};
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
  EXPECT_EQ(bench_.LogTexts(), (std::vector<std::string>{kStart, kComplete}));
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

// With the conduit's own synchronizers: a file whose synchronizer finds no memory is not sent, which
// the log and the result say; the next file is still sent.
TEST_F(SessionTest, OutOfMemoryForASynchronizerSkipsItsFileAndFailsTheSession) {
  const std::string folder = bench_.Folder().WithSlash();
  bench_.Folder().Write("a.qzl", "Koa");
  bench_.Folder().Write("b.qzl", "Kob");
  WriteList(folder + ",a.qzl*" + folder + ",b.qzl*@$");
  properties_ = testing::KorvetProperties(kFastSync);
  SessionServices services{[this]() -> std::optional<std::string> { return corePath_; }, DefaultSynchronizerFactory()};
  base::FailAllocation(1);
  EXPECT_EQ(RunHotSyncSession(reinterpret_cast<void*>(1), &properties_, services), store::kOutOfMemory);
  base::FailAllocation(0);
  EXPECT_EQ(bench_.RecordData(), std::vector<std::string>{"b.qzl,Kob*"});
  EXPECT_EQ(bench_.LogTexts()[1], "Out of memory, an Ostrel settings file was not sent");
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
  EXPECT_EQ(
      bench_.LogTexts(),
      (std::vector<std::string>{kStart, "Ostrel settings file entry too long, not sent: C:\\D\\," + name, kComplete}));
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
    EXPECT_EQ(
        bench_.LogTexts(),
        (std::vector<std::string>{
            kStart,
            "Report folder not a full folder path ending in a backslash, traverse reports not retrieved: " + folder,
            kComplete}))
        << folder;
    EXPECT_EQ(bench_.RecordData().size(), 1u) << folder;
  }
  EXPECT_FALSE(reports.Exists("..\\" + reports.Path().substr(reports.Path().rfind('\\') + 1) + "T1.csv"));
}

TEST_F(SessionTest, ReportFolderFileDecidesRetrievalAndDeletion) {
  WriteList("@$");
  bench_.AddReport("T1", "a,b\r\n");
  testing::ScratchFolder reports;

  bench_.Folder().Write("Cardoon.dat", reports.WithSlash() + "@^%");
  Run();
  EXPECT_FALSE(reports.Exists("T1.csv"));

  bench_.Folder().Write("Cardoon.dat", reports.WithSlash() + "@");
  Run();
  EXPECT_FALSE(reports.Exists("T1.csv"));

  bench_.Folder().Write("Cardoon.dat", reports.WithSlash() + "@$%");
  Run();
  EXPECT_EQ(reports.Read("T1.csv"), "a,b\r\n");
  EXPECT_EQ(bench_.RecordData().size(), 1u);

  DeleteFileA(reports.File("T1.csv").c_str());
  bench_.Folder().Write("Cardoon.dat", reports.WithSlash() + "@$#");
  Run();
  EXPECT_EQ(reports.Read("T1.csv"), "a,b\r\n");
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
  reports.Write("T3.csv", "older survey");

  bench_.Folder().Write("Cardoon.dat", reports.WithSlash() + "@$%");
  SimResetCallCounts();
  Run();
  // Counted before the checks below read the handheld themselves.
  EXPECT_EQ(SimCallCount("ReadHandheldRecordByIndex"), 8);
  EXPECT_EQ(SimCallCount("DeleteHandheldRecord"), 4);
  EXPECT_EQ(bench_.RecordData(), (std::vector<std::string>{"$0000001T3,three", "site.qzl,new*", "$0000001T2,two new",
                                                           "$0000001T1,one new"}));
  EXPECT_EQ(reports.Read("T1.csv"), "one new");
  EXPECT_EQ(reports.Read("T2.csv"), "two new");
  EXPECT_EQ(reports.Read("T3.csv"), "older survey");
  EXPECT_EQ(bench_.LogTexts(),
            (std::vector<std::string>{kStart, "Filename already exist", reports.File("T3.csv"), kComplete}));

  bench_.Folder().Write("Cardoon.dat", reports.WithSlash() + "@$#");
  SimResetCallCounts();
  Run();
  EXPECT_EQ(SimCallCount("ReadHandheldRecordByIndex"), 4);
  EXPECT_EQ(SimCallCount("DeleteHandheldRecord"), 2);
  EXPECT_EQ(bench_.RecordData(), (std::vector<std::string>{"$0000001T3,three", "site.qzl,new*"}));
  EXPECT_EQ(reports.Read("T1.csv"), "one new");
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
  const std::string folder = "C:\\" + std::string(260, 'r') + "\\";
  bench_.Folder().Write("Cardoon.dat", folder + "@$#");
  bench_.AddReport("T1", "x");
  Run();
  EXPECT_EQ(bench_.LogTexts(),
            (std::vector<std::string>{kStart, "Report folder too long, traverse reports not retrieved: " + folder,
                                      kComplete}));
  EXPECT_EQ(bench_.RecordData().size(), 1u);
}

}  // namespace
}  // namespace korvet
