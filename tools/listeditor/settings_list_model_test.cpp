#include "tools/listeditor/settings_list_model.h"

#include <gtest/gtest.h>

namespace korvet {
namespace {

using Lines = std::vector<std::string>;

// What the list box shows, one line a file.
Lines LinesOf(const SettingsListModel& model) {
  Lines lines;
  for (const ListedFile& file : model.Files()) lines.push_back(file.Shown());
  return lines;
}

TEST(SettingsListModel, AddsEntriesSplitAtTheLastBackslashAndRemovesTheLinesOwnEntry) {
  SettingsListModel model("C:\\Data\\,site1.qzl*");
  EXPECT_TRUE(model.Unchanged());
  EXPECT_EQ(LinesOf(model), (Lines{"C:\\Data\\site1.qzl"}));

  // A folder that carries the file's own name stays whole in the directory.
  EXPECT_FALSE(model.Add("C:\\a.qzl\\a.qzl", "a.qzl"));
  EXPECT_FALSE(model.Unchanged());
  EXPECT_EQ(model.EntryText(), "C:\\Data\\,site1.qzl*C:\\a.qzl\\,a.qzl*");
  // The same file twice is listed twice; removing a line removes its own entry, so the file keeps the
  // order the user sees.
  EXPECT_FALSE(model.Add("C:\\Data\\site1.qzl", "site1.qzl"));
  EXPECT_EQ(LinesOf(model), (Lines{"C:\\Data\\site1.qzl", "C:\\a.qzl\\a.qzl", "C:\\Data\\site1.qzl"}));
  model.Remove(2);
  EXPECT_EQ(LinesOf(model), (Lines{"C:\\Data\\site1.qzl", "C:\\a.qzl\\a.qzl"}));
  EXPECT_EQ(model.EntryText(), "C:\\Data\\,site1.qzl*C:\\a.qzl\\,a.qzl*");
  model.Remove(1);
  model.Remove(5);  // no such line: nothing happens
  EXPECT_EQ(model.EntryText(), "C:\\Data\\,site1.qzl*");
  model.Remove(0);
  EXPECT_EQ(model.EntryText(), "");
  EXPECT_TRUE(LinesOf(model).empty());
}

TEST(SettingsListModel, RemovalMatchesWholeEntriesOnly) {
  // The second entry's text ends like the first one's; only the entry that starts at a boundary goes.
  SettingsListModel model("C:\\X\\C:\\D\\,a.qzl*C:\\D\\,a.qzl*");
  ASSERT_EQ(LinesOf(model), (Lines{"C:\\X\\C:\\D\\a.qzl", "C:\\D\\a.qzl"}));
  model.Remove(1);
  EXPECT_EQ(model.EntryText(), "C:\\X\\C:\\D\\,a.qzl*");
  EXPECT_EQ(LinesOf(model), (Lines{"C:\\X\\C:\\D\\a.qzl"}));
}

TEST(SettingsListModel, RemovalFindsTheWholeEntryPastAnotherOne) {
  // Another entry between the two similar ones: the match inside the first entry is passed over.
  SettingsListModel model("C:\\X\\C:\\D\\,a.qzl*C:\\E\\,b.qzl*C:\\D\\,a.qzl*");
  model.Remove(2);
  EXPECT_EQ(model.EntryText(), "C:\\X\\C:\\D\\,a.qzl*C:\\E\\,b.qzl*");
  EXPECT_EQ(LinesOf(model), (Lines{"C:\\X\\C:\\D\\a.qzl", "C:\\E\\b.qzl"}));
}

TEST(SettingsListModel, EntriesWrittenByHandAreRemovedAndKeptWhole) {
  // A comma that is not after the last backslash, and bytes after the last '*': the line shown still
  // removes its own entry, and a file added goes before the unended bytes, not into them.
  SettingsListModel model("C:\\Data,site.qzl*C:\\E\\,b.qzl*C:\\cut");
  ASSERT_EQ(LinesOf(model), (Lines{"C:\\Datasite.qzl", "C:\\E\\b.qzl"}));
  model.Remove(0);
  EXPECT_EQ(model.EntryText(), "C:\\E\\,b.qzl*C:\\cut");
  EXPECT_FALSE(model.Add("C:\\F\\c.qzl", "c.qzl"));
  EXPECT_EQ(model.EntryText(), "C:\\E\\,b.qzl*C:\\F\\,c.qzl*C:\\cut");
  EXPECT_EQ(LinesOf(model), (Lines{"C:\\E\\b.qzl", "C:\\F\\c.qzl"}));
}

TEST(SettingsListModel, APathTheListCannotHoldLeavesItUnchanged) {
  SettingsListModel model("");
  ASSERT_TRUE(model.Add("C:\\Site,North\\a.qzl", "a.qzl"));
  EXPECT_TRUE(model.Unchanged());
  EXPECT_EQ(model.EntryText(), "");
}

TEST(SettingsListModel, HoldsAtMostFiftyFiles) {
  std::string text;
  for (int i = 0; i < 49; ++i) text += "C:\\D\\,f" + std::to_string(i) + ".qzl*";
  SettingsListModel model(text);
  EXPECT_FALSE(model.Full());
  EXPECT_FALSE(model.Add("C:\\D\\last.qzl", "last.qzl"));
  EXPECT_TRUE(model.Full());
  model.Remove(0);
  EXPECT_FALSE(model.Full());
}

}  // namespace
}  // namespace korvet
