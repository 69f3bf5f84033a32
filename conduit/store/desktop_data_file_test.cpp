#include "conduit/store/desktop_data_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "conduit/store/desktop_database_manager.h"
#include "conduit/store/status_codes.h"
#include "conduit/test_support/desktop_file_image.h"
#include "conduit/test_support/hotsync_bench.h"
#include "conduit/test_support/store_counts.h"

namespace korvet::store {
namespace {

using Image = testing::DesktopFileImage;

std::string DataOf(const SyncRecord& record) {
  return std::string(reinterpret_cast<const char*>(record.GetData()), record.GetDataSize());
}

// Keeps what the save path hands to WriteBytes instead of dropping it.
class CapturingStore : public DesktopDatabaseManager {
 public:
  using DesktopDatabaseManager::DesktopDatabaseManager;
  long WriteBytes(const void* buffer, std::uint32_t length) override {
    written.append(static_cast<const char*>(buffer), length);
    return kOk;
  }
  std::string written;
};

class DataFileTest : public ::testing::Test {
 protected:
  // A store positioned at the start of a file holding these bytes.
  std::unique_ptr<DesktopDatabaseManager> Opened(const std::string& bytes, long syncType = kFastSync) {
    const std::string name = "data" + std::to_string(++files_) + ".DAT";
    folder_.Write(name, bytes);
    auto store = std::make_unique<DesktopDatabaseManager>(nullptr, 0, syncType, "KORVETDatabaseDB", name.c_str(),
                                                          folder_.Path().c_str());
    EXPECT_EQ(store->Open(kOpenModeReadWrite), kOk);
    return store;
  }
  static long Count(DatabaseManager& store) { return testing::RecordCount(store); }

