#include "sim/pdb/palm_database.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace korvet::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

PalmRecord Record(std::uint32_t id, std::uint8_t attributes, std::uint8_t category, Bytes data) {
  PalmRecord record;
  record.id = id;
  record.attributes = attributes;
  record.category = category;
  record.data = std::move(data);
  return record;
}

PalmDatabase SampleDatabase() {
  PalmDatabase database;
  database.name = "KORVETDatabaseDB";
  database.flags = 0x0008;
  database.version = 3;
  database.creationDate = 0xB0000001;
  database.modificationDate = 0xB0000002;
  database.backupDate = 0xB0000003;
  database.modificationNumber = 7;
  database.type = 0x44415441;     // "DATA"
  database.creator = 0x4B525654;  // "KRVT"
  database.uniqueIdSeed = 0x00123000;
  database.appInfo = {1, 2, 3};
  database.sortInfo = {9, 8};
  database.records.push_back(Record(0x123001, 0, 5, {'a', 'b'}));
  database.records.push_back(Record(0x123002, kRecModified | kRecPrivate, 15, {}));
  database.records.push_back(Record(0x123003, kRecDeleted | kRecArchived | kRecModified, 0, {'z'}));
  return database;
}

TEST(PalmDatabaseFormat, WritesTheStandardLayoutByteForByte) {
  const Bytes bytes = SerializePalmDatabase(SampleDatabase());
  Bytes expected(32, 0);
  const std::string name = "KORVETDatabaseDB";
  std::copy(name.begin(), name.end(), expected.begin());
  const Bytes rest = {0x00, 0x08, 0x00, 0x03,                          // flags, version
                      0xB0, 0x00, 0x00, 0x01, 0xB0, 0x00, 0x00, 0x02,  // creation, modification
                      0xB0, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x07,  // backup, modification number
                      0x00, 0x00, 0x00, 0x68, 0x00, 0x00, 0x00, 0x6B,  // app info at 104, sort info at 107
                      'D',  'A',  'T',  'A',  'K',  'R',  'V',  'T',   // type, creator
                      0x00, 0x12, 0x30, 0x00, 0x00, 0x00, 0x00, 0x00,  // unique ID seed, next record list
                      0x00, 0x03,                                      // record count
                      0x00, 0x00, 0x00, 0x6D, 0x05, 0x12, 0x30, 0x01,  // live, category 5
                      0x00, 0x00, 0x00, 0x6F, 0x5F, 0x12, 0x30, 0x02,  // dirty, secret, category 15
                      0x00, 0x00, 0x00, 0x6F, 0xC8, 0x12, 0x30, 0x03,  // deleted, dirty, archive
                      0x00, 0x00,                                      // gap
                      1,    2,    3,    9,    8,    'a',  'b',  'z'};
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(bytes, expected);
}

TEST(PalmDatabaseFormat, RoundTripKeepsEveryField) {
  const PalmDatabase original = SampleDatabase();
  std::string error;
  const auto parsed = ParsePalmDatabase(SerializePalmDatabase(original), &error);
  ASSERT_TRUE(parsed) << error;
  EXPECT_EQ(parsed->name, original.name);
  EXPECT_EQ(parsed->flags, original.flags);
  EXPECT_EQ(parsed->version, original.version);
  EXPECT_EQ(parsed->creationDate, original.creationDate);
  EXPECT_EQ(parsed->modificationDate, original.modificationDate);
  EXPECT_EQ(parsed->backupDate, original.backupDate);
  EXPECT_EQ(parsed->modificationNumber, original.modificationNumber);
  EXPECT_EQ(parsed->type, original.type);
  EXPECT_EQ(parsed->creator, original.creator);
  EXPECT_EQ(parsed->uniqueIdSeed, original.uniqueIdSeed);
  EXPECT_EQ(parsed->appInfo, original.appInfo);
  EXPECT_EQ(parsed->sortInfo, original.sortInfo);
  ASSERT_EQ(parsed->records.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(parsed->records[i].id, original.records[i].id) << i;
    EXPECT_EQ(parsed->records[i].attributes, original.records[i].attributes) << i;
    EXPECT_EQ(parsed->records[i].category, original.records[i].category) << i;
    EXPECT_EQ(parsed->records[i].data, original.records[i].data) << i;
  }
}

