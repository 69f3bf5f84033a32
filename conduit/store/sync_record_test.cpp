#include "conduit/store/sync_record.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "conduit/store/status_codes.h"
#include "conduit/test_support/packed_field.h"

namespace korvet::store {
namespace {

using handheld::RecordTransferBlock;
using testing::Field;

SyncRecord RecordWith(const std::string& data, long category = 0, bool isPrivate = false) {
  SyncRecord record;
  record.SetData(static_cast<std::uint32_t>(data.size()), data.data());
  record.SetCategory(category);
  record.SetPrivate(isPrivate);
  return record;
}

std::string DataOf(const SyncRecord& record) {
  return std::string(reinterpret_cast<const char*>(record.GetData()), record.GetDataSize());
}

TEST(SyncRecordState, NewAndClearedRecordsHoldTheNewRecordValues) {
  SyncRecord record = RecordWith("abc", 3, true);
  record.SetId(9);
  record.SetIndex(2);
  record.SetHandheldIndex(4);
  record.SetAttributes(kRecordModified);
  record.AddMark(kMarkUnmatched);
  record.SetSourceHandle(3);
  record.Clear();
  const SyncRecord fresh;
  for (const SyncRecord* checked : std::initializer_list<const SyncRecord*>{&record, &fresh}) {
    EXPECT_EQ(checked->GetId(), kNoRecordId);
    EXPECT_EQ(checked->GetIndex(), -1);
    EXPECT_EQ(checked->GetHandheldIndex(), -1);
    EXPECT_EQ(checked->GetCategory(), 0);
    EXPECT_EQ(checked->GetData(), nullptr);
    EXPECT_EQ(checked->GetDataSize(), 0u);
    EXPECT_EQ(checked->GetSourceHandle(), 0u);
    EXPECT_FALSE(checked->IsPrivate());
    EXPECT_TRUE(checked->IsClean());
    EXPECT_EQ(checked->GetAttributeState(), kAttributeStateClean);
    EXPECT_EQ(checked->TestMark(0xFFFFFFFF), 0u);
  }
}

TEST(SyncRecordData, IsOwnedCopiedAndFollowedByANul) {
  SyncRecord record;
  const char bytes[] = {'a', 'b', 'c'};
  EXPECT_EQ(record.SetData(3, bytes), kOk);
  EXPECT_EQ(record.GetData()[3], 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(record.GetData()), "abc");
  EXPECT_EQ(record.SetData(5, nullptr), kMissingArgument);
  EXPECT_EQ(record.GetData(), nullptr);
  EXPECT_EQ(record.SetData(0, bytes), kOk);
  EXPECT_EQ(record.GetDataSize(), 0u);

  SyncRecord original = RecordWith("payload", 5, true);
  original.SetId(77);
  original.SetIndex(3);
  original.SetHandheldIndex(8);
  original.SetModified(true);
  original.AddMark(kMarkUnmatched);
  original.SetSourceHandle(2);
  SyncRecord copy(original);
  SyncRecord assigned;
  assigned.CopyFrom(original);
  for (const SyncRecord* r : std::initializer_list<const SyncRecord*>{&copy, &assigned}) {
    EXPECT_NE(r->GetData(), original.GetData());  // a copy of the block, not the block
    EXPECT_EQ(DataOf(*r), "payload");
    EXPECT_EQ(r->GetId(), 77u);
    EXPECT_EQ(r->GetIndex(), 3);
    EXPECT_EQ(r->GetHandheldIndex(), 8);
    EXPECT_EQ(r->GetCategory(), 5);
    EXPECT_TRUE(r->IsPrivate() && r->IsModified() && r->IsUnmatched());
    EXPECT_EQ(r->GetSourceHandle(), 2u);
  }
  const SyncRecord& itself = assigned;
  assigned = itself;  // self-assignment keeps the data
  EXPECT_EQ(DataOf(assigned), "payload");
}

TEST(SyncRecordData, CopyDataReportsTheSizeItNeeds) {
  SyncRecord record = RecordWith("12345");
  std::array<char, 8> buffer{};
  long size = 5;
  EXPECT_EQ(record.CopyData(buffer.data(), &size), kOk);
  EXPECT_EQ(size, 5);
  EXPECT_EQ(std::string(buffer.data(), 5), "12345");
  size = 4;
  EXPECT_EQ(record.CopyData(buffer.data(), &size), kBufferTooSmall);
  EXPECT_EQ(size, 5);
  EXPECT_EQ(record.CopyData(nullptr, &size), kMissingOutput);
  EXPECT_EQ(record.CopyData(buffer.data(), nullptr), kMissingOutput);

  SyncRecord empty;
  buffer.fill('x');
  size = 8;
  EXPECT_EQ(empty.CopyData(buffer.data(), &size), kOk);
  EXPECT_EQ(size, 0);
  EXPECT_EQ(buffer[0], '\0');
  buffer.fill('x');
  size = 0;  // no room even for the NUL: nothing is written
  EXPECT_EQ(empty.CopyData(buffer.data(), &size), kOk);
  EXPECT_EQ(buffer[0], 'x');
}

TEST(SyncRecordCompare, ReportsTheFirstDifferenceOnly) {
  SyncRecord a = RecordWith("same", 2, false);
  SyncRecord b = RecordWith("same", 2, false);
  a.SetId(1);
  b.SetId(2);
  a.SetModified(true);
  b.SetDeleted(true);
  b.SetIndex(40);
  b.AddMark(kMarkUnmatched);
  EXPECT_EQ(a.Compare(b), 0);
  EXPECT_EQ(a.Compare(RecordWith("longer", 3, true)), 1);
  EXPECT_EQ(a.Compare(RecordWith("SAME", 3, true)), 2);
  EXPECT_EQ(a.Compare(RecordWith("same", 3, true)), 3);
  EXPECT_EQ(a.Compare(RecordWith("same", 2, true)), 4);
  EXPECT_EQ(SyncRecord().Compare(SyncRecord()), 0);
}

RecordTransferBlock BlockOver(std::uint8_t* buffer, std::uint16_t capacity) {
  RecordTransferBlock block{};
  block.data = buffer;
  block.capacity = capacity;
  return block;
}

TEST(SyncRecordTransfer, IndexIsTheHandheldIndexWhenOneIsSet) {
  std::array<std::uint8_t, 16> buffer{};
  SyncRecord record = RecordWith("x");
  record.SetIndex(2);
  record.SetHandheldIndex(7);
  RecordTransferBlock block = BlockOver(buffer.data(), 16);
  ASSERT_EQ(record.ToTransferBlock(block), kOk);
  EXPECT_EQ(Field(block.index), 7);
  record.SetHandheldIndex(-1);
  ASSERT_EQ(record.ToTransferBlock(block), kOk);
  EXPECT_EQ(Field(block.index), 2);
}

TEST(SyncRecordTransfer, AttributeByteCarriesDeletedArchivedModifiedAndPrivateOnly) {
  std::array<std::uint8_t, 16> buffer{};
  RecordTransferBlock block = BlockOver(buffer.data(), 16);
  SyncRecord record = RecordWith("abc", 4, true);
  record.SetNew(true);
  record.AddMark(kMarkUnmatched);
  block.attributes = 0xFF;
  ASSERT_EQ(record.ToTransferBlock(block), kOk);
  EXPECT_EQ(Field(block.attributes), 0x10);  // new and the mark are not carried
  record.SetPrivate(false);
  record.SetDeleted(true);
  record.SetArchived(true);
  record.SetModified(true);
  record.SetId(0x01020304);
  record.SetSourceHandle(6);
  ASSERT_EQ(record.ToTransferBlock(block), kOk);
  EXPECT_EQ(Field(block.attributes), 0x80 | 0x08 | 0x40);
  EXPECT_EQ(Field(block.recordId), 0x01020304u);
  EXPECT_EQ(Field(block.category), 4);
  EXPECT_EQ(Field(block.dataSize), 3u);
  EXPECT_EQ(Field(block.handle), 6);
  EXPECT_EQ(std::memcmp(buffer.data(), "abc", 3), 0);
}

TEST(SyncRecordTransfer, TooSmallABufferFillsOnlyTheIdentity) {
  std::array<std::uint8_t, 4> buffer{};
  RecordTransferBlock block = BlockOver(buffer.data(), 4);
  block.attributes = 0xAA;
  block.handle = 0x55;
  SyncRecord record = RecordWith("12345", 3, true);
  record.SetId(12);
  record.SetIndex(1);
  EXPECT_EQ(record.ToTransferBlock(block), kBufferTooSmall);
  EXPECT_EQ(Field(block.recordId), 12u);
  EXPECT_EQ(Field(block.index), 1);
  EXPECT_EQ(Field(block.attributes), 0xAA);
  EXPECT_EQ(Field(block.handle), 0x55);
  EXPECT_EQ(Field(block.dataSize), 0u);
  EXPECT_EQ(buffer[0], 0);

  RecordTransferBlock noBuffer = BlockOver(nullptr, 100);
  EXPECT_EQ(record.ToTransferBlock(noBuffer), kMissingArgument);
}

TEST(SyncRecordTransfer, ReadingABlockMapsEveryField) {
  std::array<std::uint8_t, 8> buffer{'d', 'a', 't', 'a', 'X', 'X', 'X', 'X'};
  RecordTransferBlock block = BlockOver(buffer.data(), 8);
  block.handle = 3;
  block.recordId = 0xDEADBEEF;
  block.index = 0xFFFF;
  block.category = -1;
  block.attributes = 0xFF;
  block.dataSize = 4;
  SyncRecord record;
  record.SetHandheldIndex(9);
  record.AddMark(kMarkUnmatched);
  ASSERT_EQ(record.FromTransferBlock(block), kOk);
  EXPECT_EQ(record.GetId(), 0xDEADBEEFu);
  EXPECT_EQ(record.GetIndex(), 65535);  // zero-extended
  EXPECT_EQ(record.GetCategory(), -1);  // signed
  EXPECT_EQ(record.GetAttributes(), kRecordDeleted | kRecordModified | kRecordArchived);
  EXPECT_TRUE(record.IsPrivate());
  EXPECT_EQ(DataOf(record), "data");
  EXPECT_EQ(record.GetData()[4], 0);
  EXPECT_EQ(record.GetSourceHandle(), 3u);
  EXPECT_FALSE(record.IsUnmatched());
  EXPECT_EQ(record.GetHandheldIndex(), 9);  // left as it was

  block.attributes = 0x27;  // none of the mapped bits
  block.dataSize = 5000;    // claims more than the buffer holds: only the buffer is read
  SyncRecord bounded(block);
  EXPECT_TRUE(bounded.IsClean());
  EXPECT_FALSE(bounded.IsPrivate());
  EXPECT_EQ(bounded.GetDataSize(), 8u);
  EXPECT_EQ(bounded.GetHandheldIndex(), -1);
}

TEST(SyncRecordTransfer, SharingPointsTheBlockAtTheRecordsData) {
  SyncRecord record = RecordWith("shared", 2);
  record.SetId(5);
  record.SetIndex(1);
  RecordTransferBlock block{};
  block.attributes = 0x40;
  ASSERT_EQ(record.ShareIntoTransferBlock(7, block), kOk);
  EXPECT_EQ(Field(block.data), record.GetData());
  EXPECT_EQ(Field(block.capacity), 6);
  EXPECT_EQ(Field(block.dataSize), 6u);
  EXPECT_EQ(Field(block.handle), 7);
  EXPECT_EQ(Field(block.recordId), 5u);
  EXPECT_EQ(Field(block.index), 1);
  EXPECT_EQ(Field(block.category), 2);
  EXPECT_EQ(Field(block.attributes), 0x40);  // the caller's
  SyncRecord empty;
  ASSERT_EQ(empty.ShareIntoTransferBlock(1, block), kOk);
  EXPECT_EQ(Field(block.data), nullptr);
  EXPECT_EQ(Field(block.capacity), 0);
  EXPECT_EQ(Field(block.dataSize), 0u);
}

TEST(SyncRecordPacked, AttributeWordMapsBothWays) {
  SyncRecord record;
  record.SetModified(true);
  EXPECT_EQ(PackedAttributeWord(record), 0x01);
  record.SetModified(false);
  record.SetDeleted(true);
  EXPECT_EQ(PackedAttributeWord(record), 0x02);
  record.SetDeleted(false);
  record.SetArchived(true);
  EXPECT_EQ(PackedAttributeWord(record), 0x04);
  record.SetArchived(false);
  record.SetNew(true);
  record.SetPrivate(true);
  EXPECT_EQ(PackedAttributeWord(record), 0x18);

  SyncRecord unpacked;
  ApplyPackedAttributeWord(unpacked, 0x01 | 0x04 | 0x10 | 0x80);
  EXPECT_EQ(unpacked.GetAttributes(), kRecordModified | kRecordArchived);
  EXPECT_TRUE(unpacked.IsPrivate());
  ApplyPackedAttributeWord(unpacked, 0x02 | 0x08);
  EXPECT_EQ(unpacked.GetAttributes(), kRecordDeleted | kRecordNew);
  EXPECT_FALSE(unpacked.IsPrivate());
}

// The templates come from the string table, which only the Windows build has.
#ifdef _WIN32
TEST(SyncRecordDescribe, NamesTheRecordByIdOrByIndex) {
  char text[64];
  long size = sizeof(text);
  SyncRecord record;
  EXPECT_EQ(record.Describe(text, &size), 20);
  EXPECT_STREQ(text, "Record ID 4294967295");

  record.SetIndex(5);
  size = sizeof(text);
  EXPECT_EQ(record.Describe(text, &size), 14);
  EXPECT_STREQ(text, "Record Index 5");

  record.SetId(0);  // a record not yet on the handheld still has an ID
  size = sizeof(text);
  record.Describe(text, &size);
  EXPECT_STREQ(text, "Record ID 0");

  size = 21;  // "Record ID %u" has 12 characters, plus room for ten digits
  EXPECT_EQ(record.Describe(text, &size), kBufferTooSmall);
  EXPECT_EQ(size, 22);
  EXPECT_EQ(record.Describe(nullptr, &size), kMissingOutput);
}
#endif

}  // namespace
}  // namespace korvet::store
