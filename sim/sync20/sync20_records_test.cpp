// Records, categories, information blocks and the position map of the stand-in Sync Manager.
#include <algorithm>

#include "sim/sync20/sync20_test_fixture.h"

namespace korvet::sim::testing {
namespace {

constexpr std::uint8_t kDeleted = handheld::kHandheldDeleted;
constexpr std::uint8_t kModified = handheld::kHandheldModified;
constexpr std::uint8_t kPrivate = handheld::kHandheldPrivate;
constexpr std::uint8_t kArchived = handheld::kHandheldArchived;

TEST_F(Sync20Test, WriteAppendsWithFreshIdsAndReadsBack) {
  const std::uint8_t handle = Create("KORVETDatabaseDB");
  const RecordTransferBlock first = Write(handle, 0, kModified, 3, {'o', 'n', 'e'});
  const RecordTransferBlock second = Write(handle, 0, kPrivate | 0x27, 15, {});
  EXPECT_NE(first.recordId, 0u);
  EXPECT_NE(second.recordId, 0u);
  EXPECT_NE(first.recordId, second.recordId);
  EXPECT_LE(second.recordId, kMaxUniqueId);
  EXPECT_EQ(second.index, 0);  // the answer is the ID alone: the index stays as the caller set it
  EXPECT_EQ(Count(handle), 2);
  EXPECT_EQ(ReadIndex(handle, 1).block.recordId, second.recordId);

  Read byId(handle);
  byId.block.recordId = second.recordId;
  ASSERT_EQ(ReadHandheldRecordById(&byId.block), 0);
  EXPECT_EQ(byId.block.index, 1);
  EXPECT_EQ(byId.block.attributes, kPrivate);  // bits without a meaning are not kept
  EXPECT_EQ(byId.block.category, 15);
  EXPECT_EQ(byId.block.dataSize, 0u);

  const Read byIndex = ReadIndex(handle, 0);
  EXPECT_EQ(byIndex.block.recordId, first.recordId);
  EXPECT_EQ(byIndex.block.attributes, kModified);
  EXPECT_EQ(byIndex.block.category, 3);
  EXPECT_EQ(byIndex.Data(), (Bytes{'o', 'n', 'e'}));
  EXPECT_EQ(byIndex.buffer[3], 0xEE);  // nothing beyond the record

  ReadIndex(handle, 2, 0x4003);
  Read missing(handle);
  missing.block.recordId = 0x123456;
  EXPECT_EQ(ReadHandheldRecordById(&missing.block), 0x4003);
}

TEST_F(Sync20Test, WriteWithAnIdReplacesInPlaceOrKeepsAnUnknownId) {
  const std::uint8_t handle = Create("Db");
  const std::uint32_t a = Write(handle, 0, 0, 1, {'a'}).recordId;
  const std::uint32_t b = Write(handle, 0, 0, 2, {'b'}).recordId;
  const RecordTransferBlock replaced = Write(handle, a, kModified | kPrivate, 7, {'A', 'A'});
  EXPECT_EQ(replaced.recordId, a);
  EXPECT_EQ(Count(handle), 2);
  const Read read = ReadIndex(handle, 0);
  EXPECT_EQ(read.block.attributes, kModified | kPrivate);
  EXPECT_EQ(read.block.category, 7);
  EXPECT_EQ(read.Data(), (Bytes{'A', 'A'}));
  EXPECT_EQ(ReadIndex(handle, 1).block.recordId, b);

  // A record restored onto an emptied handheld keeps its ID; later fresh IDs avoid it.
  const RecordTransferBlock restored = Write(handle, 0x00F00000, 0, 0, {'r'});
  EXPECT_EQ(restored.recordId, 0x00F00000u);
  EXPECT_EQ(ReadIndex(handle, 2).block.recordId, 0x00F00000u);
  EXPECT_GT(Write(handle, 0, 0, 0, {'n'}).recordId, 0x00F00000u);
  Write(handle, 0x01000000, 0, 0, {'x'}, kSyncErrBadArgument);  // does not fit in three bytes
}

TEST_F(Sync20Test, WriteRefusesBadBlocksAndTooLargeRecords) {
  const std::uint8_t handle = Create("Db");
  Write(handle, 0, 0, 16, {'x'}, kSyncErrBadArgument);
  Write(handle, 0, 0, -1, {'x'}, kSyncErrBadArgument);
  EXPECT_EQ(Write(handle, 0, 0, 0, Bytes(handheld::kMaxRecordSize, 'm')).index, 0);
  RecordTransferBlock block{};
  block.handle = handle;
  Bytes big(handheld::kMaxRecordSize + 1u, 'b');
  block.data = big.data();
  block.capacity = 0xFFFF;
  block.dataSize = static_cast<std::uint32_t>(big.size());
  EXPECT_EQ(WriteHandheldRecord(&block), kSyncErrTooLarge);
  block.dataSize = 10;
  block.capacity = 9;  // the size must lie within the caller's buffer
  EXPECT_EQ(WriteHandheldRecord(&block), kSyncErrBadArgument);
  block.capacity = 10;
  block.data = nullptr;
  EXPECT_EQ(WriteHandheldRecord(&block), kSyncErrBadArgument);
  EXPECT_EQ(WriteHandheldRecord(nullptr), kSyncErrBadArgument);
  EXPECT_EQ(Count(handle), 1);
  Read read = ReadIndex(handle, 0);
  EXPECT_EQ(read.block.dataSize, handheld::kMaxRecordSize);
  EXPECT_EQ(read.Data(), Bytes(handheld::kMaxRecordSize, 'm'));
}

TEST_F(Sync20Test, AReadIntoASmallBufferIsCutAndSaysSo) {
  const std::uint8_t handle = Create("Db");
  Bytes data(600);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i);
  Write(handle, 0, 0, 0, data);
  Read read(handle, 512);
  read.block.index = 0;
  ASSERT_EQ(ReadHandheldRecordByIndex(&read.block), 0);
  EXPECT_EQ(read.block.dataSize, 600u);  // the whole size: above the capacity, so the copy was cut
  EXPECT_EQ(read.Data(), Bytes(data.begin(), data.begin() + 512));
  EXPECT_EQ(read.buffer[512], 0xEE);  // never past the caller's buffer
  Read none(handle, 0);
  none.block.data = nullptr;
  EXPECT_EQ(ReadHandheldRecordByIndex(&none.block), 0);
  EXPECT_EQ(none.block.dataSize, 600u);
  Read noBuffer(handle, 16);
  noBuffer.block.data = nullptr;
  EXPECT_EQ(ReadHandheldRecordByIndex(&noBuffer.block), kSyncErrBadArgument);
}

TEST_F(Sync20Test, DeleteRemovesByIdAndIndexesCountDeletedRecords) {
  const std::uint8_t handle = Create("Db");
  const std::uint32_t a = Write(handle, 0, 0, 0, {'a'}).recordId;
  Write(handle, 0, kDeleted | kArchived, 0, {'b'});
  const std::uint32_t c = Write(handle, 0, 0, 0, {'c'}).recordId;
  EXPECT_EQ(ReadIndex(handle, 1).block.attributes, kDeleted | kArchived);
  RecordTransferBlock block{};
  block.handle = handle;
  block.recordId = a;
  EXPECT_EQ(DeleteHandheldRecord(&block), 0);
  EXPECT_EQ(DeleteHandheldRecord(&block), 0x4003);
  EXPECT_EQ(Count(handle), 2);
  EXPECT_EQ(ReadIndex(handle, 1).block.recordId, c);
  EXPECT_EQ(PurgeDeletedHandheldRecords(handle), 0);
  EXPECT_EQ(Count(handle), 1);
  EXPECT_EQ(ReadIndex(handle, 0).block.recordId, c);
}

// As on a device: a plain delete gives the data up, an archive keeps it for the desktop, and the
// archive bit means nothing without the deleted bit.
TEST_F(Sync20Test, DeletedRecordsReadWithoutTheirDataAndArchivedOnesWithIt) {
  const std::uint8_t handle = Create("Db");
  const std::uint32_t deleted = Write(handle, 0, kDeleted | kModified, 0, {'s', 't', 'a', 'l', 'e'}).recordId;
  Write(handle, 0, kDeleted | kArchived | kModified, 0, {'k', 'e', 'p', 't'});
  Write(handle, 0, kArchived | kModified, 9, {'l', 'i', 'v', 'e'});
  const Read gone = ReadIndex(handle, 0);
  EXPECT_EQ(gone.block.attributes, kDeleted | kModified);
  EXPECT_EQ(gone.block.dataSize, 0u);
  EXPECT_EQ(gone.buffer[0], 0xEE);
  Read byId(handle);
  byId.block.recordId = deleted;
  ASSERT_EQ(ReadHandheldRecordById(&byId.block), 0);
  EXPECT_EQ(byId.block.dataSize, 0u);
  const Read archived = ReadIndex(handle, 1);
  EXPECT_EQ(archived.block.attributes, kDeleted | kArchived | kModified);
  EXPECT_EQ(archived.Data(), (Bytes{'k', 'e', 'p', 't'}));
  const Read live = ReadIndex(handle, 2);
  EXPECT_EQ(live.block.attributes, kModified);
  EXPECT_EQ(live.block.category, 9);

  ASSERT_EQ(SimEndSession(), 0);  // the same on the file, written and read back
  const std::uint8_t reopened = Open("Db");
  EXPECT_EQ(ReadIndex(reopened, 1).block.attributes, kDeleted | kArchived | kModified);
  EXPECT_EQ(ReadIndex(reopened, 2).block.attributes, kModified);
  EXPECT_EQ(PurgeDeletedHandheldRecords(reopened), 0);
  EXPECT_EQ(Count(reopened), 1);
  EXPECT_EQ(ReadIndex(reopened, 0).Data(), (Bytes{'l', 'i', 'v', 'e'}));
}

// The stricter reading of the device: without the secret bit a private record is not there at all.
TEST_F(Sync20Test, ADatabaseOpenedWithoutTheSecretBitShowsNoPrivateRecord) {
  const std::uint8_t created = Create("Db");
  Write(created, 0, kModified, 0, {'a'});
  const std::uint32_t secret = Write(created, 0, kModified | kPrivate, 0, {'s'}).recordId;
  const std::uint32_t c = Write(created, 0, kModified, 0, {'c'}).recordId;
  ASSERT_EQ(CloseHandheldDatabase(created), 0);

  const std::uint8_t handle = Open("Db", handheld::kOpenReadWrite);
  EXPECT_EQ(Count(handle), 2);
  const Read second = ReadIndex(handle, 1);
  EXPECT_EQ(second.block.recordId, c);
  EXPECT_EQ(second.block.index, 1);
  ReadIndex(handle, 2, 0x4003);
  Read byId(handle);
  byId.block.recordId = secret;
  EXPECT_EQ(ReadHandheldRecordById(&byId.block), 0x4003);
  std::vector<std::uint32_t> modified;
  for (Read next(handle); ReadNextModifiedHandheldRecord(&next.block) == 0;) modified.push_back(next.block.recordId);
  EXPECT_EQ(modified.size(), 2u);
  EXPECT_EQ(std::count(modified.begin(), modified.end(), secret), 0);
  RecordTransferBlock block{};
  block.handle = handle;
  block.recordId = secret;
  EXPECT_EQ(DeleteHandheldRecord(&block), 0x4003);
  std::uint32_t ids[3] = {};
  handheld::PositionMapBlock map = PositionMapOver(handle, ids, 3);
  ASSERT_EQ(SyncReadPositionXMap(&map), 0);
  EXPECT_EQ(map.returned, 2);
  ASSERT_EQ(CloseHandheldDatabase(handle), 0);

  const std::uint8_t shown = Open("Db");  // with the secret bit
  EXPECT_EQ(Count(shown), 3);
  EXPECT_EQ(ReadIndex(shown, 1).block.recordId, secret);
}

TEST_F(Sync20Test, ModifiedRecordsOneAfterAnotherUntilNotFound) {
  const std::uint8_t handle = Create("Db");
  Write(handle, 0, 0, 0, {'0'});
  const std::uint32_t one = Write(handle, 0, kModified, 0, {'1'}).recordId;
  Write(handle, 0, kPrivate, 0, {'2'});
  const std::uint32_t three = Write(handle, 0, kModified | kDeleted, 0, {'3'}).recordId;
  ASSERT_EQ(SyncResetRecordIndex(handle), 0);
  std::vector<std::pair<std::uint32_t, std::uint16_t>> seen;
  for (int guard = 0; guard < 10; ++guard) {
    Read read(handle);
    read.block.index = 0;  // the caller's index does not steer the walk
    const long code = ReadNextModifiedHandheldRecord(&read.block);
    if (code == 0x4003) break;
    ASSERT_EQ(code, 0);
    seen.emplace_back(read.block.recordId, read.block.index);
  }
  EXPECT_THAT(seen, ::testing::ElementsAre(std::pair{one, std::uint16_t{1}}, std::pair{three, std::uint16_t{3}}));
  Read after(handle);
  EXPECT_EQ(ReadNextModifiedHandheldRecord(&after.block), 0x4003);
  EXPECT_EQ(SyncResetRecordIndex(handle), 0);
  EXPECT_EQ(ReadNextModifiedHandheldRecord(&after.block), 0);
  EXPECT_EQ(after.block.recordId, one);

  EXPECT_EQ(ClearHandheldSyncFlags(handle), 0);
  EXPECT_EQ(SyncResetRecordIndex(handle), 0);
  EXPECT_EQ(ReadNextModifiedHandheldRecord(&after.block), 0x4003);
  EXPECT_EQ(ReadIndex(handle, 3).block.attributes, kDeleted);  // only the modified bit went
}

TEST_F(Sync20Test, CategoryReadsChangesAndPurges) {
  const std::uint8_t handle = Create("Db");
  const std::uint32_t a = Write(handle, 0, 0, 2, {'a'}).recordId;
  Write(handle, 0, 0, 5, {'b'});
  Write(handle, 0, kDeleted, 2, {'c'});
  const std::uint32_t d = Write(handle, 0, 0, 2, {'d'}).recordId;
  ASSERT_EQ(SyncResetRecordIndex(handle), 0);
  std::vector<std::uint32_t> ids;
  for (;;) {
    Read read(handle);
    read.block.category = 2;
    if (SyncReadNextRecInCategory(&read.block) != 0) break;
    EXPECT_EQ(read.block.category, 2);
    ids.push_back(read.block.recordId);
  }
  EXPECT_THAT(ids, ::testing::ElementsAre(a, d));
  Read bad(handle);
  bad.block.category = 16;
  EXPECT_EQ(SyncReadNextRecInCategory(&bad.block), kSyncErrBadArgument);

  EXPECT_EQ(SyncChangeCategory(handle, 2, 7), 0);
  EXPECT_EQ(ReadIndex(handle, 0).block.category, 7);
  EXPECT_EQ(ReadIndex(handle, 1).block.category, 5);
  EXPECT_EQ(SyncChangeCategory(handle, 2, 16), kSyncErrBadArgument);
  EXPECT_EQ(SyncPurgeAllRecsInCategory(handle, 7), 0);
  EXPECT_EQ(Count(handle), 1);
  EXPECT_EQ(ReadIndex(handle, 0).block.category, 5);
  EXPECT_EQ(SyncPurgeAllRecsInCategory(handle, 16), kSyncErrBadArgument);
}

TEST_F(Sync20Test, PositionMapReturnsIdsWithTheirBytesReversed) {
  const std::uint8_t handle = Create("Db");
  Write(handle, 0x00123456, 0, 0, {'a'});
  Write(handle, 0x00ABCDEF, kDeleted, 0, {});
  Write(handle, 0x00000001, 0, 0, {'c'});
  std::uint32_t ids[4] = {0, 0, 0, 0xCAFEF00D};
  handheld::PositionMapBlock map = PositionMapOver(handle, ids, 3);
  ASSERT_EQ(SyncReadPositionXMap(&map), 0);
  EXPECT_EQ(map.returned, 3);
  EXPECT_THAT(ids, ::testing::ElementsAre(0x56341200u, 0xEFCDAB00u, 0x01000000u, 0xCAFEF00Du));
  map.firstPosition = 1;
  map.capacity = 1;  // never more than the caller's array holds
  ids[1] = 0;
  ASSERT_EQ(SyncReadPositionXMap(&map), 0);
  EXPECT_EQ(map.returned, 1);
  EXPECT_EQ(ids[0], 0xEFCDAB00u);
  EXPECT_EQ(ids[1], 0u);
  map.firstPosition = 3;
  EXPECT_EQ(SyncReadPositionXMap(&map), 0x4003);
}

TEST_F(Sync20Test, ApplicationAndSortInformation) {
  const std::uint8_t handle = Create("Db");
  Bytes buffer(300, 0xEE);
  DatabaseInfoBlock block{};
  block.capacity = 300;
  block.data = buffer.data();
  EXPECT_EQ(ReadHandheldAppInfoBlock(handle, &block), 0x4003);
  EXPECT_EQ(block.dataSize, 0);

  Bytes info(276, 0);
  info[0] = 0x12;
  info[275] = 0x34;
  DatabaseInfoBlock write{};
  write.capacity = 276;
  write.dataSize = 276;
  write.data = info.data();
  ASSERT_EQ(WriteHandheldAppInfoBlock(handle, &write), 0);
  ASSERT_EQ(ReadHandheldAppInfoBlock(handle, &block), 0);
  EXPECT_EQ(block.dataSize, 276);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 276), info);
  EXPECT_EQ(buffer[276], 0xEE);
  block.capacity = 100;  // cut, whole size reported
  std::fill(buffer.begin(), buffer.end(), 0xEE);
  ASSERT_EQ(ReadHandheldAppInfoBlock(handle, &block), 0);
  EXPECT_EQ(block.dataSize, 276);
  EXPECT_EQ(buffer[100], 0xEE);
  write.dataSize = 277;
  EXPECT_EQ(WriteHandheldAppInfoBlock(handle, &write), kSyncErrBadArgument);
  EXPECT_EQ(SyncReadDBSortInfoBlock(handle, &block), 0x4003);
  EXPECT_EQ(CloseHandheldDatabase(handle), 0);
  EXPECT_EQ(LoadFile("Db").appInfo, info);

  PalmDatabase sorted = LoadFile("Db");
  sorted.sortInfo = {7, 8, 9};
  SaveFile(sorted);
  const std::uint8_t again = Open("Db");
  block.capacity = 300;
  ASSERT_EQ(SyncReadDBSortInfoBlock(again, &block), 0);
  EXPECT_EQ(block.dataSize, 3);
  EXPECT_EQ(buffer[0], 7);
}