  testing::HotSyncBench bench_;
  const testing::ScratchFolder& folder_ = bench_.Folder();
  int files_ = 0;
};

TEST_F(DataFileTest, LoadsHeaderBlocksAndRecordsWithTheirAttributes) {
  auto empty = Opened("");
  EXPECT_EQ(empty->LoadFile(), kOk);
  EXPECT_EQ(Count(*empty), 0);

  Image appBlock;
  appBlock.Block("KORVETDatabaseDB", "app-data", 77);
  Image file;
  file.Header(2, static_cast<std::uint32_t>(appBlock.Bytes().size()), 57)
      .Raw(appBlock.Bytes())
      .Block("KORVETDatabaseDB", "s")
      .Record(10, 0x01 | 0x10, 3, "alpha")
      .Record(11, 0x02 | 0x04 | 0x08, 15, "");
  auto store = Opened(file.Bytes());
  ASSERT_EQ(store->LoadFile(), kOk);
  EXPECT_FALSE(store->IsDirty());
  EXPECT_FALSE(store->IsFileOpen());
  EXPECT_EQ(store->Header()->creator, 0x4B525654u);
  const auto& app = store->AppInfoBlock()->Bytes();
  EXPECT_EQ(std::string(app.begin(), app.end()), appBlock.Bytes());
  EXPECT_EQ(store->SortInfoBlock()->TotalSize(), 57u);
  ASSERT_EQ(Count(*store), 2);
  const SyncRecord* first = store->RecordAt(0);
  EXPECT_EQ(first->GetId(), 10u);
  EXPECT_EQ(first->GetCategory(), 3);
  EXPECT_EQ(first->GetAttributes(), kRecordModified);
  EXPECT_TRUE(first->IsPrivate());
  EXPECT_EQ(DataOf(*first), "alpha");
  EXPECT_EQ(store->RecordAt(1)->GetAttributes(), kRecordDeleted | kRecordArchived | kRecordNew);
}

TEST_F(DataFileTest, SlowSyncMarksLoadedRecordsUnmatchedAndBadCategoriesBecomeUnfiled) {
  Image file;
  file.Header(2).Record(1, 0, 16, "a").Record(2, 0, 0xFFFFFFFF, "b");
  auto store = Opened(file.Bytes(), kSlowSync);
  ASSERT_EQ(store->LoadFile(), kOk);
  ASSERT_EQ(Count(*store), 2);
  EXPECT_TRUE(store->RecordAt(0)->IsUnmatched());
  EXPECT_EQ(store->RecordAt(0)->GetCategory(), 0);
  EXPECT_EQ(store->RecordAt(1)->GetCategory(), 0);
}

TEST_F(DataFileTest, ClaimedRecordsBeyondTheFileStopAtTheFirstShortHead) {
  Image file;
  file.Header(5).Record(1, 0, 0, "one").Record(2, 0, 0, "two").Raw("partial head");
  auto store = Opened(file.Bytes());
  EXPECT_EQ(store->LoadFile(), kRecordHeadUnreadable);
  EXPECT_EQ(Count(*store), 2);
  EXPECT_FALSE(store->IsFileOpen());

  Image huge;
  huge.Header(0xFFFFFFFF).Record(1, 0, 0, "one");
  auto second = Opened(huge.Bytes());
  EXPECT_EQ(second->LoadFile(), kRecordHeadUnreadable);
  EXPECT_EQ(Count(*second), 1);
}

TEST_F(DataFileTest, RecordLengthsOutsideTheWorkingBufferStopTheLoad) {
  for (std::uint32_t total : {0u, 39u, 65521u, 0xFFFFFFFFu}) {
    Image file;
    file.Header(3).Record(1, 0, 0, "kept").Head(total, 2, 0, 0, 4).Raw("data").Record(3, 0, 0, "after");
    auto store = Opened(file.Bytes());
    EXPECT_EQ(store->LoadFile(), kRecordHeadUnreadable) << total;
    ASSERT_EQ(Count(*store), 1) << total;
    EXPECT_EQ(DataOf(*store->RecordAt(0)), "kept");
  }
  // The largest record the buffer holds loads.
  Image largest;
  largest.Header(1).Record(1, 0, 0, std::string(65480, 'x'));
  auto store = Opened(largest.Bytes());
  EXPECT_EQ(store->LoadFile(), kOk);
  EXPECT_EQ(store->RecordAt(0)->GetDataSize(), 65480u);
}

TEST_F(DataFileTest, TruncatedRecordDataStopsWithTheReadStatus) {
  Image file;
  file.Header(2).Record(1, 0, 0, "whole").Head(50, 2, 0, 0, 10).Raw("four");
  auto store = Opened(file.Bytes());
  EXPECT_EQ(store->LoadFile(), kShortRead);
  EXPECT_EQ(Count(*store), 1);

  Image noData;
  noData.Header(1).Head(45, 2, 0, 0, 5);
  auto second = Opened(noData.Bytes());
  EXPECT_EQ(second->LoadFile(), kEndOfFile);
  EXPECT_EQ(Count(*second), 0);
}

TEST_F(DataFileTest, DamagedHeaderAndBlocksAreReported) {
  Image header;
  header.Header(1);
  auto shortHeader = Opened(header.Bytes().substr(0, 50));
  EXPECT_EQ(shortHeader->LoadFile(), kHeaderUnreadable);
  EXPECT_FALSE(shortHeader->IsFileOpen());

  Image oversized;
  oversized.Header(0, 0x7FFFFFFF).Block("x", "data");
  EXPECT_EQ(Opened(oversized.Bytes())->LoadFile(), kAppInfoUnreadable);

  Image tooSmall;
  tooSmall.Header(0, 20).Raw(std::string(20, '\0'));
  EXPECT_EQ(Opened(tooSmall.Bytes())->LoadFile(), kAppInfoUnreadable);

  // Bytes in use beyond the data area.
  Image inUse;
  inUse.Header(0, 60).U32(60).U16(0x1002).U16(0).U32(56).Text("x", 32).U32(4).U32(5).U32(0).Raw("abcd");
  EXPECT_EQ(Opened(inUse.Bytes())->LoadFile(), kAppInfoUnreadable);

  // A block whose own total size disagrees with the header's.
  Image block;
  block.Block("x", "abcd");
  Image mismatch;
  mismatch.Header(0, 0, 64).Raw(block.Bytes()).Raw("1234");
  EXPECT_EQ(Opened(mismatch.Bytes())->LoadFile(), kSortInfoUnreadable);
}

TEST(PackedRecords, PackWritesTheHeadAndDataByteForByteWithinTheRoom) {
  DesktopDatabaseManager store;
  SyncRecord record;
  record.SetId(0x01020304);
  record.SetCategory(5);
  record.SetAttributes(kRecordModified | kRecordNew);
  record.SetPrivate(true);
  record.SetData(3, "xyz");
  std::vector<std::uint8_t> buffer(64, 0xEE);
  std::memcpy(buffer.data(), "\x40\0\0\0", 4);
  ASSERT_EQ(store.PackRecord(record, buffer, false), kOk);
  Image expected;
  expected.Head(43, 0x01020304, 0x01 | 0x08 | 0x10, 5, 3).Raw("xyz");
  EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + 43), expected.Bytes());
  ASSERT_EQ(store.PackRecord(record, buffer, true), kOk);
  EXPECT_EQ(buffer[24], 0);

  buffer[0] = 42;  // room for 2 bytes of data: the length needed comes back
  EXPECT_EQ(store.PackRecord(record, buffer, false), kBufferTooSmall);
  EXPECT_EQ(buffer[0], 43);
  // The buffer itself bounds the room, whatever its length field says.
  std::memcpy(buffer.data(), "\xFF\xFF\0\0", 4);
  EXPECT_EQ(store.PackRecord(record, std::span<std::uint8_t>(buffer.data(), 42), false), kBufferTooSmall);
  SyncRecord out;
  EXPECT_EQ(store.UnpackRecord(std::span<const std::uint8_t>(buffer.data(), 10), out), kRecordHeadUnreadable);
}

