#include "sim/support/sim_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sim/support/win_errors.h"
#include "sim/support/win_handles.h"
#include "tests/support/scratch_folder.h"

namespace korvet::sim {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using Bytes = std::vector<std::uint8_t>;

std::string Text(const std::string& path) {
  std::string text, error;
  bool missing = false;
  EXPECT_TRUE(ReadTextFile(path, &text, &missing, &error)) << error;
  return text;
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  FileSearch search(folder + "\\*");
  for (bool more = search.Valid(); more; more = search.Next()) {
    const std::string name = search.Current().cFileName;
    if (name != "." && name != "..") names.push_back(name);
  }
  return names;
}

TEST(ErrorTexts, BothWordingsCarryTheSystemTextAndTheCode) {
  const std::string windows = DescribeWin32Error(ERROR_FILE_NOT_FOUND);
  const std::string host = DescribeError(ERROR_FILE_NOT_FOUND);
  ASSERT_THAT(windows, EndsWith(" (Windows error 2)"));
  ASSERT_THAT(host, EndsWith(". (2)"));
  const std::string systemText = windows.substr(0, windows.size() - std::string(" (Windows error 2)").size());
  EXPECT_FALSE(systemText.empty());
  EXPECT_THAT(systemText, ::testing::Not(EndsWith("\n")));
  // The same text in both; the host's wording has exactly one period before the code.
  std::string sentence = systemText;
  while (!sentence.empty() && sentence.back() == '.') sentence.pop_back();
  EXPECT_EQ(host, sentence + ". (2)");

  constexpr DWORD kNoSuchCode = 0x2000FFFF;  // a customer code the system has no text for
  EXPECT_EQ(DescribeWin32Error(kNoSuchCode), "(Windows error 536936447)");
  EXPECT_EQ(DescribeError(kNoSuchCode), "Error. (536936447)");
}

TEST(Paths, JoinWithOneBackslashAndFoldersTreeCreation) {
  EXPECT_EQ(JoinPath("C:\\a", "b.txt"), "C:\\a\\b.txt");
  EXPECT_EQ(JoinPath("C:\\a\\", "b.txt"), "C:\\a\\b.txt");
  EXPECT_EQ(JoinPath("C:/a/", "b.txt"), "C:/a/b.txt");
  EXPECT_EQ(JoinPath("", "b.txt"), "b.txt");

  testing::ScratchFolder scratch;
  std::string error;
  const std::string deep = JoinPath(scratch.Path(), "one\\two\\three");
  ASSERT_TRUE(CreateFolderTree(deep + "\\", &error)) << error;
  EXPECT_TRUE(FolderExists(deep));
  EXPECT_FALSE(FileExists(deep));
  ASSERT_TRUE(CreateFolderTree(deep, &error)) << error;  // already there

  const std::string file = JoinPath(scratch.Path(), "file");
  testing::ScratchFolder::WritePath(file, "\x01");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FolderExists(file));
  EXPECT_FALSE(CreateFolderTree(file + "\\below", &error));
  EXPECT_EQ(error, file + " exists but is not a folder");
}

TEST(WholeFiles, ReadBackByteForByteAcrossChunksAndWithinTheLimit) {
  testing::ScratchFolder scratch;
  const std::string path = JoinPath(scratch.Path(), "data.bin");
  Bytes written(200000);
  for (std::size_t i = 0; i < written.size(); ++i) written[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  std::string error;
  testing::ScratchFolder::WritePath(path, std::string(written.begin(), written.end()));
  Bytes read{9, 9};
  ASSERT_TRUE(ReadWholeFile(path, written.size(), &read, &error)) << error;
  EXPECT_EQ(read, written);
  std::string text;
  bool missing = true;
  ASSERT_TRUE(ReadTextFile(path, &text, &missing, &error)) << error;
  EXPECT_FALSE(missing);
  EXPECT_EQ(text, std::string(written.begin(), written.end()));

  EXPECT_FALSE(ReadWholeFile(path, written.size() - 1, &read, &error));
  EXPECT_EQ(error, path + " is too large (200000 bytes, at most 199999)");

  testing::ScratchFolder::WritePath(path, "");  // truncated
  ASSERT_TRUE(ReadWholeFile(path, 0, &read, &error)) << error;
  EXPECT_TRUE(read.empty());
}

TEST(WholeFiles, MissingFilesSayWhichAndHow) {
  testing::ScratchFolder scratch;
  const std::string path = JoinPath(scratch.Path(), "absent.txt");
  Bytes bytes;
  std::string text, error;
  bool missing = false;
  EXPECT_FALSE(ReadWholeFile(path, 100, &bytes, &error));
  EXPECT_THAT(error, StartsWith("cannot open " + path + ": "));
  EXPECT_THAT(error, EndsWith("(Windows error 2)"));
  EXPECT_FALSE(ReadTextFile(path, &text, &missing, &error));
  EXPECT_TRUE(missing);
  EXPECT_THAT(error, StartsWith("cannot open " + path + ": "));
  EXPECT_THAT(error, EndsWith(". (2)"));
  // A folder is no missing file.
  EXPECT_FALSE(ReadTextFile(scratch.Path(), &text, &missing, &error));
  EXPECT_FALSE(missing);
}

TEST(AtomicWrites, ReplaceTheFileAndLeaveNoTemporaryBehind) {
  testing::ScratchFolder scratch;
  const std::string path = JoinPath(scratch.Path(), "Conduits.txt");
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(path, "first\r\n", &error)) << error;
  ASSERT_TRUE(WriteFileAtomically(path, std::string("second\0with a NUL", 17), &error)) << error;
  EXPECT_EQ(Text(path), std::string("second\0with a NUL", 17));
  EXPECT_THAT(Names(scratch.Path()), ElementsAre("Conduits.txt"));

  // The temporary file a stopped writer left is simply written over.
  const std::string database = JoinPath(scratch.Path(), "Db.pdb");
  testing::ScratchFolder::WritePath(database + ".tmp", "\xDE\xAD");
  ASSERT_TRUE(ReplaceFileContents(database, database + ".tmp", "new", DescribeWin32Error, &error)) << error;
  EXPECT_EQ(Text(database), "new");
  EXPECT_FALSE(FileExists(database + ".tmp"));
}

