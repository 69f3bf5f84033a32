#include "conduit/sync/report_database.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "conduit/platform/sync_manager.h"
#include "conduit/sync/record_layout.h"
#include "conduit/sync/unused_calls.h"

namespace korvet {

using handheld::kMaxRecordSize;
using handheld::RecordTransferBlock;

long CountRecords(std::uint8_t handle, std::uint16_t& count) {
  count = 0;
  // Reads by index do not move the record index, so its reset changes nothing for them.
  if (sync::MakesUnusedCalls()) {
    if (long error = SyncResetRecordIndex(handle)) return error;
  }
  return SyncGetDBRecordCount(handle, &count);
}

bool HandheldRecord::IsDeleted() const {
  return (attributes & handheld::kHandheldDeleted) && !(attributes & handheld::kHandheldArchived);
}

bool HandheldRecord::IsArchived() const { return (attributes & handheld::kHandheldArchived) != 0; }

bool IsReport(const HandheldRecord& record) { return !record.IsDeleted() && TraverseReport::IsReport(record.data); }

long HandheldRecordReader::Read(std::uint8_t handle, std::uint16_t index, HandheldRecord& record) {
  record.attributes = 0;
  record.data.clear();
  if (!buffer_.Attach(block_, handle)) throw std::bad_alloc();
  block_.index = index;
  if (long error = ReadHandheldRecordByIndex(&block_)) return error;
  record.id = block_.recordId;
  record.attributes = block_.attributes;
  // A record is read whole, up to the handheld's record size limit.
  const std::uint32_t size = block_.dataSize;
  record.data.assign(block_.data, block_.data + std::min<std::uint32_t>(size, kMaxRecordSize));
  return 0;
}

long DeleteRecordById(std::uint8_t handle, std::uint32_t id) {
  RecordTransferBlock block;
  std::memset(&block, 0, sizeof block);
  block.handle = handle;
  block.recordId = id;
  return DeleteHandheldRecord(&block);
}

long KorvetDatabase::Open() { return Open(kKorvetDatabase, 0); }

long KorvetDatabase::Open(const char* name, long card) {
  Close();
  return OpenOwnedHandheldDatabase(name, card, handheld::kOpenReadWrite | handheld::kOpenShowSecret, handle_);
}

long KorvetDatabase::ReopenAfterEarlierPass() {
  Close();
  DatabaseQuery query;
  std::memset(&query, 0, sizeof query);
  query.option = handheld::kOpenReadWrite;
  query.card = 0;
  query.name = kKorvetDatabase;
  handheld::FoundDatabaseBlock found;
  std::memset(&found, 0, sizeof found);
  if (long error = SyncFindDbByName(&query, &found)) return error;
  for (int value = 0; value <= 254; ++value) {
    if (CloseHandheldDatabase(static_cast<std::uint8_t>(value)) == 0) break;
  }
  return Open();
}

void KorvetDatabase::Close() { handle_.Reset(); }

}  // namespace korvet
