#include "common/paths.h"

#include <gtest/gtest.h>

#include "tests/support/code_page.h"

namespace korvet {
namespace {

using namespace testing::cp932;

TEST(Paths, JoinAndSplitAtTheirBackslashes) {
  EXPECT_EQ(JoinPath("C:\\Data", "a.qzl"), "C:\\Data\\a.qzl");
  EXPECT_EQ(JoinPath("C:\\Data\\", "a.qzl"), "C:\\Data\\a.qzl");
  EXPECT_EQ(JoinPath("C:/Data/", "a.qzl"), "C:/Data/a.qzl");
  EXPECT_EQ(JoinPath("", "a.qzl"), "a.qzl");
  EXPECT_EQ(LastSeparator("C:\\Data\\a.qzl"), 7u);
  EXPECT_EQ(LastSeparator("C:/Data/a", true), 7u);
  EXPECT_EQ(LastSeparator("a.qzl"), std::string_view::npos);
  EXPECT_EQ(ParentFolder("C:\\Data\\a.qzl"), "C:\\Data");
  EXPECT_EQ(FileNameOf("C:\\Data/a.qzl"), "a.qzl");
  EXPECT_EQ(ParentFolder("a.qzl"), "");
  EXPECT_EQ(FileNameOf("a.qzl"), "a.qzl");
  EXPECT_EQ(WithoutTrailingSeparators("C:\\Data\\/"), "C:\\Data");
  EXPECT_EQ(WithoutTrailingSeparators("C:\\"), "C:\\");
  EXPECT_EQ(WithoutTrailingSeparators("\\\\"), "\\");
  EXPECT_EQ(ExtensionStart("C:\\Data.1\\a.b.qzl"), 13u);
  EXPECT_EQ(ExtensionStart("C:\\Data.1/a"), std::string_view::npos);
  EXPECT_TRUE(EndsWithBackslash("C:\\"));
  EXPECT_FALSE(EndsWithBackslash(""));
  EXPECT_TRUE(IsFullPath("C:\\Data") && IsFullPath("\\\\server\\share"));
  EXPECT_FALSE(IsFullPath("Data\\") || IsFullPath("C:Data") || IsFullPath("\\Data") || IsFullPath("\\\\\\x"));
}

// In code page 932 the second byte of 表 and ソ is the backslash's: it neither ends a folder nor
// splits a path, and a name cut after a first byte is seen as such.
TEST(Paths, DoubleByteSecondBytesAreNoSeparators) {
  KORVET_REQUIRE_CODE_PAGE(932);
  const std::string folder = "C:\\" + kReport + "\\" + kTable;
  EXPECT_FALSE(EndsWithBackslash(folder));
  EXPECT_TRUE(EndsWithBackslash(folder + "\\"));
  EXPECT_EQ(JoinPath(folder, "a.csv"), folder + "\\a.csv");
  EXPECT_EQ(LastSeparator(folder), 7u);
  EXPECT_EQ(LastSeparator("C:\\" + kSoftware), 2u);
  EXPECT_EQ(ParentFolder(folder), "C:\\" + kReport);
  EXPECT_EQ(FileNameOf(folder), kTable);
  EXPECT_EQ(WithoutTrailingSeparators(folder), folder);
  EXPECT_EQ(CharBytesAt(kTable, 0), 2u);
  EXPECT_TRUE(EndsInLoneLeadByte("ab\x95"));
  EXPECT_FALSE(EndsInLoneLeadByte("ab" + kTable));
}

}  // namespace
}  // namespace korvet
