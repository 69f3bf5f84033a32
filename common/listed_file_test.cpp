#include "common/listed_file.h"

#include <gtest/gtest.h>

#include "common/settings_list_grammar.h"

namespace korvet {
namespace {

// Every list text reads back to the same bytes, and its lines are the text with each ',' dropped and
// each '*' turned into CR LF, as the dialogs have always shown it.
TEST(ListedFiles, ParsingKeepsEveryByteAndShowsOneLineAFile) {
  for (std::string text : {"", "C:\\Data\\,site1.qzl*C:\\Data\\,site2.qzl*", "C:\\a,b\\,c.qzl*", "**", ",*",
                           "C:\\D\\,a.qzl*C:\\cut,x", "no separator*", "C:\\D\\,\x81\x5C.qzl*"}) {
    const ListedFiles list = ListedFiles::Parse(text);
    EXPECT_EQ(list.Text(), text);
    std::string shown;
    for (char c : text) {
      if (c == ',') continue;
      shown += c == '*' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_EQ(list.Shown(), shown) << text;
  }
  const ListedFiles list = ListedFiles::Parse("C:\\D\\,a.qzl*C:\\cut");
  ASSERT_EQ(list.files.size(), 1u);
  EXPECT_EQ(list.unended, "C:\\cut");
}

// The desktop programs and the HotSync session split an entry at the same comma.
TEST(ListedFile, TheFirstCommaSplitsAnEntryForEveryReader) {
  const ListedFile written("C:\\Data\\", "site1.qzl");
  EXPECT_EQ(written.Text(), "C:\\Data\\,site1.qzl");
  EXPECT_EQ(written.Shown(), "C:\\Data\\site1.qzl");

  const ListedFile byHand = ListedFile::FromText("C:\\a,b\\,c.qzl");
  EXPECT_EQ(byHand.Directory(), "C:\\a");
  EXPECT_EQ(byHand.FileName(), "b\\,c.qzl");
  SettingsListGrammar session("C:\\a,b\\,c.qzl*@");
  const SettingsListEntry read = session.ReadEntry();
  EXPECT_EQ(read.directory, byHand.Directory());
  EXPECT_EQ(read.fileName, byHand.FileName());

  const ListedFile noComma = ListedFile::FromText("C:\\a.qzl");
  EXPECT_FALSE(noComma.HasSeparator());
  EXPECT_EQ(noComma.Directory(), "C:\\a.qzl");
  EXPECT_EQ(noComma.FileName(), "");
}

}  // namespace
}  // namespace korvet
