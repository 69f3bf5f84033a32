#include "conduit/store/category_list.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "conduit/base/ansi_text.h"
#include "conduit/store/status_codes.h"

namespace korvet::store {
namespace {

using Block = std::array<std::uint8_t, 276>;

void PutName(Block& block, int number, const char* name) {
  std::memcpy(block.data() + 2 + 16 * number, name, std::min<std::size_t>(std::strlen(name), 16));
}

// A list holding categories 1 to 15, named "1".."15" with IDs 101..115.
void FillNumbersOneToFifteen(CategoryList& list) {
  for (long number = 1; number <= 15; ++number) {
    const std::string name = std::to_string(number);
    CPCategory category(number, 100 + number, name.c_str());
    ASSERT_EQ(list.Add(category), kOk);
  }
}

TEST(CPCategoryName, IsCutToFifteenCharactersWithoutSplittingACharacter) {
  CPCategory category;
  EXPECT_EQ(category.GetName(), nullptr);
  EXPECT_EQ(category.SetName("fifteen-chars15"), kOk);
  EXPECT_STREQ(category.GetName(), "fifteen-chars15");
  EXPECT_EQ(category.SetName("sixteen-chars-16"), kValueTooLarge);
  EXPECT_STREQ(category.GetName(), "sixteen-chars-1");
  EXPECT_EQ(category.SetName(nullptr), kOk);
  EXPECT_EQ(category.GetName(), nullptr);

  ScopedCodePage japanese(932);
  EXPECT_EQ(category.SetName("fourteen-chars\x82\xA0"), kValueTooLarge);
  EXPECT_STREQ(category.GetName(), "fourteen-chars");  // no lone lead byte at the end

  category.SetSafeName(std::string(300, 's').c_str());
  EXPECT_EQ(std::strlen(category.GetSafeName()), 255u);
}

TEST(CPCategoryName, CopiesReportTheRoomTheyNeed) {
  CPCategory category(3, 7, "Business");
  char buffer[32];
  long size = 8;  // the name without room for its NUL
  EXPECT_EQ(category.CopyName(buffer, &size), kBufferTooSmall);
  EXPECT_EQ(size, 9);
  EXPECT_EQ(category.CopyName(buffer, &size), kOk);
  EXPECT_EQ(size, 8);
  EXPECT_STREQ(buffer, "Business");
  EXPECT_EQ(category.CopyName(nullptr, &size), kMissingOutput);

  CPCategory unnamed;
  std::memset(buffer, 'x', sizeof(buffer));
  size = 4;
  EXPECT_EQ(unnamed.CopyName(buffer, &size), kOk);
  EXPECT_EQ(size, 4);
  EXPECT_EQ(std::string(buffer, 5), std::string("\0\0\0\0x", 5));

  category.SetSafeName("Busi_ness");
  size = 9;
  EXPECT_EQ(category.CopySafeName(buffer, &size), kBufferTooSmall);
  EXPECT_EQ(size, 10);
  EXPECT_EQ(category.CopySafeName(buffer, &size), kOk);
  EXPECT_STREQ(buffer, "Busi_ness");
  EXPECT_EQ(size, 9);
  size = sizeof(buffer);
  EXPECT_EQ(unnamed.CopySafeName(buffer, &size), kOk);
  EXPECT_EQ(size, 0);
  EXPECT_STREQ(buffer, "");
}

TEST(CPCategoryCompare, EqualsComparesNumberIdAndExactName) {
  const CPCategory base(2, 9, "Work");
  EXPECT_TRUE(base.Equals(CPCategory(base)));
  EXPECT_FALSE(base.Equals(CPCategory(2, 9, "work")));
  EXPECT_FALSE(base.Equals(CPCategory(3, 9, "Work")));
  EXPECT_FALSE(base.Equals(CPCategory(2, 8, "Work")));
  CPCategory flagged(base);
  flagged.SetChanged(true);
  EXPECT_TRUE(flagged.IsChanged());
  EXPECT_EQ(flagged.GetFlags(), kCategoryChanged);
  EXPECT_TRUE(base.Equals(flagged));  // flags are not compared
  flagged.SetChanged(false);
  EXPECT_EQ(flagged.GetFlags(), 0u);
}

TEST(CategoryListLoad, RefusesShortBlocksAndLoadsEmptyOnes) {
  Block block{};
  PutName(block, 1, "Work");
  CategoryList shortBlock(block.data(), 275);
  EXPECT_EQ(shortBlock.GetCount(), 0);
  EXPECT_EQ(shortBlock.Load(block.data(), 275), kCategoryBlockTooShort);
  EXPECT_EQ(shortBlock.Load(nullptr, 276), kMissingArgument);
  EXPECT_EQ(shortBlock.GetCount(), 0);

  Block empty{};
  CategoryList list;
  EXPECT_EQ(list.Load(empty.data(), 276), kOk);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.First(), nullptr);
}

TEST(CategoryListLoad, ReadsNamesIdsAndBigEndianRelabelledBits) {
  Block block{};
  PutName(block, 0, "Unfiled");
  PutName(block, 2, "Personal");
  PutName(block, 8, "SixteenCharsLong");  // fills its field, no NUL
  block[258 + 0] = 0;
  block[258 + 2] = 17;
  block[258 + 8] = 200;
  block[0] = 0x01;  // bit 8
  block[1] = 0x04;  // bit 2
  CategoryList list(block.data(), 276);
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_TRUE(list.IsChanged());
  ASSERT_NE(list.GetAt(2), nullptr);
  EXPECT_STREQ(list.GetAt(2)->GetName(), "Personal");
  EXPECT_EQ(list.GetAt(2)->GetId(), 17);
  EXPECT_EQ(list.GetAt(2)->GetIndex(), 2);
  EXPECT_TRUE(list.GetAt(2)->IsChanged());
  EXPECT_FALSE(list.GetAt(0)->IsChanged());
  EXPECT_TRUE(list.GetAt(8)->IsChanged());
  EXPECT_STREQ(list.GetAt(8)->GetName(), "SixteenCharsLon");
  EXPECT_EQ(list.GetAt(8)->GetId(), 200);

  block[0] = 0;
  block[1] = 0;
  EXPECT_EQ(list.Load(block.data(), 276), kOk);  // a second load replaces the categories
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_FALSE(list.IsChanged());
  EXPECT_FALSE(list.GetAt(2)->IsChanged());
}

TEST(CategoryListLoad, StopsAtADuplicateIdKeepingWhatWasAdded) {
  Block block{};
  PutName(block, 1, "One");
  PutName(block, 2, "Two");
  PutName(block, 3, "Three");
  block[258 + 1] = 5;
  block[258 + 2] = 5;
  block[258 + 3] = 6;
  CategoryList list;
  EXPECT_EQ(list.Load(block.data(), 276), kCategoryIdExists);
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_NE(list.GetAt(1), nullptr);
  EXPECT_EQ(list.GetAt(3), nullptr);
}

TEST(CategoryListStore, WritesTheBlockLayoutAndRoundTrips) {
  CategoryList list;
  CPCategory unfiled(0, 0, "Unfiled");
  CPCategory business(5, 0x1FE, "Business");  // only the low byte of the ID fits
  ASSERT_EQ(list.Add(unfiled), kOk);
  ASSERT_EQ(list.Add(business), kOk);
  list.GetAt(0)->SetChanged(true);

  Block block;
  block.fill(0xEE);
  long size = 275;
  EXPECT_EQ(list.Store(block.data(), &size), kBufferTooSmall);
  EXPECT_EQ(size, 276);
  EXPECT_EQ(block[0], 0xEE);
  ASSERT_EQ(list.Store(block.data(), &size), kOk);
  EXPECT_EQ(size, 276);
  EXPECT_EQ(block[0], 0);  // relabelled bits are not written
  EXPECT_EQ(block[1], 0);
  EXPECT_EQ(block[274], 0);
  EXPECT_EQ(block[275], 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block.data()) + 2, 16), std::string("Unfiled\0\0\0\0\0\0\0\0\0", 16));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block.data()) + 2 + 5 * 16), "Business");
  EXPECT_EQ(block[2 + 16 * 16 + 5], 0xFE);
  EXPECT_EQ(block[2 + 16], 0);  // number 1 is free

  CategoryList reloaded(block.data(), 276);
  EXPECT_EQ(reloaded.GetCount(), 2);
  EXPECT_EQ(reloaded.GetAt(5)->GetId(), 0xFE);
  EXPECT_STREQ(reloaded.GetAt(5)->GetName(), "Business");
}