TEST_F(DataFileTest, SaveHandsTheWholeFileToWriteBytesAndItLoadsBack) {
  folder_.Write("gen.DAT", "K");
  CapturingStore store(nullptr, 0, kInstallSync, "KORVETDatabaseDB", "gen.DAT", folder_.Path().c_str());
  ASSERT_EQ(store.SetDatabaseInfo("KORVETDatabaseDB", 8, 0x44415441, 0x4B525654, 1, 7, 200, 100, 300), kOk);
  std::vector<std::uint8_t> app = {'a', 'p', 'p'};
  DatabaseInfoBlock info{};
  std::strcpy(info.name, "KORVETDatabaseDB");
  info.dataSize = 3;
  info.data = app.data();
  info.reserved = 77;
  ASSERT_EQ(store.SetAppInfo(&info), kOk);
  SyncRecord first;
  first.SetId(10);
  first.SetCategory(3);
  first.SetAttributes(kRecordModified);
  first.SetData(5, "alpha");
  store.AddRecordAsIs(first);
  SyncRecord second;
  second.SetId(11);
  store.AddRecordAsIs(second);

  ASSERT_EQ(store.SaveFile(), kOk);
  EXPECT_FALSE(store.IsDirty());
  EXPECT_FALSE(store.IsFileOpen());
  Image block;
  block.Block("KORVETDatabaseDB", "app", 77);
  Image expected;
  expected.Header(2, 59).Raw(block.Bytes()).Record(10, 0, 3, "alpha").Record(11, 0, 0, "");
  EXPECT_EQ(store.written, expected.Bytes());
  EXPECT_EQ(folder_.Read("gen.DAT"), "K");

  auto loaded = Opened(store.written);
  ASSERT_EQ(loaded->LoadFile(), kOk);
  ASSERT_EQ(Count(*loaded), 2);
  EXPECT_EQ(DataOf(*loaded->RecordAt(0)), "alpha");
  EXPECT_EQ(loaded->AppInfoBlock()->Extra(), 77u);

  store.written.clear();
  EXPECT_EQ(store.SaveFile(), kOk);  // clean: nothing to do
  EXPECT_EQ(store.written, "");
}

TEST_F(DataFileTest, SaveStopsAtARecordTooLargeToPackAndFailsWhenTheFileCannotOpen) {
  folder_.Write("gen.DAT", "K");
  CapturingStore store(nullptr, 0, kInstallSync, nullptr, "gen.DAT", folder_.Path().c_str());
  store.NewHeader();
  SyncRecord fits;
  fits.SetData(1, "f");
  store.AddRecordAsIs(fits);
  SyncRecord tooLarge;
  const std::string big(65481, 'b');
  tooLarge.SetData(static_cast<std::uint32_t>(big.size()), big.data());
  store.AddRecordAsIs(tooLarge);
  EXPECT_EQ(store.SaveFile(), kSaveFailed);
  EXPECT_TRUE(store.IsDirty());
  EXPECT_EQ(store.written.size(), 84u + 41u);  // the header and the record before it
  EXPECT_FALSE(store.IsFileOpen());

  CapturingStore missing(nullptr, 0, kInstallSync, nullptr, "none.DAT", folder_.Path().c_str());
  missing.NewHeader();
  missing.SetDirty(true);
  EXPECT_EQ(missing.SaveFile(), kSaveFailed);
  EXPECT_EQ(missing.written, "");
}

TEST(Serialization, LengthPrefixedStringsUseTheMarkerFrom255Characters) {
  CapturingStore store;
  ASSERT_EQ(store.WriteString(std::string(254, 's').c_str()), kOk);
  EXPECT_EQ(store.written, std::string(1, '\xFE') + std::string(254, 's'));
  store.written.clear();
  ASSERT_EQ(store.WriteString(std::string(255, 's').c_str()), kOk);
  EXPECT_EQ(store.written, std::string("\xFF\xFF\x00", 3) + std::string(255, 's'));
  store.written.clear();
  ASSERT_EQ(store.WriteString(""), kOk);
  ASSERT_EQ(store.WriteString(nullptr), kOk);
  EXPECT_EQ(store.written, std::string(2, '\0'));
  store.written.clear();
  EXPECT_EQ(store.WriteString(std::string(65536, 's').c_str()), kValueTooLarge);
  EXPECT_EQ(store.written, "");
}

