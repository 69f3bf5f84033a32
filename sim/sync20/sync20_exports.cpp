// The exported Sync Manager operations: each counts its call, honours an injected failure, and hands
// the call to the emulated handheld.
#include "conduit/platform/sync_manager.h"
#include "sim/sync20/library_state.h"

using korvet::sim::Handheld;
using korvet::sim::Monitor;

// Times the operation, and returns from it with the injected code when this call is to fail.
#define KORVET_SYNC_CALL(operation)                                 \
  const korvet::sim::CallTimer timer(Monitor());                    \
  do {                                                              \
    long injected = 0;                                              \
    if (Monitor().Intercept(operation, &injected)) return injected; \
  } while (false)

namespace {
// A record's bytes cross the link with every successful read or write; so do an information block's,
// and the four bytes of each record ID in a position map.
long Moved(long status, const RecordTransferBlock* block) {
  if (status == 0 && block != nullptr) Monitor().AddBytes(block->dataSize);
  return status;
}
long Moved(long status, const DatabaseInfoBlock* block) {
  if (status == 0 && block != nullptr) Monitor().AddBytes(block->dataSize);
  return status;
}
long Moved(long status, const PositionMapBlock* block) {
  if (status == 0 && block != nullptr) Monitor().AddBytes(4L * block->returned);
  return status;
}
}  // namespace

long OpenSyncSession(std::uint32_t* session) {
  KORVET_SYNC_CALL("OpenSyncSession");
  return Handheld().OpenSession(session);
}

long CloseSyncSession(std::uint32_t session) {
  KORVET_SYNC_CALL("CloseSyncSession");
  return Handheld().CloseSession(session);
}

long SyncReadSystemInfo(SystemInfoBlock* info) {
  KORVET_SYNC_CALL("SyncReadSystemInfo");
  return Handheld().ReadSystemInfo(info);
}

long SyncYieldCycles(std::uint16_t) {
  KORVET_SYNC_CALL("SyncYieldCycles");
  return 0;
}

long OpenHandheldDatabase(const char* name, long card, std::uint8_t* handle, std::uint8_t mode) {
  KORVET_SYNC_CALL("OpenHandheldDatabase");
  return Handheld().OpenDatabase(name, card, handle, mode);
}

long CreateHandheldDatabase(DatabaseCreationBlock* block) {
  KORVET_SYNC_CALL("CreateHandheldDatabase");
  return Handheld().CreateDatabase(block);
}

long CloseHandheldDatabase(std::uint8_t handle) {
  KORVET_SYNC_CALL("CloseHandheldDatabase");
  return Handheld().CloseDatabase(handle);
}

long DeleteHandheldDatabase(const char* name, long card) {
  KORVET_SYNC_CALL("DeleteHandheldDatabase");
  return Handheld().DeleteDatabase(name, card);
}

long SyncFindDbByName(DatabaseQuery* query, void* found) {
  KORVET_SYNC_CALL("SyncFindDbByName");
  return Handheld().FindDatabase(query, found);
}

long SyncGetDBRecordCount(std::uint8_t handle, std::uint16_t* count) {
  KORVET_SYNC_CALL("SyncGetDBRecordCount");
  return Handheld().RecordCount(handle, count);
}

long SyncResetRecordIndex(std::uint8_t handle) {
  KORVET_SYNC_CALL("SyncResetRecordIndex");
  return Handheld().ResetRecordIndex(handle);
}

long ClearHandheldSyncFlags(std::uint8_t handle) {
  KORVET_SYNC_CALL("ClearHandheldSyncFlags");
  return Handheld().ClearSyncFlags(handle);
}

long PurgeDeletedHandheldRecords(std::uint8_t handle) {
  KORVET_SYNC_CALL("PurgeDeletedHandheldRecords");
  return Handheld().PurgeDeleted(handle);
}

long ReadHandheldRecordById(RecordTransferBlock* block) {
  KORVET_SYNC_CALL("ReadHandheldRecordById");
  return Moved(Handheld().ReadById(block), block);
}

long ReadHandheldRecordByIndex(RecordTransferBlock* block) {
  KORVET_SYNC_CALL("ReadHandheldRecordByIndex");
  return Moved(Handheld().ReadByIndex(block), block);
}

long ReadNextModifiedHandheldRecord(RecordTransferBlock* block) {
  KORVET_SYNC_CALL("ReadNextModifiedHandheldRecord");
  return Moved(Handheld().ReadNextModified(block), block);
}

long SyncReadNextRecInCategory(RecordTransferBlock* block) {
  KORVET_SYNC_CALL("SyncReadNextRecInCategory");
  return Moved(Handheld().ReadNextInCategory(block), block);
}

long WriteHandheldRecord(RecordTransferBlock* block) {
  KORVET_SYNC_CALL("WriteHandheldRecord");
  return Moved(Handheld().WriteRecord(block), block);
}

long WriteHandheldResource(RecordTransferBlock* block) {
  KORVET_SYNC_CALL("WriteHandheldResource");
  return Moved(Handheld().WriteResource(block), block);
}

long DeleteHandheldRecord(RecordTransferBlock* block) {
  KORVET_SYNC_CALL("DeleteHandheldRecord");
  return Handheld().DeleteRecord(block);
}

long SyncDeleteResourceRec(RecordTransferBlock* block) {
  KORVET_SYNC_CALL("SyncDeleteResourceRec");
  return Handheld().DeleteResource(block);
}

long SyncChangeCategory(std::uint8_t handle, std::uint8_t from, std::uint8_t to) {
  KORVET_SYNC_CALL("SyncChangeCategory");
  return Handheld().ChangeCategory(handle, from, to);
}

long SyncPurgeAllRecsInCategory(std::uint8_t handle, std::uint8_t category) {
  KORVET_SYNC_CALL("SyncPurgeAllRecsInCategory");
  return Handheld().PurgeCategory(handle, category);
}

long ReadHandheldAppInfoBlock(std::uint8_t handle, DatabaseInfoBlock* block) {
  KORVET_SYNC_CALL("ReadHandheldAppInfoBlock");
  return Moved(Handheld().ReadAppInfo(handle, block), block);
}

long WriteHandheldAppInfoBlock(std::uint8_t handle, DatabaseInfoBlock* block) {
  KORVET_SYNC_CALL("WriteHandheldAppInfoBlock");
  return Moved(Handheld().WriteAppInfo(handle, block), block);
}

long SyncReadDBSortInfoBlock(std::uint8_t handle, DatabaseInfoBlock* block) {
  KORVET_SYNC_CALL("SyncReadDBSortInfoBlock");
  return Moved(Handheld().ReadSortInfo(handle, block), block);
}

long SyncReadPositionXMap(PositionMapBlock* block) {
  KORVET_SYNC_CALL("SyncReadPositionXMap");
  return Moved(Handheld().ReadPositionMap(block), block);
}
