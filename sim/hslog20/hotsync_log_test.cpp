#include "sim/hslog20/hotsync_log.h"

#include <regex>

#include <gtest/gtest.h>

#include "common/paths.h"
#include "common/win_library.h"
#include "sim/hslog20/hslog20_control.h"
#include "sim/support/sim_files.h"
#include "tests/support/scratch_folder.h"

namespace korvet::hotsync {
namespace {

using testing::ScratchFolder;

std::string FileText(const std::string& path) { return ScratchFolder::ReadPath(path); }

TEST(LogLine, StampTabActivityTabTextCrLf) {
  LogTime when{2024, 3, 7, 9, 5, 1};
  EXPECT_EQ(FormatLogLine(when, -1, "Starting Sync with KorvIR"),
            "2024-03-07 09:05:01\t-1\tStarting Sync with KorvIR\r\n");
  EXPECT_EQ(FormatLogLine({1999, 12, 31, 23, 59, 59}, 22, ""), "1999-12-31 23:59:59\t22\t\r\n");
  EXPECT_EQ(FormatLogLine(when, -2147483647L - 1, "x"), "2024-03-07 09:05:01\t-2147483648\tx\r\n");
  // The text goes out byte for byte, line breaks and high bytes included.
  EXPECT_EQ(FormatLogLine(when, 8, "a\r\nb\t\xE9\\"), "2024-03-07 09:05:01\t8\ta\r\nb\t\xE9\\\r\n");
}

TEST(HotSyncLog, AppendsLinesAndAnswersItsStatePerConduit) {
  ScratchFolder scratch;
  std::string path = JoinPath(scratch.Path(), "HotSync.log");
  HotSyncLog log(path);
  EXPECT_EQ(log.State(), 0);
  LogTime when{2024, 1, 2, 3, 4, 5};
  EXPECT_EQ(log.Append("first", -1, when), 0);
  EXPECT_NE(log.State(), 0);
  log.BeginConduit();
  EXPECT_EQ(log.State(), 0);
  EXPECT_EQ(log.Append("second", 19, when), 0);
  EXPECT_NE(log.State(), 0);
  EXPECT_EQ(FileText(path), "2024-01-02 03:04:05\t-1\tfirst\r\n2024-01-02 03:04:05\t19\tsecond\r\n");

  log.BeginConduit();
  EXPECT_NE(log.Append(nullptr, -1, when), 0);
  EXPECT_EQ(log.State(), 0);
}

TEST(HotSyncLog, AFailedAppendLeavesTheStateAlone) {
  ScratchFolder scratch;
  HotSyncLog log(JoinPath(scratch.Path(), "no such folder\\HotSync.log"));
  EXPECT_NE(log.Append("lost", -1), 0);
  EXPECT_EQ(log.State(), 0);
}

TEST(HotSyncLog, SwitchesFilesAndBackToTheDefault) {
  ScratchFolder scratch;
  std::string first = JoinPath(scratch.Path(), "default.log"), second = JoinPath(scratch.Path(), "other.log");
  HotSyncLog log(first);
  LogTime when{2024, 1, 2, 3, 4, 5};
  log.SetFile(second);
  log.Append("b", -1, when);
  log.SetFile("");
  EXPECT_EQ(log.File(), first);
  log.Append("a", -1, when);
  EXPECT_EQ(FileText(first), "2024-01-02 03:04:05\t-1\ta\r\n");
  EXPECT_EQ(FileText(second), "2024-01-02 03:04:05\t-1\tb\r\n");
}

TEST(HotSyncLog, EchoesTheSameLineToStandardOutput) {
  ScratchFolder scratch;
  std::string path = JoinPath(scratch.Path(), "HotSync.log"), echoPath = JoinPath(scratch.Path(), "echoed.txt");
  HotSyncLog log(path);
  LogTime when{2024, 1, 2, 3, 4, 5};
  {
    UniqueFile echoed(CreateFileA(echoPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(echoed.IsValid());
    HANDLE saved = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, echoed.Get());
    log.Append("quiet", -1, when);
    log.SetEcho(true);
    log.Append("loud", 20, when);
    log.SetEcho(false);
    log.Append("quiet again", -1, when);
    SetStdHandle(STD_OUTPUT_HANDLE, saved);
  }
  EXPECT_EQ(FileText(echoPath), "2024-01-02 03:04:05\t20\tloud\r\n");
}

// The built library, bound by ordinal as the conduit binds it.
TEST(Hslog20Library, ExportsTheLogByOrdinalAndTheControlsByName) {
  WinLibrary library("hslog20.dll");
  ASSERT_TRUE(library.IsLoaded());
  using AppendFn = long (*)(const char*, long, long);
  using StateFn = std::uint16_t (*)();
  auto append = reinterpret_cast<AppendFn>(GetProcAddress(library.Handle(), reinterpret_cast<const char*>(52)));
  auto state = reinterpret_cast<StateFn>(GetProcAddress(library.Handle(), reinterpret_cast<const char*>(56)));
  ASSERT_NE(append, nullptr);
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(library.Get<AppendFn>("AppendHotSyncLog"), append);
  EXPECT_EQ(library.Get<StateFn>("QueryHotSyncLogState"), state);
  auto setFile = library.Get<SimLogSetFileFn>("SimLogSetFile");
  auto begin = library.Get<SimLogBeginConduitFn>("SimLogBeginConduit");
  ASSERT_NE(setFile, nullptr);
  ASSERT_NE(begin, nullptr);
  ASSERT_NE(library.Get<SimLogSetEchoFn>("SimLogSetEcho"), nullptr);

  ScratchFolder scratch;
  std::string path = JoinPath(scratch.Path(), "HotSync.log");
  EXPECT_EQ(setFile(path.c_str()), 0);
  EXPECT_EQ(begin(), 0);
  EXPECT_EQ(state(), 0);
  EXPECT_EQ(append("-- Korvet", -1, 0), 0);
  EXPECT_NE(state(), 0);
  EXPECT_EQ(begin(), 0);
  EXPECT_EQ(state(), 0);
  EXPECT_EQ(append("Fatal Error 4376.", 9, 0), 0);
  std::string text = FileText(path);
  std::regex expected(
      "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\t-1\t-- Korvet\r\n"
      "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\t9\tFatal Error 4376\\.\r\n");
  EXPECT_TRUE(std::regex_match(text, expected)) << text;
}

TEST(Hslog20Library, WritesHotSyncLogBesideTheLibraryByDefault) {
  // A copy in a scratch folder, so the installation's own log stays untouched.
  std::string installed;
  {
    WinLibrary found("hslog20.dll");
    ASSERT_TRUE(found.IsLoaded());
    installed = JoinPath(ModuleFolder(found.Handle()), "hslog20.dll");
  }
  ScratchFolder scratch;
  const std::string& folder = scratch.Path();
  std::string copy = JoinPath(folder, "hslog20.dll"), log = JoinPath(folder, "HotSync.log");
  ASSERT_TRUE(CopyFileA(installed.c_str(), copy.c_str(), FALSE));
  {
    WinLibrary library(copy);
    ASSERT_TRUE(library.IsLoaded());
    auto append = library.Get<long (*)(const char*, long, long)>("AppendHotSyncLog");
    ASSERT_NE(append, nullptr);
    EXPECT_EQ(append("beside the library", -1, 0), 0);
    EXPECT_EQ(library.Get<SimLogSetFileFn>("SimLogSetFile")(nullptr), 0);
    EXPECT_EQ(append("still beside it", 20, 0), 0);
  }
  std::regex expected(
      "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\t-1\tbeside the library\r\n"
      "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\t20\tstill beside it\r\n");
  std::string text = FileText(log);
  EXPECT_TRUE(std::regex_match(text, expected)) << text;
}

}  // namespace
}  // namespace korvet::hotsync