TEST_F(Sync20Test, ADatabaseOpenedForReadingRefusesChanges) {
  EXPECT_EQ(CloseHandheldDatabase(Create("Db")), 0);
  const std::uint8_t handle = Open("Db", handheld::kOpenRead);
  Write(handle, 0, 0, 0, {'x'}, kSyncErrReadOnly);
  EXPECT_EQ(ClearHandheldSyncFlags(handle), kSyncErrReadOnly);
  EXPECT_EQ(PurgeDeletedHandheldRecords(handle), kSyncErrReadOnly);
  EXPECT_EQ(SyncChangeCategory(handle, 0, 1), kSyncErrReadOnly);
  DatabaseInfoBlock info{};
  EXPECT_EQ(WriteHandheldAppInfoBlock(handle, &info), kSyncErrReadOnly);
  EXPECT_EQ(Count(handle), 0);
  EXPECT_EQ(ReadHandheldRecordByIndex(nullptr), kSyncErrBadArgument);
  EXPECT_EQ(SyncGetDBRecordCount(handle, nullptr), kSyncErrBadArgument);
  EXPECT_EQ(SyncGetDBRecordCount(99, nullptr), kSyncErrBadHandle);
}

TEST_F(Sync20Test, ResourceDatabasesCarryTypeAndIdInTheBlock) {
  const std::uint8_t handle = Create("App", kDbResource);
  Bytes code = {0x4E, 0x75};
  RecordTransferBlock block{};
  block.handle = handle;
  block.recordId = 0x636F6465;  // "code"
  block.category = 1;
  block.data = code.data();
  block.capacity = block.dataSize = 2;
  ASSERT_EQ(WriteHandheldResource(&block), 0);
  EXPECT_EQ(block.index, 0);
  code[1] = 0x76;
  ASSERT_EQ(WriteHandheldResource(&block), 0);  // same type and ID: replaced
  EXPECT_EQ(Count(handle), 1);
  EXPECT_EQ(WriteHandheldRecord(&block), kSyncErrWrongKind);
  Read read = ReadIndex(handle, 0);
  EXPECT_EQ(read.block.recordId, 0x636F6465u);
  EXPECT_EQ(read.block.category, 1);
  EXPECT_EQ(read.Data(), (Bytes{0x4E, 0x76}));
  EXPECT_EQ(CloseHandheldDatabase(handle), 0);
  const PalmDatabase file = LoadFile("App");
  ASSERT_EQ(file.records.size(), 1u);
  EXPECT_EQ(file.records[0].resourceType, 0x636F6465u);
  EXPECT_EQ(file.records[0].resourceId, 1);

  const std::uint8_t again = Open("App");
  block.handle = again;
  EXPECT_EQ(SyncDeleteResourceRec(&block), 0);
  EXPECT_EQ(SyncDeleteResourceRec(&block), 0x4003);
  const std::uint8_t records = Create("Records");
  block.handle = records;
  EXPECT_EQ(WriteHandheldResource(&block), kSyncErrWrongKind);
}

}  // namespace
}  // namespace korvet::sim::testing