TEST(Serialization, TaggedWritesAndIntegersAreLittleEndian) {
  CapturingStore store;
  store.WriteTaggedString("ab", 7);
  store.WriteTagged6(0x01020304);
  store.WriteTagged3(3);
  store.WriteU16(0xBEEF);
  Image expected;
  expected.U32(5).U32(7).U8(2).Raw("ab").U32(6).U32(0x01020304).U32(3).U32(3).U16(0xBEEF);
  EXPECT_EQ(store.written, expected.Bytes());
  std::uint32_t u32 = 0x01020304;
  EXPECT_EQ(store.SwapU32(&u32), 0x04030201u);
}

TEST_F(DataFileTest, StringsAndIntegersReadBack) {
  Image file;
  file.U8(3).Raw("abc").U8(255).U16(300).Raw(std::string(300, 'x')).U16(0xBEEF).U32(0x01020304).U8(5).Raw("hello");
  auto store = Opened(file.Bytes());
  char buffer[400];
  long size = 4;
  ASSERT_EQ(store->ReadString(buffer, &size), kOk);
  EXPECT_EQ(size, 3);
  EXPECT_STREQ(buffer, "abc");
  size = sizeof buffer;
  ASSERT_EQ(store->ReadString(buffer, &size), kOk);
  EXPECT_EQ(size, 300);
  EXPECT_EQ(std::string(buffer), std::string(300, 'x'));
  std::uint16_t u16 = 0;
  std::uint32_t u32 = 0;
  ASSERT_EQ(store->ReadU16(&u16), kOk);
  ASSERT_EQ(store->ReadU32Again(&u32), kOk);
  EXPECT_EQ(u16, 0xBEEF);
  EXPECT_EQ(u32, 0x01020304u);
  base::TextBuffer text("old");
  ASSERT_EQ(store->ReadStringInto(text), kOk);
  EXPECT_STREQ(text.Text(), "hello");
  EXPECT_EQ(store->ReadStringInto(text), kEndOfFile);
  EXPECT_STREQ(text.Text(), "");
  EXPECT_EQ(store->ReadU8(nullptr), kMissingOutput);

  auto small = Opened(Image().U8(5).Raw("hello").Bytes());
  size = 5;  // no room for the NUL
  EXPECT_EQ(small->ReadString(buffer, &size), kBufferTooSmall);
  EXPECT_EQ(size, 5);
}

TEST(LineBreaks, ExpandPutsACarriageReturnBeforeEachLineFeed) {
  DesktopDatabaseManager store;
  char target[32];
  ASSERT_EQ(store.ExpandLineBreaks("a\nb", target, 3), kOk);
  EXPECT_STREQ(target, "a\r\nb");
  ASSERT_EQ(store.ExpandLineBreaks("a\n\nb\0zz", target, 7), kOk);
  EXPECT_STREQ(target, "a\r\n\r\nb");
  ASSERT_EQ(store.ExpandLineBreaks("abc\0e", target, 5), kOk);  // no line feed: exactly count bytes
  EXPECT_EQ(std::memcmp(target, "abc\0e\0", 6), 0);
  EXPECT_EQ(store.ExpandLineBreaks("a\nb", nullptr, 3), kMissingArgument);

  EXPECT_EQ(store.ExpandLineBreaksLimited("a\nb\nc", target, 5, 4), 3);
  EXPECT_STREQ(target, "a\r\n");
  EXPECT_EQ(store.ExpandLineBreaksLimited("a\nb", target, 3, 3), 1);  // a line break is not split
  EXPECT_STREQ(target, "a");
  EXPECT_EQ(store.ExpandLineBreaksLimited("abcdef", target, 6, 4), 3);
  EXPECT_STREQ(target, "abc");
  EXPECT_EQ(store.ExpandLineBreaksLimited("abc", target, 3, 10), 3);
  EXPECT_EQ(store.ExpandLineBreaksLimited("abc", nullptr, 3, 10), 0);
}

TEST(LineBreaks, CollapseDropsEachCarriageReturnAndKeepsWhatFollows) {
  DesktopDatabaseManager store;
  char target[32];
  EXPECT_EQ(store.CollapseLineBreaks(target, "a\r\nb", 4), 4);
  EXPECT_STREQ(target, "a\nb");
  EXPECT_EQ(store.CollapseLineBreaks(target, "a\r\r\nb", 5), 5);
  EXPECT_STREQ(target, "a\r\nb");
  EXPECT_EQ(store.CollapseLineBreaks(target, "ab\r", 3), 3);
  EXPECT_STREQ(target, "ab");
  EXPECT_EQ(store.CollapseLineBreaks(target, "abcd", 3), 4);
  EXPECT_STREQ(target, "abc");
  char expanded[16];
  store.ExpandLineBreaks("x\ny", expanded, 3);
  EXPECT_EQ(store.CollapseLineBreaks(target, expanded, static_cast<long>(std::strlen(expanded))), 4);
  EXPECT_STREQ(target, "x\ny");
}

}  // namespace
}  // namespace korvet::store