TEST(CategoryListAdd, NumbersAndIdsFollowTheRules) {
  CategoryList list;
  FillNumbersOneToFifteen(list);
  EXPECT_EQ(list.FreeIndex(), -1);

  CPCategory unplaced(-1, 50, "Extra");
  EXPECT_EQ(list.Add(unplaced), kCategoryListFull);  // number 0 is never handed out
  CPCategory atZero(0, 50, "Unfiled");
  EXPECT_EQ(list.Add(atZero), kOk);
  EXPECT_EQ(list.GetCount(), 16);
  CPCategory seventeenth(0, 51, "More");
  EXPECT_EQ(list.Add(seventeenth), kCategoryListFull);

  CategoryList other;
  CPCategory first(2, 9, "First");
  ASSERT_EQ(other.Add(first), kOk);
  CPCategory sameId(3, 9, "Second");
  EXPECT_EQ(other.Add(sameId), kCategoryIdExists);
  CPCategory noId(3, -1, "NoId");
  EXPECT_EQ(other.Add(noId), kCategoryListFull);
  CPCategory sameNumber(2, 10, "Clash");  // would take the place of "First"
  EXPECT_EQ(other.Add(sameNumber), kCategoryListFull);
  EXPECT_STREQ(other.GetAt(2)->GetName(), "First");
  CPCategory outside(16, 11, "Outside");
  EXPECT_EQ(other.Add(outside), kIndexOutOfRange);
  EXPECT_EQ(other.GetCount(), 1);

  CPCategory placed(-1, 12, "a/b.c");
  EXPECT_EQ(other.AddAndMarkChanged(placed), kOk);
  EXPECT_EQ(placed.GetIndex(), 1);  // the lowest free number, given to the caller's category too
  EXPECT_TRUE(placed.IsChanged());
  EXPECT_TRUE(other.IsChanged());
  EXPECT_STREQ(other.GetAt(1)->GetSafeName(), "a_b_c");
}