TEST(PalmDatabaseFormat, EmptyDatabaseAndBlocksWithoutRecords) {
  PalmDatabase database;
  database.name = "Empty";
  std::string error;
  auto parsed = ParsePalmDatabase(SerializePalmDatabase(database), &error);
  ASSERT_TRUE(parsed) << error;
  EXPECT_EQ(parsed->name, "Empty");
  EXPECT_TRUE(parsed->records.empty());
  EXPECT_TRUE(parsed->appInfo.empty());

  database.sortInfo = {4, 5, 6};  // a sort block alone runs to the end of the file
  parsed = ParsePalmDatabase(SerializePalmDatabase(database), &error);
  ASSERT_TRUE(parsed) << error;
  EXPECT_TRUE(parsed->appInfo.empty());
  EXPECT_EQ(parsed->sortInfo, (Bytes{4, 5, 6}));
}

TEST(PalmDatabaseFormat, ResourceDatabaseUsesTenByteEntries) {
  PalmDatabase database;
  database.name = "Res";
  database.flags = kDbResource;
  PalmRecord code;
  code.resourceType = 0x636F6465;  // "code"
  code.resourceId = 1;
  code.data = {0xAA, 0xBB};
  PalmRecord text;
  text.resourceType = 0x74535452;  // "tSTR"
  text.resourceId = 1000;
  text.data = {'h', 'i'};
  database.records = {code, text};
  const Bytes bytes = SerializePalmDatabase(database);
  ASSERT_EQ(bytes.size(), 78u + 20 + 2 + 4);
  EXPECT_EQ(Bytes(bytes.begin() + 78, bytes.begin() + 98),
            (Bytes{'c', 'o', 'd', 'e', 0x00, 0x01, 0x00, 0x00, 0x00, 0x64,  //
                   't', 'S', 'T', 'R', 0x03, 0xE8, 0x00, 0x00, 0x00, 0x66}));
  std::string error;
  const auto parsed = ParsePalmDatabase(bytes, &error);
  ASSERT_TRUE(parsed) << error;
  ASSERT_EQ(parsed->records.size(), 2u);
  EXPECT_EQ(parsed->records[1].resourceType, 0x74535452u);
  EXPECT_EQ(parsed->records[1].resourceId, 1000);
  EXPECT_EQ(parsed->records[0].data, (Bytes{0xAA, 0xBB}));
  EXPECT_EQ(parsed->records[1].data, (Bytes{'h', 'i'}));
}

TEST(PalmRecordAttributes, PacksAsTheFileFormatDoes) {
  EXPECT_EQ(PackRecordAttributes(0, 0), 0x00);
  EXPECT_EQ(PackRecordAttributes(0, 12), 0x0C);
  EXPECT_EQ(PackRecordAttributes(kRecModified | kRecPrivate, 3), 0x53);
  EXPECT_EQ(PackRecordAttributes(kRecDeleted, 7), 0x80);  // no room for the category
  EXPECT_EQ(PackRecordAttributes(kRecDeleted | kRecArchived | kRecModified, 2), 0xC8);
  EXPECT_EQ(PackRecordAttributes(kRecArchived, 9), 0x09);  // no device state: a live record's category
  EXPECT_EQ(PackRecordAttributes(kRecDeleted | kRecArchived | kRecPrivate | kRecModified, 1), 0xD8);
  EXPECT_EQ(PackRecordAttributes(0x27, 0), 0x00);  // bits without a meaning are dropped
}

