// Operations by record ID keep finding the right record, at its current index, while deletes, purges
// and writes move the records around (the stand-in looks IDs up in an index it keeps lazily).
#include "sim/sync20/sync20_test_fixture.h"

namespace korvet::sim::testing {
namespace {

struct Expected {
  std::uint32_t id;
  std::uint8_t byte;
};

class Sync20RecordIdTest : public Sync20Test {
 protected:
  // Every record the model holds reads back by ID with its data and its current index.
  void ExpectReadsById(std::uint8_t handle, const std::vector<Expected>& model) {
    ASSERT_EQ(Count(handle), model.size());
    for (std::size_t position = 0; position < model.size(); ++position) {
      Read read(handle);
      read.block.recordId = model[position].id;
      ASSERT_EQ(ReadHandheldRecordById(&read.block), 0) << model[position].id;
      EXPECT_EQ(read.block.index, position);
      EXPECT_EQ(read.Data(), Bytes{model[position].byte});
    }
  }

  long Delete(std::uint8_t handle, std::uint32_t id) {
    RecordTransferBlock block{};
    block.handle = handle;
    block.recordId = id;
    return DeleteHandheldRecord(&block);
  }

  long ReadById(std::uint8_t handle, std::uint32_t id) {
    Read read(handle);
    read.block.recordId = id;
    return ReadHandheldRecordById(&read.block);
  }
};

TEST_F(Sync20RecordIdTest, DeletesFromAnyPlaceLeaveEveryOtherIdAtItsNewIndex) {
  const std::uint8_t handle = Create("Db");
  std::vector<Expected> model;
  for (std::uint8_t byte = 'a'; byte <= 'l'; ++byte) model.push_back({Write(handle, 0, 0, 0, {byte}).recordId, byte});
  ExpectReadsById(handle, model);

  // From the front, from the end downwards, from the middle, then an ID already gone.
  for (std::size_t position : {0u, 10u, 9u, 4u, 2u}) {
    const std::uint32_t id = model[position].id;
    ASSERT_EQ(Delete(handle, id), 0);
    model.erase(model.begin() + static_cast<std::ptrdiff_t>(position));
    EXPECT_EQ(ReadById(handle, id), 0x4003);
    EXPECT_EQ(Delete(handle, id), 0x4003);
    ExpectReadsById(handle, model);
  }
}

TEST_F(Sync20RecordIdTest, WritesByIdReplaceInPlaceAfterDeletesAndUnknownIdsAppend) {
  const std::uint8_t handle = Create("Db");
  std::vector<Expected> model;
  for (std::uint8_t byte = 'a'; byte <= 'e'; ++byte) model.push_back({Write(handle, 0, 0, 0, {byte}).recordId, byte});
  ASSERT_EQ(Delete(handle, model[1].id), 0);
  model.erase(model.begin() + 1);

  Write(handle, model[2].id, 0, 0, {'X'});
  EXPECT_EQ(ReadIndex(handle, 2).Data(), Bytes{'X'});
  model[2].byte = 'X';
  Write(handle, 0x00ABCDEF, 0, 0, {'Y'});
  EXPECT_EQ(ReadIndex(handle, 4).block.recordId, 0x00ABCDEFu);
  model.push_back({0x00ABCDEF, 'Y'});
  ExpectReadsById(handle, model);
}

TEST_F(Sync20RecordIdTest, PurgesLeaveOnlyTheKeptRecordsFindable) {
  const std::uint8_t handle = Create("Db");
  std::vector<Expected> kept;
  std::vector<std::uint32_t> gone;
  for (std::uint8_t byte = 'a'; byte <= 'h'; ++byte) {
    const bool deleted = byte % 3 == 0, inCategory = byte % 3 == 1;
    const std::uint32_t id =
        Write(handle, 0, deleted ? handheld::kHandheldDeleted : 0, inCategory ? 4 : 0, {byte}).recordId;
    if (deleted || inCategory)
      gone.push_back(id);
    else
      kept.push_back({id, byte});
  }
  for (std::uint32_t id : gone) EXPECT_EQ(ReadById(handle, id), 0) << id;  // the index knows them all

  ASSERT_EQ(PurgeDeletedHandheldRecords(handle), 0);
  ASSERT_EQ(SyncPurgeAllRecsInCategory(handle, 4), 0);
  for (std::uint32_t id : gone) EXPECT_EQ(ReadById(handle, id), 0x4003) << id;
  ExpectReadsById(handle, kept);
}

}  // namespace
}  // namespace korvet::sim::testing
