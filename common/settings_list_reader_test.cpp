#include "common/settings_list_reader.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvet {
namespace {

using Kind = SettingsListEntry::Kind;

struct ReadList {
  std::vector<SettingsListEntry> entries;
  bool truncate = false;
  bool stoppedEarly = false;
  bool cutByZero = false;
  std::uint64_t stopOffset = 0;
  bool skippedMark = false;
};

ReadList ReadAll(const std::string& bytes) {
  SettingsListReader reader(bytes);
  ReadList result;
  while (!reader.Ended()) result.entries.push_back(reader.ReadEntry());
  result.truncate = reader.TruncateList();
  result.stoppedEarly = reader.StoppedEarly();
  result.cutByZero = reader.CutByZeroByte();
  result.stopOffset = reader.StopOffset();
  result.skippedMark = reader.SkippedByteOrderMark();
  return result;
}

std::vector<std::string> Sent(const ReadList& list) {
  std::vector<std::string> sent;
  for (const auto& entry : list.entries) {
    if (entry.kind == Kind::kSend) sent.push_back(entry.directory + "|" + entry.fileName);
  }
  return sent;
}

TEST(SettingsListReader, PurgeFlagSendsEveryEntryInOrderAndEmptiesTheList) {
  ReadList list = ReadAll("C:\\Data\\,a.qzl*C:\\Data\\,b.qzl*@^");
  EXPECT_EQ(Sent(list), (std::vector<std::string>{"C:\\Data\\|a.qzl", "C:\\Data\\|b.qzl"}));
  EXPECT_TRUE(list.truncate);
  EXPECT_FALSE(list.stoppedEarly);
}

TEST(SettingsListReader, KeepFlagsAndAMissingFlagLeaveTheListAlone) {
  for (const char* tail : {"@$", "@&", "@"}) {
    ReadList list = ReadAll(std::string("C:\\Data\\,a.qzl*") + tail);
    EXPECT_EQ(Sent(list), std::vector<std::string>{"C:\\Data\\|a.qzl"}) << tail;
    EXPECT_FALSE(list.truncate) << tail;
    EXPECT_FALSE(list.stoppedEarly) << tail;
  }
}

TEST(SettingsListReader, EmptyListStopsEarlyAndAsksToBeEmptied) {
  ReadList list = ReadAll("");
  EXPECT_TRUE(Sent(list).empty());
  EXPECT_TRUE(list.truncate);
  EXPECT_TRUE(list.stoppedEarly);
}

TEST(SettingsListReader, ListWithoutEndMarkerSendsItsCompleteEntriesAndIsEmptied) {
  ReadList list = ReadAll("C:\\Data\\,a.qzl*C:\\Data\\,b.q");
  EXPECT_EQ(Sent(list), std::vector<std::string>{"C:\\Data\\|a.qzl"});
  EXPECT_TRUE(list.truncate);
  EXPECT_TRUE(list.stoppedEarly);
}

// A zero byte ends the list. The list is emptied only when nothing but zero bytes follows: entries or
// a keep flag after it are the user's, and entries it cut off are reported.
TEST(SettingsListReader, ZeroByteEndsTheListButKeepsWhatFollowsIt) {
  ReadList padded = ReadAll(std::string("C:\\D\\,a.qzl*\0\0\0", 15));
  EXPECT_EQ(Sent(padded), std::vector<std::string>{"C:\\D\\|a.qzl"});
  EXPECT_TRUE(padded.stoppedEarly);
  EXPECT_TRUE(padded.truncate);
  EXPECT_FALSE(padded.cutByZero);

  ReadList flagAfter = ReadAll(std::string("C:\\D\\,a.qzl*@\0$", 15));
  EXPECT_EQ(Sent(flagAfter), std::vector<std::string>{"C:\\D\\|a.qzl"});
  EXPECT_TRUE(flagAfter.stoppedEarly);
  EXPECT_FALSE(flagAfter.truncate);
  EXPECT_FALSE(flagAfter.cutByZero);  // after the end marker no entry was lost

  ReadList cut = ReadAll(std::string("C:\\D\\,a.qzl*\0C:\\D\\,b.qzl*@$", 27));
  EXPECT_EQ(Sent(cut), std::vector<std::string>{"C:\\D\\|a.qzl"});
  EXPECT_TRUE(cut.cutByZero);
  EXPECT_EQ(cut.stopOffset, 12u);
  EXPECT_FALSE(cut.truncate);
}

TEST(SettingsListReader, UtfByteOrderMarkIsSkippedAndOnlyAWholeOne) {
  ReadList marked = ReadAll(
      "\xEF\xBB\xBF"
      "C:\\D\\,a.qzl*@$");
  EXPECT_EQ(Sent(marked), std::vector<std::string>{"C:\\D\\|a.qzl"});
  EXPECT_TRUE(marked.skippedMark);

  ReadList partial = ReadAll(
      "\xEF\xBB"
      "C:\\D\\,a.qzl*@$");
  EXPECT_FALSE(partial.skippedMark);
  ASSERT_EQ(partial.entries.size(), 2u);
  EXPECT_EQ(partial.entries[0].kind, Kind::kRejected);
}

// A relative directory would send whatever file of that name lies where HotSync Manager runs.
TEST(SettingsListReader, DirectoryMustBeAFullPath) {
  ReadList list = ReadAll("Data\\,a.qzl*\\\\server\\share\\,b.qzl*\\Data\\,c.qzl*C:Data\\,d.qzl*@");
  EXPECT_EQ(Sent(list), std::vector<std::string>{"\\\\server\\share\\|b.qzl"});
  ASSERT_EQ(list.entries.size(), 5u);
  EXPECT_EQ(list.entries[0].reason, "Ostrel settings file entry without a full directory path, not sent: Data\\,a.qzl");
  EXPECT_EQ(list.entries[2].kind, Kind::kRejected);
  EXPECT_EQ(list.entries[3].kind, Kind::kRejected);
}

TEST(SettingsListReader, FileNamesAreKeptWholeWhateverTheirDots) {
  ReadList list = ReadAll("C:\\D\\,my.site.qzl*C:\\D\\,site1.html*C:\\D\\,noext*@");
  EXPECT_EQ(Sent(list), (std::vector<std::string>{"C:\\D\\|my.site.qzl", "C:\\D\\|site1.html", "C:\\D\\|noext"}));
}

TEST(SettingsListReader, ShorterEntryAfterLongerOneTakesNoStaleBytes) {
  ReadList list = ReadAll("C:\\A\\Long\\Folder\\,longname.qzl*C:\\B\\,b.qzl*@");
  EXPECT_EQ(Sent(list), (std::vector<std::string>{"C:\\A\\Long\\Folder\\|longname.qzl", "C:\\B\\|b.qzl"}));
}

TEST(SettingsListReader, ReservedBytesInTheDirectoryEndTheListAtThatEntry) {
  ReadList at = ReadAll("C:\\D@ta\\,a.qzl*C:\\D\\,b.qzl*@^");
  EXPECT_TRUE(Sent(at).empty());
  EXPECT_FALSE(at.truncate);

  ReadList caret = ReadAll("C:\\D\\,a.qzl*C:\\D^ta\\,b.qzl*@$");
  EXPECT_EQ(Sent(caret), std::vector<std::string>{"C:\\D\\|a.qzl"});
  EXPECT_TRUE(caret.truncate);

  ReadList amp = ReadAll("C:\\D&ta\\,b.qzl*@^");
  EXPECT_TRUE(Sent(amp).empty());
  EXPECT_FALSE(amp.truncate);
}

TEST(SettingsListReader, EntryWithEmptyDirectoryEndsTheList) {
  ReadList list = ReadAll("C:\\D\\,a.qzl*,b.qzl*C:\\D\\,c.qzl*@^");
  ASSERT_EQ(list.entries.size(), 2u);
  EXPECT_EQ(list.entries[1].kind, Kind::kEmptyDirectory);
  EXPECT_EQ(Sent(list), std::vector<std::string>{"C:\\D\\|a.qzl"});
  EXPECT_FALSE(list.truncate);
}

TEST(SettingsListReader, ShortenedRewriteSendsOnlyTheNewEntries) {
  // The list editor wrote "C:\A\,one.qzl*@" over "C:\A\,one.qzl*C:\A\,two.qzl*@^".
  ReadList list = ReadAll("C:\\A\\,one.qzl*@:\\A\\,two.qzl*@^");
  EXPECT_EQ(Sent(list), std::vector<std::string>{"C:\\A\\|one.qzl"});
  EXPECT_FALSE(list.truncate);
}

TEST(SettingsListReader, EntriesBeyondTheBuffersAreRejectedAndTheListGoesOn) {
  const std::string longDirectory = "C:\\" + std::string(253, 'd') + "\\";  // 257 bytes
  const std::string longName = std::string(300, 'n') + ".qzl";
  ReadList list = ReadAll(longDirectory + ",a.qzl*C:\\D\\," + longName + "*C:\\D\\,ok.qzl*@");
  ASSERT_EQ(list.entries.size(), 4u);  // the last one holds the end marker
  EXPECT_EQ(list.entries[0].kind, Kind::kRejected);
  EXPECT_EQ(list.entries[0].reason, "Ostrel settings file entry too long, not sent: " + longDirectory + ",a.qzl");
  EXPECT_EQ(list.entries[1].kind, Kind::kRejected);
  EXPECT_EQ(Sent(list), std::vector<std::string>{"C:\\D\\|ok.qzl"});
}

// What the stores can keep, and what the list editor accepts: a path of 255 bytes, its .BAK copy's too.
TEST(SettingsListReader, EntryAtThePathLimitIsSentAndOneByteMoreIsRejected) {
  const std::string directory = "C:\\" + std::string(246, 'd') + "\\";  // 250 bytes
  ReadList list = ReadAll(directory + ",a.qzl*@");                      // a path of 255 bytes
  EXPECT_EQ(Sent(list), std::vector<std::string>{directory + "|a.qzl"});
  ReadList over = ReadAll(directory + ",ab.qzl*@");
  EXPECT_EQ(over.entries[0].kind, Kind::kRejected);
  EXPECT_EQ(over.entries[0].reason, "Ostrel settings file entry too long, not sent: " + directory + ",ab.qzl");
  ReadList longBackup = ReadAll(directory + ",abcde*@");  // 255 bytes, but "abcde.BAK" makes 259
  EXPECT_EQ(longBackup.entries[0].kind, Kind::kRejected);
}

TEST(SettingsListReader, EntriesWithoutFileNameAreRejected) {
  ReadList list = ReadAll("C:\\D\\*C:\\D\\,*C:\\D\\,a.qzl*@");
  ASSERT_EQ(list.entries.size(), 4u);
  EXPECT_EQ(list.entries[0].kind, Kind::kRejected);
  EXPECT_EQ(list.entries[0].reason, "Ostrel settings file entry without file name, not sent: C:\\D\\");
  EXPECT_EQ(list.entries[1].kind, Kind::kRejected);
  EXPECT_EQ(Sent(list), std::vector<std::string>{"C:\\D\\|a.qzl"});
}

TEST(SettingsListReader, FiftyEntriesAreAllSent) {
  std::string bytes;
  for (int i = 0; i < 50; ++i) bytes += "C:\\D\\,f" + std::to_string(i) + ".qzl*";
  ReadList list = ReadAll(bytes + "@$");
  ASSERT_EQ(Sent(list).size(), 50u);
  EXPECT_EQ(Sent(list).back(), "C:\\D\\|f49.qzl");
}

}  // namespace
}  // namespace korvet