TEST(PalmRecordAttributes, UnpacksWhatItPacksAndForeignBytes) {
  for (std::uint8_t bits : {0x00, 0x40, 0x10, 0x50, 0x80, 0x88, 0xC8, 0xD8, 0xC0, 0x90}) {
    std::uint8_t attributes = 0;
    std::uint8_t category = 0;
    UnpackRecordAttributes(PackRecordAttributes(bits, 6), &attributes, &category);
    EXPECT_EQ(attributes, bits) << int{bits};
    EXPECT_EQ(category, (bits & kRecDeleted) ? 0 : 6) << int{bits};
  }
  std::uint8_t attributes = 0;
  std::uint8_t category = 0;
  UnpackRecordAttributes(0x0F, &attributes, &category);  // category 15 is not an archive flag
  EXPECT_EQ(attributes, 0);
  EXPECT_EQ(category, 15);
  UnpackRecordAttributes(0x48, &attributes, &category);  // a live record of category 8, not archived
  EXPECT_EQ(attributes, kRecModified);
  EXPECT_EQ(category, 8);
  UnpackRecordAttributes(0x28, &attributes, &category);  // busy is the device's own, never kept
  EXPECT_EQ(attributes, 0);
  EXPECT_EQ(category, 8);
}

TEST(PalmDatabaseUniqueIds, FreshIdsAreNeverInUse) {
  PalmDatabase database;
  database.uniqueIdSeed = 0x00500000;
  database.records.push_back(Record(0x00500001, 0, 0, {}));
  EXPECT_EQ(database.NewUniqueId(), 0x00500002u);
  EXPECT_EQ(database.uniqueIdSeed, 0x00500002u);
  database.records.push_back(Record(0x00700000, 0, 0, {}));
  EXPECT_EQ(database.NewUniqueId(), 0x00700001u);

  database.records = {Record(1, 0, 0, {}), Record(2, 0, 0, {}), Record(kMaxUniqueId, 0, 0, {})};
  EXPECT_EQ(database.NewUniqueId(), 3u);  // past the top: the lowest free ID, never 0

  PalmDatabase empty;
  EXPECT_EQ(empty.NewUniqueId(), 1u);
}

class DamagedFile : public ::testing::Test {
 protected:
  std::string ParseError(const Bytes& bytes) {
    std::string error;
    EXPECT_FALSE(ParsePalmDatabase(bytes, &error));
    return error;
  }
  Bytes good_ = SerializePalmDatabase(SampleDatabase());
};

TEST_F(DamagedFile, TruncatedHeader) {
  EXPECT_THAT(ParseError({}), ::testing::HasSubstr("truncated header"));
  EXPECT_THAT(ParseError(Bytes(good_.begin(), good_.begin() + 77)), ::testing::HasSubstr("truncated header"));
}

TEST_F(DamagedFile, NameWithoutTerminator) {
  std::fill(good_.begin(), good_.begin() + 32, 'x');
  EXPECT_THAT(ParseError(good_), ::testing::HasSubstr("name"));
}

TEST_F(DamagedFile, RecordCountLargerThanTheFile) {
  good_[76] = 0x40;  // 16384 entries
  EXPECT_THAT(ParseError(good_), ::testing::HasSubstr("runs past the end"));
  EXPECT_THAT(ParseError(Bytes(good_.begin(), good_.begin() + 90)), ::testing::HasSubstr("runs past the end"));
}

TEST_F(DamagedFile, OffsetsPastTheEnd) {
  Bytes record = good_;
  record[78 + 16] = 0x01;  // third record at 0x0100006F
  EXPECT_THAT(ParseError(record), ::testing::HasSubstr("record 2 starts at 0x100006F, past the end"));
  Bytes appInfo = good_;
  appInfo[54] = 0x7F;
  EXPECT_THAT(ParseError(appInfo), ::testing::HasSubstr("application information block"));
  // Cut after the record list: the record data is gone.
  EXPECT_THAT(ParseError(Bytes(good_.begin(), good_.begin() + 104)), ::testing::HasSubstr("past the end"));
}

TEST_F(DamagedFile, OffsetsOutOfOrder) {
  Bytes swapped = good_;
  swapped[78 + 3] = 0x70;  // first record after the second
  EXPECT_THAT(ParseError(swapped), ::testing::HasSubstr("before the block that precedes it"));
  Bytes inside = good_;
  inside[55] = 0x10;  // application information inside the header
  EXPECT_THAT(ParseError(inside), ::testing::HasSubstr("inside the header"));
}

}  // namespace
}  // namespace korvet::sim
