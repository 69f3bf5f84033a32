// The installer and the remover from end to end: the real programs, answered through their windows,
// on a scratch copy of the stand-in HotSync installation, checked with synchost as HotSync Manager
// sees the registrations and runs the conduit.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/paths.h"
#include "common/win_library.h"
#include "tests/install/answered_run.h"
#include "tests/support/hotsync_installation.h"
#include "tests/support/report_file.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_process.h"

namespace korvet::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kRestartNote = "The Hotsync Manager must be restarted\nafter the install is complete.";
constexpr DWORD kHostTimeoutMs = 60000;

const std::vector<std::string> kDeliverables = {"Attachor.exe", "Detachor.exe", "Korv.dll",       "Xembrafilepath.dll",
                                                "Cardoon.dll",  "Setpanel.exe", "Setpanelrun.exe"};
const std::vector<std::string> kCopiedTools = {"Xembrafilepath.dll", "Cardoon.dll", "Setpanel.exe"};

// Every message box of the installer and the remover has no owner window and only an OK button.
MATCHER_P2(Message, caption, text, "") {
  return arg.caption == caption && arg.text == text && !arg.owned && arg.buttons == std::vector<std::string>{"OK"};
}

// The user's folder with the unpacked distribution, the HotSync installation, and an empty folder
// that the programs are started in.
class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string build = BuildFolder();
    for (const std::string& folder : {distribution_, started_in_, reports_})
      ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    for (const std::string& file : kDeliverables)
      ASSERT_TRUE(CopyFileA((build + "\\korvet\\" + file).c_str(), Distributed(file).c_str(), FALSE)) << file;
    scratch_.Write("HotSync\\CondMgrCalls.txt", "");  // the Conduit Manager logs its calls there
  }

  // A Conduit Manager that only knows the core directory, beside the installer, so that it is the
  // one found by name: it answers `corePath`, or fails when that is empty.
  void PutLoneConduitManager(const std::string& corePath) const {
    const std::string lone = ModuleFolder(nullptr) + "\\lone_condmgr\\CondMgr.dll";
    ASSERT_TRUE(CopyFileA(lone.c_str(), Distributed("CondMgr.dll").c_str(), FALSE));
    if (!corePath.empty()) scratch_.Write("Korvet\\CorePath.txt", corePath);
  }

  std::string Distributed(const std::string& file) const { return JoinPath(distribution_, file); }
  std::string InHotSync(const std::string& file) const { return JoinPath(hotsync_, file); }

  // The HotSync folder is on the programs' search path, as the stand-in's Conduit Manager is found.
  AnsweredRun Run(const std::string& program, int button, const std::string& searchPath) const {
    StartOptions options{.folder = started_in_, .searchPath = searchPath};
    return RunAnswering(Distributed(program + ".exe"), program, button, options);
  }
  AnsweredRun Attach(int button) const { return Run("Attachor", button, hotsync_); }
  AnsweredRun Detach(int button) const { return Run("Detachor", button, hotsync_); }

  // synchost's output with its line ends as LF alone.
  ProgramOutput Host(const std::string& arguments) const {
    StartOptions options{.folder = started_in_};
    ProgramOutput result = RunProgram("\"" + InHotSync("synchost.exe") + "\" " + arguments, options, kHostTimeoutMs);
    std::erase(result.output, '\r');
    return result;
  }
  std::string Conduits() const { return Host("conduits").output; }
  std::string ConduitManagerCalls() const { return ScratchFolder::ReadPath(InHotSync("CondMgrCalls.txt")); }
  // The calls of one installation: the core directory, then the registration, setter by setter.
  std::string InstallationCalls() const {
    return "CmGetCorePath(512) = 0\r\n"
           "CmInstallCreator(\"KRVT\", 1) = 0\r\n"
           "CmSetCreatorName(\"KRVT\", \"" +
           Distributed("Korv.dll") +
           "\") = 0\r\n"
           "CmSetCreatorDirectory(\"KRVT\", \"\") = 0\r\n"
           "CmSetCreatorFile(\"KRVT\", \"dummy.qzl\") = 0\r\n"
           "CmSetCreatorRemote(\"KRVT\", \"KORVETDatabaseDB\") = 0\r\n"
           "CmSetCreatorTitle(\"KRVT\", \"Korvet\") = 0\r\n"
           "CmSetCreatorPriority(\"KRVT\", 2) = 0\r\n";
  }
  std::string KorvetRegistration() const {
    return "KRVT priority 2: title \"Korvet\", library \"" + Distributed("Korv.dll") +
           "\", directory \"\", file \"dummy.qzl\", remote \"KORVETDatabaseDB\"\n";
  }

  // A HotSync with an empty settings-file list and one traverse report on the handheld: Korvet,
  // when it runs, writes the report into the report folder.
  ProgramOutput SyncWithOneReport() const {
    scratch_.Write("report.txt", "Station,N,E\r\nP1,1.0,2.0\r\n");
    EXPECT_EQ(Host("handheld add-report North --file \"" + scratch_.File("report.txt") + "\"").exitCode, 0u);
    scratch_.Write("HotSync\\Xembrafilepath.dat", "");
    scratch_.Write("HotSync\\Cardoon.dat", reports_ + "\\@$%");
    return Host("sync");
  }
  bool ReportWritten() const {
    return ScratchFolder::ReadPath(JoinPath(reports_, ReportFile("North"))) == "Station,N,E\r\nP1,1.0,2.0\r\n";
  }

  // The stand-in HotSync installation, without Korvet, in the scratch folder's HotSync\.
  const Installation installation_{{}, true, "HotSync"};
  const ScratchFolder& scratch_ = installation_.Outside();
  const std::string distribution_ = scratch_.File("Korvet");
  const std::string hotsync_ = installation_.Folder();
  const std::string started_in_ = scratch_.File("Elsewhere");
  const std::string reports_ = scratch_.File("Reports");
};