TEST(AtomicWrites, AFailedReplaceKeepsWhatWasThereAndRemovesTheTemporary) {
  testing::ScratchFolder scratch;
  // A folder where the file should go: the rename cannot replace it.
  const std::string blocked = JoinPath(scratch.Path(), "Blocked.txt");
  ASSERT_TRUE(CreateDirectoryA(blocked.c_str(), nullptr));
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(blocked, "lost", &error));
  EXPECT_THAT(error, StartsWith("cannot replace " + blocked + ": "));
  EXPECT_THAT(error, EndsWith(")"));
  EXPECT_FALSE(ReplaceFileContents(blocked, blocked + ".tmp", "lost", DescribeWin32Error, &error));
  EXPECT_THAT(error, StartsWith("cannot replace " + blocked + ": "));
  EXPECT_THAT(error, HasSubstr("(Windows error "));
  EXPECT_TRUE(FolderExists(blocked));
  EXPECT_THAT(Names(scratch.Path()), ElementsAre("Blocked.txt"));

  // A temporary file that cannot be created says so and leaves the target alone.
  const std::string kept = JoinPath(scratch.Path(), "Kept.txt");
  ASSERT_TRUE(WriteFileAtomically(kept, "kept", &error)) << error;
  EXPECT_FALSE(
      ReplaceFileContents(kept, JoinPath(scratch.Path(), "no folder\\Kept.tmp"), "lost", DescribeError, &error));
  EXPECT_THAT(error, StartsWith("cannot create " + JoinPath(scratch.Path(), "no folder\\Kept.tmp") + ": "));
  EXPECT_EQ(Text(kept), "kept");
}

TEST(Appends, CreateTheFileThenAddToItsEnd) {
  testing::ScratchFolder scratch;
  const std::string path = JoinPath(scratch.Path(), "HotSync.log");
  EXPECT_EQ(AppendToFile(path, "one\r\n"), 0u);
  EXPECT_EQ(AppendToFile(path, ""), 0u);
  EXPECT_EQ(AppendToFile(path, "two\r\n"), 0u);
  EXPECT_EQ(Text(path), "one\r\ntwo\r\n");
  EXPECT_NE(AppendToFile(JoinPath(scratch.Path(), "no folder\\x.log"), "lost"), 0u);
}

// The tests' scratch folders, which every stand-in test uses.
TEST(ScratchFolders, AreFreshAndGoWithEverythingInThem) {
  std::string path;
  {
    testing::ScratchFolder scratch;
    testing::ScratchFolder other;
    path = scratch.Path();
    EXPECT_NE(path, other.Path());
    EXPECT_TRUE(Names(path).empty());
    std::string error;
    ASSERT_TRUE(CreateFolderTree(JoinPath(path, "a\\b"), &error)) << error;
    testing::ScratchFolder::WritePath(JoinPath(path, "a\\b\\file"), "\x01\x02");
    testing::ScratchFolder::WritePath(JoinPath(path, "top"), "\x03");
    SetFileAttributesA(JoinPath(path, "top").c_str(), FILE_ATTRIBUTE_READONLY);
    // A test plants a file where the conduit would write it, folders and all.
    scratch.Write("c\\d\\planted", "x");
    EXPECT_EQ(scratch.Read("c\\d\\planted"), "x");
  }
  EXPECT_FALSE(FolderExists(path));
}

TEST(Libraries, ALibraryThatDoesNotLoadSaysWhich) {
  testing::ScratchFolder scratch;
  const std::string path = JoinPath(scratch.Path(), "absent.dll");
  std::string error;
  WinLibrary library = sim::LoadLibraryOrExplain(path, &error);
  EXPECT_FALSE(library.IsLoaded());
  EXPECT_EQ(library.Get<FARPROC>("Anything"), nullptr);
  EXPECT_THAT(error, StartsWith("cannot load " + path + ": "));
  EXPECT_THAT(error, EndsWith(")"));
  WinLibrary kernel = sim::LoadLibraryOrExplain("kernel32.dll", &error);
  ASSERT_TRUE(kernel.IsLoaded());
  EXPECT_NE(kernel.Get<FARPROC>("GetTempPathA"), nullptr);
  WinLibrary moved = std::move(kernel);
  EXPECT_FALSE(kernel.IsLoaded());
  EXPECT_TRUE(moved.IsLoaded());
}

}  // namespace
}  // namespace korvet::sim
