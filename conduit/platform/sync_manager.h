// The Sync Manager (sync20.dll) and HotSync log (hslog20.dll) operations on which all handheld work
// rests, with the packed blocks they exchange. The conduit links both libraries; some operations are
// bound by ordinal (see sync20_import.def and hslog20_import.def beside this file).
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/layout.h"

namespace korvet::handheld {

// Status codes with a fixed meaning for the callers.
inline constexpr long kSyncOk = 0;
inline constexpr long kSyncNotFound = 0x4003;  // no such database, no record at that index, none left

// Record attribute bits as the handheld reports and takes them.
inline constexpr std::uint8_t kHandheldDeleted = 0x80;
inline constexpr std::uint8_t kHandheldModified = 0x40;
inline constexpr std::uint8_t kHandheldPrivate = 0x10;
inline constexpr std::uint8_t kHandheldArchived = 0x08;

// Database open modes.
inline constexpr std::uint8_t kOpenRead = 0x80;
inline constexpr std::uint8_t kOpenWrite = 0x40;
inline constexpr std::uint8_t kOpenReadWrite = 0xC0;
// Shows the records marked private; a database opened without it may hide them.
inline constexpr std::uint8_t kOpenShowSecret = 0x10;

// The largest record the handheld holds, and the capacity a whole-record read asks for.
inline constexpr std::uint16_t kMaxRecordSize = 65520;

#pragma pack(push, 1)

struct RecordTransferBlock {
  std::uint8_t handle;
  std::uint32_t recordId;
  std::uint16_t index;
  std::uint8_t attributes;
  std::int16_t category;
  std::uint32_t unused;
  std::uint32_t dataSize;
  std::uint16_t capacity;
  std::uint8_t* data;
  std::uint32_t reserved;
};
KORVET_LAYOUT32(sizeof(RecordTransferBlock) == 28);
KORVET_LAYOUT32(offsetof(RecordTransferBlock, index) == 5);
KORVET_LAYOUT32(offsetof(RecordTransferBlock, category) == 8);
KORVET_LAYOUT32(offsetof(RecordTransferBlock, dataSize) == 14);
KORVET_LAYOUT32(offsetof(RecordTransferBlock, capacity) == 18);
KORVET_LAYOUT32(offsetof(RecordTransferBlock, data) == 20);

struct DatabaseCreationBlock {
  std::uint8_t handle;  // out
  std::uint32_t creator;
  std::uint32_t flags;  // the 16-bit database flags, widened
  std::uint8_t card;
  char name[32];
  std::uint32_t type;
  std::uint16_t version;
  std::uint32_t reserved;
};
static_assert(sizeof(DatabaseCreationBlock) == 52);
static_assert(offsetof(DatabaseCreationBlock, name) == 10);
static_assert(offsetof(DatabaseCreationBlock, type) == 42);
static_assert(offsetof(DatabaseCreationBlock, version) == 46);

// Application and sort information blocks.
struct DatabaseInfoBlock {
  char name[32];
  std::uint16_t capacity;
  std::uint16_t dataSize;  // filled by reads
  std::uint8_t* data;
  std::uint32_t reserved;
};
KORVET_LAYOUT32(sizeof(DatabaseInfoBlock) == 44);
KORVET_LAYOUT32(offsetof(DatabaseInfoBlock, data) == 36);

struct PositionMapBlock {
  std::uint8_t handle;
  std::uint16_t firstPosition;
  std::uint16_t wanted;
  std::uint16_t returned;  // filled
  std::uint16_t capacity;  // entries in the caller's array
  std::uint32_t* ids;      // each returned ID has its four bytes reversed
};
KORVET_LAYOUT32(sizeof(PositionMapBlock) == 13);
KORVET_LAYOUT32(offsetof(PositionMapBlock, ids) == 9);

struct DatabaseQuery {
  std::uint8_t option;  // 0xC0
  std::uint32_t card;
  const char* name;
};
KORVET_LAYOUT32(sizeof(DatabaseQuery) == 9);

// What SyncFindDbByName fills for a database it found; the conduit does not read it.
struct FoundDatabaseBlock {
  char name[32];
  std::uint32_t creator;
  std::uint32_t type;
  std::uint16_t flags;
  std::uint16_t version;
  std::uint16_t recordCount;
  std::uint8_t card;
  std::uint8_t reserved;
};
static_assert(sizeof(FoundDatabaseBlock) == 48);

struct SystemInfoBlock {
  std::uint32_t value0;
  std::uint32_t value1;
  std::uint8_t filled;
  std::uint8_t capacity;  // 255
  char* buffer;
  std::uint32_t reserved;
};
KORVET_LAYOUT32(sizeof(SystemInfoBlock) == 18);
KORVET_LAYOUT32(offsetof(SystemInfoBlock, buffer) == 10);

#pragma pack(pop)

}  // namespace korvet::handheld

extern "C" {
using korvet::handheld::DatabaseCreationBlock;
using korvet::handheld::DatabaseInfoBlock;
using korvet::handheld::DatabaseQuery;
using korvet::handheld::PositionMapBlock;
using korvet::handheld::RecordTransferBlock;
using korvet::handheld::SystemInfoBlock;

// sync20.dll
long OpenSyncSession(std::uint32_t* session);  // ordinal 22
long CloseSyncSession(std::uint32_t session);  // ordinal 23
long SyncReadSystemInfo(SystemInfoBlock* info);
long SyncYieldCycles(std::uint16_t count);
long OpenHandheldDatabase(const char* name, long card, std::uint8_t* handle, std::uint8_t mode);  // 26
long CreateHandheldDatabase(DatabaseCreationBlock* block);                                        // ordinal 27
long CloseHandheldDatabase(std::uint8_t handle);                                                  // ordinal 28
long DeleteHandheldDatabase(const char* name, long card);                                         // ordinal 29
long SyncFindDbByName(DatabaseQuery* query, void* found);
long SyncGetDBRecordCount(std::uint8_t handle, std::uint16_t* count);
long SyncResetRecordIndex(std::uint8_t handle);
long ClearHandheldSyncFlags(std::uint8_t handle);                 // ordinal 31
long PurgeDeletedHandheldRecords(std::uint8_t handle);            // ordinal 40
long ReadHandheldRecordById(RecordTransferBlock* block);          // ordinal 35
long ReadHandheldRecordByIndex(RecordTransferBlock* block);       // ordinal 36
long ReadNextModifiedHandheldRecord(RecordTransferBlock* block);  // ordinal 37
long SyncReadNextRecInCategory(RecordTransferBlock* block);
long WriteHandheldRecord(RecordTransferBlock* block);    // ordinal 32
long WriteHandheldResource(RecordTransferBlock* block);  // ordinal 43
long DeleteHandheldRecord(RecordTransferBlock* block);   // ordinal 33
long SyncDeleteResourceRec(RecordTransferBlock* block);
long SyncChangeCategory(std::uint8_t handle, std::uint8_t from, std::uint8_t to);
long SyncPurgeAllRecsInCategory(std::uint8_t handle, std::uint8_t category);
long ReadHandheldAppInfoBlock(std::uint8_t handle, DatabaseInfoBlock* block);   // ordinal 38
long WriteHandheldAppInfoBlock(std::uint8_t handle, DatabaseInfoBlock* block);  // ordinal 39
long SyncReadDBSortInfoBlock(std::uint8_t handle, DatabaseInfoBlock* block);
long SyncReadPositionXMap(PositionMapBlock* block);

// hslog20.dll
long AppendHotSyncLog(const char* text, long activity, long reserved);  // ordinal 52
std::uint16_t QueryHotSyncLogState();                                   // ordinal 56
}