TEST_F(InstallTest, YesCopiesTheToolsRegistersKorvetAndHotSyncRunsIt) {
  AnsweredRun run = Attach(1);
  ASSERT_EQ(run.failure, "");
  EXPECT_EQ(run.question, "Do you want to register the conduit\n with the Hotsync Manager");
  EXPECT_EQ(run.yesButton, "Yes");
  EXPECT_EQ(run.noButton, "No");
  EXPECT_THAT(run.messages, ElementsAre(Message("Note", kRestartNote))) << Describe(run.messages);
  EXPECT_EQ(run.exitCode, 0u);

  for (const std::string& tool : kCopiedTools)
    EXPECT_EQ(ScratchFolder::ReadPath(InHotSync(tool)), ScratchFolder::ReadPath(Distributed(tool))) << tool;
  // The conduit is registered where it is found; the launcher stays with the distribution.
  for (const char* stays : {"Korv.dll", "Setpanelrun.exe", "Attachor.exe", "Detachor.exe"})
    EXPECT_EQ(GetFileAttributesA(InHotSync(stays).c_str()), INVALID_FILE_ATTRIBUTES) << stays;
  // The list files are there for the tools of a standard user to save (their access list is checked
  // in install_test: Wine keeps none).
  EXPECT_EQ(ScratchFolder::ReadPath(InHotSync("Xembrafilepath.dat")), "");
  EXPECT_EQ(ScratchFolder::ReadPath(InHotSync("Cardoon.dat")), "");
  EXPECT_EQ(Conduits(), KorvetRegistration());
  // What reached the Conduit Manager, in order (CmSetCreatorInfo never), and what it stored.
  EXPECT_EQ(ConduitManagerCalls(), InstallationCalls());
  EXPECT_EQ(
      ScratchFolder::ReadPath(InHotSync("Conduits.txt")),
      "; Conduits registered with the stand-in HotSync Manager.\r\n"
      "[KRVT]\r\nType=1\r\nLibrary=" +
          Distributed("Korv.dll") +
          "\r\nDirectory=\r\nFile=dummy.qzl\r\nRemote=KORVETDatabaseDB\r\nTitle=Korvet\r\nPriority=2\r\nInfo=\r\n");

  ProgramOutput sync = SyncWithOneReport();
  EXPECT_EQ(sync.exitCode, 0u) << sync.output;
  EXPECT_THAT(sync.output, HasSubstr("Starting Sync with KorvIR"));
  EXPECT_TRUE(ReportWritten());
}

TEST_F(InstallTest, RunningAgainReplacesTheToolsAndTheRegistration) {
  scratch_.Write("HotSync\\Cardoon.dll", "an older folder picker");
  ASSERT_EQ(Host("register KRVT \"" + InHotSync("sync20.dll") + "\" --remote Old --title Old --priority 7").exitCode,
            0u);

  for (int pass = 0; pass < 2; ++pass) {
    AnsweredRun run = Attach(1);
    ASSERT_EQ(run.failure, "");
    EXPECT_THAT(run.messages, ElementsAre(Message("Note", kRestartNote))) << Describe(run.messages);
    EXPECT_EQ(ScratchFolder::ReadPath(InHotSync("Cardoon.dll")), ScratchFolder::ReadPath(Distributed("Cardoon.dll")));
    EXPECT_EQ(Conduits(), KorvetRegistration());
  }
}

