#include "conduit/sync/duplicate_removal.h"

#include <gtest/gtest.h>

#include "conduit/platform/sync_manager.h"
#include "conduit/sync/report_database.h"
#include "conduit/test_support/hotsync_bench.h"
#include "sim/sync20/sync20_control.h"

namespace korvet {
namespace {

using Data = std::vector<std::string>;

class DuplicateRemovalTest : public ::testing::Test {
 protected:
  // Every open of the database was matched by a close.
  void ExpectClosed() {
    KorvetDatabase again;
    EXPECT_EQ(again.Open(), 0) << "the pass left the database open";
  }
  testing::HotSyncBench bench_;
};

TEST_F(DuplicateRemovalTest, MissingDatabaseIsLeftAlone) {
  RemoveDuplicateRecords();
  EXPECT_EQ(SimCallCount("OpenHandheldDatabase"), 1);
  EXPECT_EQ(SimCallCount("ReadHandheldRecordByIndex"), 0);
  EXPECT_TRUE(bench_.LogTexts().empty());
}

TEST_F(DuplicateRemovalTest, EveryKeyKeepsExactlyItsNewestCopy) {
  bench_.AddRecord("a.qzl,1*");
  bench_.AddRecord("b.qzl,1*");
  bench_.AddRecord("a.qzl,2*");
  bench_.AddRecord("a.qzl,3*");
  bench_.AddRecord("$0000001T1,x");
  bench_.AddRecord("b.qzl,2*");
  bench_.AddRecord("$0000001T1,y");
  RemoveDuplicateRecords();
  EXPECT_EQ(bench_.RecordData(), (Data{"a.qzl,3*", "b.qzl,2*", "$0000001T1,y"}));
  ExpectClosed();
}

TEST_F(DuplicateRemovalTest, ZeroBytesBeforeTheCommaBelongToTheKey) {
  // Two different reports whose stamps hold zero bytes: neither is a copy of the other.
  bench_.AddRecord(std::string("$\0\0\0\0\0\0\0North,1", 16));
  bench_.AddRecord(std::string("$\0\0\0\0\0\0\0South,2", 16));
  bench_.AddRecord(std::string("$\0\0\0\0\0\0\0South,3", 16));
  RemoveDuplicateRecords();
  EXPECT_EQ(bench_.RecordData(),
            (Data{std::string("$\0\0\0\0\0\0\0North,1", 16), std::string("$\0\0\0\0\0\0\0South,3", 16)}));
}

TEST_F(DuplicateRemovalTest, ManyCopiesOfManyKeysAreAllRemovedInOnePass) {
  for (int round = 0; round < 4; ++round) {
    for (int key = 0; key < 10; ++key) bench_.AddRecord("k" + std::to_string(key) + "," + std::to_string(round));
  }
  RemoveDuplicateRecords();
  // Each record is read once.
  EXPECT_EQ(SimCallCount("ReadHandheldRecordByIndex"), 40);
  Data expected;
  for (int key = 0; key < 10; ++key) expected.push_back("k" + std::to_string(key) + ",3");
  EXPECT_EQ(bench_.RecordData(), expected);
}

TEST_F(DuplicateRemovalTest, KeysAreComparedWhole) {
  const std::string common(31, 'n');
  bench_.AddRecord("$0000001" + common + "A,first report");
  bench_.AddRecord("$0000001" + common + "B,second report");
  bench_.AddRecord(common + "-one.qzl,x*");
  bench_.AddRecord(common + "-two.qzl,y*");
  RemoveDuplicateRecords();
  EXPECT_EQ(bench_.RecordData().size(), 4u);
}

TEST_F(DuplicateRemovalTest, ReadFailureDeletesNothingAndClosesTheDatabase) {
  bench_.AddRecord("a.qzl,1*");
  bench_.AddRecord("a.qzl,2*");
  SimInjectFault(kSimFaultFail, "ReadHandheldRecordByIndex", 2, 0x4001);
  RemoveDuplicateRecords();
  EXPECT_EQ(bench_.RecordData().size(), 2u);
  ExpectClosed();
}

TEST_F(DuplicateRemovalTest, DeleteFailureEndsThePassAndClosesTheDatabase) {
  bench_.AddRecord("a.qzl,1*");
  bench_.AddRecord("a.qzl,2*");
  SimInjectFault(kSimFaultFail, "DeleteHandheldRecord", 1, 0x4001);
  RemoveDuplicateRecords();
  EXPECT_EQ(bench_.RecordData().size(), 2u);
  ExpectClosed();
}

TEST_F(DuplicateRemovalTest, RemoveOtherCopiesSparesTheGivenPosition) {
  bench_.AddRecord("a.qzl,1*");
  bench_.AddRecord("b.qzl,1*");
  bench_.AddRecord("a.qzl,2*");
  bench_.AddRecord("a.qzl,3*");
  KorvetDatabase database;
  ASSERT_EQ(database.Open(), 0);
  EXPECT_EQ(RemoveOtherCopies("a.qzl", database.Handle(), 3), 0);
  database.Close();
  EXPECT_EQ(bench_.RecordData(), (Data{"b.qzl,1*", "a.qzl,2*"}));
}

}  // namespace
}  // namespace korvet