TEST(CategoryListFind, ByNameIgnoresCaseButRemovalByNameDoesNot) {
  CategoryList list;
  CPCategory work(1, 4, "Work");
  ASSERT_EQ(list.Add(work), kOk);
  EXPECT_EQ(list.FindByName("WORK"), list.GetAt(1));
  EXPECT_EQ(list.FindByName(""), nullptr);
  EXPECT_EQ(list.FindByName(nullptr), nullptr);
  EXPECT_EQ(list.RemoveByName("WORK"), kCategoryNotFound);
  EXPECT_EQ(list.RemoveByName(""), kEmptyName);
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_FALSE(list.IsChanged());
  EXPECT_EQ(list.RemoveByName("Work"), kOk);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_TRUE(list.IsChanged());

  ASSERT_EQ(list.Add(work), kOk);
  EXPECT_EQ(list.FindById(4), list.GetAt(1));
  EXPECT_EQ(list.FindById(5), nullptr);
  EXPECT_EQ(list.GetAt(16), nullptr);
  EXPECT_EQ(list.GetAt(-1), nullptr);
}

TEST(CategoryListChange, RenameReplaceAndRemoveReportFreeAndOutOfRangeNumbers) {
  CategoryList list;
  CPCategory home(3, 30, "Home");
  CPCategory travel(7, 70, "Travel");
  ASSERT_EQ(list.Add(home), kOk);
  ASSERT_EQ(list.Add(travel), kOk);

  EXPECT_EQ(list.RenameAt(16, "x"), kIndexOutOfRange);
  EXPECT_EQ(list.RenameAt(4, "x"), kCategoryNumberFree);
  EXPECT_EQ(list.RenameAt(3, "House"), kOk);
  EXPECT_STREQ(list.GetAt(3)->GetName(), "House");

  EXPECT_EQ(list.ReplaceAt(16, home), kIndexOutOfRange);
  EXPECT_EQ(list.ReplaceAt(3, CPCategory(9, 31, "Garden")), kOk);
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.GetAt(3)->GetIndex(), 9);  // the copy keeps its own index field
  EXPECT_EQ(list.ReplaceAt(4, CPCategory(4, 40, "Four")), kOk);
  EXPECT_EQ(list.GetCount(), 3);

  EXPECT_EQ(list.RemoveAt(5), kIndexOutOfRange);
  EXPECT_EQ(list.RemoveAt(-1), kIndexOutOfRange);
  EXPECT_FALSE(list.IsChanged());
  EXPECT_EQ(list.RemoveAt(4), kOk);
  EXPECT_TRUE(list.IsChanged());
  list.SetChanged(false);
  EXPECT_EQ(list.RemoveById(99), kCategoryNotFound);
  EXPECT_EQ(list.RemoveById(70), kOk);
  EXPECT_TRUE(list.IsChanged());
  EXPECT_EQ(list.GetCount(), 1);

  list.MarkAllChanged();
  EXPECT_TRUE(list.GetAt(3)->IsChanged());
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetAt(3), nullptr);
}