TEST_F(InstallTest, NoChangesNothing) {
  AnsweredRun run = Attach(2);
  ASSERT_EQ(run.failure, "");
  EXPECT_THAT(run.messages, ElementsAre(Message("Note", "The Conduit will not be registered with the Hotsync Manager")))
      << Describe(run.messages);
  for (const std::string& tool : kCopiedTools) EXPECT_FALSE(scratch_.Exists("HotSync\\" + tool)) << tool;
  EXPECT_EQ(Conduits(), "No conduits registered.\n");
  EXPECT_EQ(ConduitManagerCalls(), "");
}

TEST_F(InstallTest, EveryCopyThatFailsIsReportedInTheOrderOfCopying) {
  for (const std::string& tool : kCopiedTools) ASSERT_TRUE(DeleteFileA(Distributed(tool).c_str())) << tool;

  AnsweredRun run = Attach(1);
  ASSERT_EQ(run.failure, "");
  EXPECT_THAT(run.messages, ElementsAre(Message("Error", "Unable to copy Xembrafilepath.dll to the Hotsync directory"),
                                        Message("Error", "Unable to copy Cardoon.dll to the Hotsync directory"),
                                        Message("Error", "Unable to copy Setpanel.exe to the Hotsync directory"),
                                        Message("Note", kRestartNote)))
      << Describe(run.messages);
  EXPECT_EQ(ConduitManagerCalls(), InstallationCalls());
}

TEST_F(InstallTest, EachToolThatCannotBeCopiedIsReportedAndTheRestIsInstalled) {
  ASSERT_TRUE(DeleteFileA(Distributed("Cardoon.dll").c_str()));
  // A folder where Setpanel.exe should go: the copy itself fails.
  ASSERT_TRUE(CreateDirectoryA(InHotSync("Setpanel.exe").c_str(), nullptr));

  AnsweredRun run = Attach(1);
  ASSERT_EQ(run.failure, "");
  EXPECT_THAT(run.messages, ElementsAre(Message("Error", "Unable to copy Cardoon.dll to the Hotsync directory"),
                                        Message("Error", "Unable to copy Setpanel.exe to the Hotsync directory"),
                                        Message("Note", kRestartNote)))
      << Describe(run.messages);
  EXPECT_EQ(ScratchFolder::ReadPath(InHotSync("Xembrafilepath.dll")),
            ScratchFolder::ReadPath(Distributed("Xembrafilepath.dll")));
  EXPECT_FALSE(scratch_.Exists("HotSync\\Cardoon.dll"));
  EXPECT_EQ(Conduits(), KorvetRegistration());
}

TEST_F(InstallTest, WithoutKorvDllNothingIsRegistered) {
  ASSERT_TRUE(DeleteFileA(Distributed("Korv.dll").c_str()));

  AnsweredRun run = Attach(1);
  ASSERT_EQ(run.failure, "");
  EXPECT_THAT(run.messages, ElementsAre(Message("Error", "Cannot locate file Korv.dll"), Message("Note", kRestartNote)))
      << Describe(run.messages);
  for (const std::string& tool : kCopiedTools) EXPECT_TRUE(scratch_.Exists("HotSync\\" + tool)) << tool;
  EXPECT_EQ(Conduits(), "No conduits registered.\n");
}

TEST_F(InstallTest, WithoutTheConduitManagerNothingIsCopiedOrRegistered) {
  AnsweredRun run = Run("Attachor", 1, started_in_);
  ASSERT_EQ(run.failure, "");
  EXPECT_THAT(run.messages, ElementsAre(Message("error", "Cannot find CondMgr.dll"), Message("Note", kRestartNote)))
      << Describe(run.messages);
  for (const std::string& tool : kCopiedTools) EXPECT_FALSE(scratch_.Exists("HotSync\\" + tool)) << tool;
  EXPECT_EQ(Conduits(), "No conduits registered.\n");

  run = Run("Detachor", 1, started_in_);
  ASSERT_EQ(run.failure, "");
  EXPECT_THAT(run.messages, ElementsAre(Message("error", "Cannot find CondMgr.dll"))) << Describe(run.messages);
}

TEST_F(InstallTest, TheInstallationsOwnConduitManagerRegisters) {
  PutLoneConduitManager(hotsync_);

  AnsweredRun run = Attach(1);
  ASSERT_EQ(run.failure, "");
  EXPECT_THAT(run.messages, ElementsAre(Message("Note", kRestartNote))) << Describe(run.messages);
  for (const std::string& tool : kCopiedTools) EXPECT_TRUE(scratch_.Exists("HotSync\\" + tool)) << tool;
  EXPECT_EQ(Conduits(), KorvetRegistration());
}

