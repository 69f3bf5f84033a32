#include "conduit/store/desktop_path.h"

#include <gtest/gtest.h>

#include "common/code_page.h"

namespace korvet::store {
namespace {

TEST(DesktopPathNaming, TheExtensionOfTheLastComponentIsReplaced) {
  EXPECT_EQ(ReplaceExtension("C:\\Data\\Unit.qzl", ".ARC"), "C:\\Data\\Unit.ARC");
  EXPECT_EQ(ReplaceExtension("C:\\Data.1\\Unit", ".ARC"), "C:\\Data.1\\Unit.ARC");
  EXPECT_EQ(ReplaceExtension("C:\\Data\\Unit", ".BAK"), "C:\\Data\\Unit.BAK");
  EXPECT_EQ(ReplaceExtension("Unit.a.qzl", ".BAK"), "Unit.a.BAK");
  EXPECT_EQ(ReplaceExtension("Unit.qzl", ".BAK"), "Unit.BAK");
  EXPECT_EQ(ReplaceExtension("Unit", ".BAK"), "Unit.BAK");
  EXPECT_EQ(ReplaceExtension("C:/Data.1/Unit", ".BAK"), "C:/Data.1/Unit.BAK");
}

TEST(DesktopPathNaming, NamePartFollowsTheLastBackslash) {
  EXPECT_EQ(NamePart("C:\\Data\\dummy.qzl"), "dummy.qzl");
  EXPECT_EQ(NamePart("dummy.qzl"), "dummy.qzl");
  EXPECT_EQ(NamePart("C:\\Data\\"), "");
}

// In a double-byte code page the second byte of a character may be the backslash's code; it never
// counts as a separator.
TEST(DesktopPathNaming, DoubleByteCharactersAreNotSeparators) {
  ScopedCodePage japanese(932);
  const std::string folder = "C:\\\x95\x5C";  // a folder named with one double-byte character
  EXPECT_EQ(BuildDesktopPath(folder.c_str(), "a.qzl"), folder + "\\a.qzl");
  EXPECT_EQ(NamePart(folder + "\\b\x95\x5C.qzl"), "b\x95\x5C.qzl");
  EXPECT_EQ(ReplaceExtension("C:\\x.y\\\x95\x5C"
                             "a",
                             ".BAK"),
            "C:\\x.y\\\x95\x5C"
            "a.BAK");
}

}  // namespace
}  // namespace korvet::store