TEST(CategoryListIterate, VisitsOccupiedNumbersInOrder) {
  CategoryList list;
  for (long number : {9L, 0L, 4L}) {
    CPCategory category(number, number + 1, "n");
    ASSERT_EQ(list.Add(category), kOk);
  }
  std::vector<long> seen;
  for (CPCategory* c = list.First(); c != nullptr; c = list.Next()) seen.push_back(c->GetIndex());
  EXPECT_EQ(seen, (std::vector<long>{0, 4, 9}));
  EXPECT_EQ(list.Next(), nullptr);
}

TEST(CategoryListCompare, EqualsNeedsTheSameCategoriesAtTheSameNumbers) {
  CategoryList a;
  CategoryList b;
  EXPECT_TRUE(a.Equals(b));
  CPCategory one(1, 1, "One");
  ASSERT_EQ(a.Add(one), kOk);
  EXPECT_FALSE(a.Equals(b));
  EXPECT_FALSE(b.Equals(a));
  ASSERT_EQ(b.Add(one), kOk);
  EXPECT_TRUE(a.Equals(b));
  b.RenameAt(1, "ONE");
  EXPECT_FALSE(a.Equals(b));
  EXPECT_EQ(a.Swap16(0x1234), 0x3412);
  EXPECT_EQ(a.NewId(), -1);
}

TEST(CategoryListSafeName, ReplacesTheSeventeenUnsafeCharacters) {
  CategoryList list;
  char buffer[64];
  long size = sizeof(buffer);
  ASSERT_EQ(list.MakeSafeName("a/b.c", buffer, &size), kOk);
  EXPECT_STREQ(buffer, "a_b_c");
  ASSERT_EQ(list.MakeSafeName("\"*+,./:;<=>?[\\]^|-_ A~", buffer, &size), kOk);
  EXPECT_STREQ(buffer, "_________________-_ A~");
  size = 4;  // at most size - 1 characters
  ASSERT_EQ(list.MakeSafeName("abcdef", buffer, &size), kOk);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(list.MakeSafeName("", buffer, &size), kEmptyName);
  EXPECT_EQ(list.MakeSafeName("a", nullptr, &size), kMissingArgument);

  ScopedCodePage japanese(932);
  size = sizeof(buffer);
  ASSERT_EQ(list.MakeSafeName("\x83\x5C/x", buffer, &size), kOk);
  EXPECT_STREQ(buffer, "\x83\x5C_x");  // the trail byte 0x5C belongs to its character
  size = 3;
  ASSERT_EQ(list.MakeSafeName("a\x83\x5C", buffer, &size), kOk);
  EXPECT_STREQ(buffer, "a");  // no half character
}

}  // namespace
}  // namespace korvet::store