TEST_F(InstallTest, AnUnknownCoreDirectoryStopsTheInstallation) {
  PutLoneConduitManager("");

  AnsweredRun run = Attach(1);
  ASSERT_EQ(run.failure, "");
  EXPECT_THAT(
      run.messages,
      ElementsAre(Message("Error", "Unable to find the Hotsync directory\n Conduit may not be registered correctly"),
                  Message("Note", kRestartNote)))
      << Describe(run.messages);
  for (const std::string& tool : kCopiedTools) EXPECT_FALSE(scratch_.Exists("HotSync\\" + tool)) << tool;
  EXPECT_EQ(Conduits(), "No conduits registered.\n");
}

// A core directory without a Conduit Manager of its own leaves only the one found by name, which
// cannot register: the tools are copied, the user is told, and nothing is called through a
// missing function.
TEST_F(InstallTest, AConduitManagerThatCannotRegisterIsReported) {
  const std::string core = scratch_.File("Core");
  ASSERT_TRUE(CreateDirectoryA(core.c_str(), nullptr));
  PutLoneConduitManager(core);

  AnsweredRun run = Attach(1);
  ASSERT_EQ(run.failure, "");
  EXPECT_THAT(run.messages, ElementsAre(Message("error", "Cannot find CondMgr.dll"), Message("Note", kRestartNote)))
      << Describe(run.messages);
  EXPECT_EQ(run.exitCode, 0u);
  for (const std::string& tool : kCopiedTools) EXPECT_TRUE(scratch_.Exists("Core\\" + tool)) << tool;
  EXPECT_EQ(Conduits(), "No conduits registered.\n");
}

TEST_F(InstallTest, RemoverTakesKorvetOutOfHotSyncOnceAndLeavesTheFiles) {
  ASSERT_EQ(Attach(1).failure, "");
  ASSERT_EQ(Conduits(), KorvetRegistration());

  ASSERT_TRUE(DeleteFileA(InHotSync("CondMgrCalls.txt").c_str()));
  scratch_.Write("HotSync\\CondMgrCalls.txt", "");
  AnsweredRun no = Detach(2);
  ASSERT_EQ(no.failure, "");
  EXPECT_EQ(ConduitManagerCalls(), "");  // "No" calls nothing
  EXPECT_EQ(no.question, "Do you want to unregister the conduit\n with the Hotsync Manager");
  EXPECT_EQ(no.yesButton, "Yes");
  EXPECT_EQ(no.noButton, "No");
  EXPECT_THAT(no.messages, ElementsAre()) << Describe(no.messages);
  EXPECT_EQ(Conduits(), KorvetRegistration());

  for (int pass = 0; pass < 2; ++pass) {  // the second finds nothing to remove and says nothing
    AnsweredRun yes = Detach(1);
    ASSERT_EQ(yes.failure, "");
    EXPECT_THAT(yes.messages, ElementsAre()) << Describe(yes.messages);
    EXPECT_EQ(yes.exitCode, 0u);
    EXPECT_EQ(Conduits(), "No conduits registered.\n");
  }
  EXPECT_EQ(ConduitManagerCalls(),
            "CmRemoveConduitByCreatorID(\"KRVT\") = 1\r\nCmRemoveConduitByCreatorID(\"KRVT\") = 0\r\n");
  for (const std::string& tool : kCopiedTools) EXPECT_TRUE(scratch_.Exists("HotSync\\" + tool)) << tool;
  for (const char* list : {"Xembrafilepath.dat", "Cardoon.dat"})
    EXPECT_TRUE(scratch_.Exists("HotSync\\" + std::string(list))) << list;

  ProgramOutput sync = SyncWithOneReport();
  EXPECT_EQ(sync.exitCode, 0u) << sync.output;
  EXPECT_THAT(sync.output, Not(HasSubstr("KorvIR")));
  EXPECT_FALSE(ReportWritten());
}

TEST_F(InstallTest, RemoverWhoseConduitManagerLacksTheFunctionSaysItCannotFindIt) {
  ASSERT_EQ(Attach(1).failure, "");
  PutLoneConduitManager(hotsync_);  // found by name first; it knows only the core directory

  AnsweredRun run = Detach(1);
  ASSERT_EQ(run.failure, "");
  EXPECT_THAT(run.messages, ElementsAre(Message("error", "Cannot find CondMgr.dll"))) << Describe(run.messages);
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(Conduits(), KorvetRegistration());
}

}  // namespace
}  // namespace korvet::testing
