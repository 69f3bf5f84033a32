// HandheldDatabaseManager: the handheld side of the database interface. Every access goes through the
// Sync Manager: opening by kind (or deleting and creating afresh), loading the record table, reading,
// writing and deleting records, categories, the application information block and the record IDs in
// handheld order. Failures of reads, create, clear-flags, close and purge are also written to the
// HotSync log through the session's logger.
//
// Buffers: one 65520-byte transfer buffer, allocated on the first record operation and reused until
// destruction; information blocks get 65520-byte buffers from the manager when they have none. A
// buffer the manager puts into a caller's block stays the manager's: it is freed by SetAppInfo or a
// failed read of that block, or with the manager. A caller's own buffer is never freed here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "conduit/handheld/transfer_buffer.h"
#include "conduit/platform/sync_manager.h"
#include "conduit/platform/sync_type_table.h"
#include "conduit/store/database_manager.h"
#include "conduit/store/status_codes.h"

namespace korvet::store {
class SyncLogger;
}

namespace korvet::handheld {

// Open kinds.
inline constexpr long kOpenKindRead = 0;
inline constexpr long kOpenKindWrite = 1;
inline constexpr long kOpenKindReadWrite = 2;
inline constexpr long kOpenKindRecreate = 3;  // delete the database and create it afresh

// Record and information buffers hold 65520 bytes (0xFFF0), not 65536.
inline constexpr std::uint16_t kTransferBufferSize = 0xFFF0;
inline constexpr std::uint16_t kInfoBufferSize = 0xFFF0;

// Database flags bit 0: a resource database.
inline constexpr std::uint16_t kResourceDatabaseFlag = 0x1;

class HandheldDatabaseManager : public store::DatabaseManager {
 public:
  // A name of 32 characters or more leaves the manager without a name. The logger is not owned and
  // must outlive the manager (the destructor may log a failed close).
  HandheldDatabaseManager(store::SyncLogger* logger, std::uint32_t options, const char* name, std::uint32_t creator,
                          std::uint32_t type, std::uint16_t flags, std::uint16_t version, long card, long syncType);
  // Closes a database still open without clearing its status flags.
  ~HandheldDatabaseManager() override;

  // DatabaseManager operations that the handheld side gives a behaviour of its own.
  long Open(long kind) override;
  long OpenForSync() override;
  long Close(long skipClearFlags) override;
  // Works on a database that its owner opened and closes: Close then clears the status flags (unless
  // asked not to) but leaves the database open for the owner.
  void UseOpenHandle(std::uint8_t handle);
  long GetRecordCount(long* count) override;
  // Reads from the handheld, not the table. Not found: the library's kSyncNotFound, the record reset
  // and carrying the requested ID.
  long ReadRecordById(std::uint32_t id, store::SyncRecord& record, bool logFailure) override;
  long PurgeCategory(long category, bool moveToUnfiled) override;
  long ChangeCategory(long from, long to) override;
  long AddRecordAsIs(store::SyncRecord& record) override;
  // Writes the record; on success it takes the index and ID that the handheld assigned.
  long ModifyRecordById(store::SyncRecord& record) override;
  long DeleteRecord(store::SyncRecord& record) override;
  // -1: kRecordNotFound; a slot outside the record table: kIndexOutOfRange (kNoRecordTable without a
  // table); nothing is written then.
  long ModifyRecordAt(long index, store::SyncRecord& record) override;
  long PurgeDeletedRecords() override;
  long SortRecords(long kind) override;
  long LoadContents() override;
  long FinishSync() override;
  long LoadCategories() override;
  long SaveCategories() override;
  long GetAppInfo(handheld::DatabaseInfoBlock* block) override;
  long SetAppInfo(handheld::DatabaseInfoBlock* block) override;
  bool HasAppSpecificInfo() const override;
  long SetAppSpecificInfo(std::uint32_t size, const void* data) override;
  long GetAppSpecificInfo(void* buffer, std::uint32_t* size) const override;
  const std::uint8_t* AppSpecificInfoData() const override;
  std::uint32_t AppSpecificInfoSize() const override;
  // IDs in handheld order, in the desktop's byte order; *capacity is not changed to the number read.
  long ListRecordIds(std::uint32_t* ids, long* capacity) override;
  long ReorderByIds(const std::uint32_t* ids, long count) override;
  long BuildCategoryList() override;
  long StoreCategoryList() override;
  long NextAny(store::SyncRecord& record) override;
  long NextChanged(store::SyncRecord& record) override;
  long NextInCategory(store::SyncRecord& record) override;
  long NextChangedInCategory(store::SyncRecord& record) override;

  // Operations that the handheld manager adds, in their slot order.
  virtual long GetDatabaseName(char* buffer, long* capacity) const;
  virtual std::uint32_t GetCreator() const;
  virtual std::uint32_t GetDatabaseType() const;
  virtual std::uint16_t GetDatabaseFlags() const;
  virtual std::uint16_t GetDatabaseVersion() const;
  virtual long SetDatabaseName(const char* name);
  virtual long SetCreator(std::uint32_t creator);
  virtual long SetDatabaseType(std::uint32_t type);
  virtual long SetDatabaseFlags(std::uint16_t flags);  // the record-database flag stays as it was
  virtual long SetDatabaseVersion(std::uint16_t version);
  virtual long LoadModifiedRecords();
  virtual long LoadAllRecords();
  virtual long PrepareTransferBlock();
  virtual void ReleaseTransferBuffer();
  // Zeroes the bytes of the transfer buffer that the last read or write filled (see TransferBuffer).
  void ClearUsedTransferData() { transferBuffer_.ClearUsed(transfer_); }
  virtual long ReadInfoBlock(handheld::DatabaseInfoBlock* block, bool sortInfo);
  virtual long ReadRecordByIdLogged(std::uint32_t id, store::SyncRecord& record);
  // Stores a copy at the record's index: kIndexOutOfRange for an index outside the table (a missing
  // table holds no index).
  virtual long PutRecordAt(const store::SyncRecord& record);
  virtual long PrepareInfoBuffer(handheld::DatabaseInfoBlock* block, bool zero);
  virtual void SwapRecordIds(handheld::PositionMapBlock* map);
  virtual std::uint32_t SwapBytes32(std::uint32_t value);

  bool IsOpen() const { return handle_ != 0; }
  std::uint8_t Handle() const { return handle_; }
  bool IsRecordDatabase() const { return recordDatabase_; }
  bool IsAppInfoModified() const { return appInfoModified_; }

 private:
  // The database's properties change only while it is closed.
  template <typename Value>
  long SetWhileClosed(Value& property, Value value) {
    if (IsOpen()) return store::kDatabaseIsOpen;
    property = value;
    return store::kOk;
  }
  long OpenWithMode(std::uint8_t mode);
  // How the sync type loads the table: only a load of the changed records leaves slots for the
  // iterations to read from the handheld.
  HandheldLoading Loading() const;
  long Recreate();
  // Puts a record into a slot of the table: kNoRecordTable without a table, kIndexOutOfRange outside it.
  long StoreAt(long slot, std::unique_ptr<store::SyncRecord> record);
  // Logs a read failure of the handheld record at an index (the record is reset to carry it).
  void LogIndexFailure(long error, store::SyncRecord& record, long index);
  // The record count, a record table for twice as many and the transfer block, before a load.
  long PrepareLoad(long& count);
  long StoreLoaded(long slot);
  // Writes the transfer block as a record or a resource, as the database is.
  long WriteRecord();
  std::size_t NameLength() const;
  bool HasInfoData(const handheld::DatabaseInfoBlock& block) const;
  std::uint32_t AppSpecificStart() const;
  // Frees a buffer the manager lent to a block and clears the block's pointer and capacity; a
  // caller's own buffer is left alone. True when the buffer was the manager's.
  bool ReleaseInfoBuffer(handheld::DatabaseInfoBlock& block);

  store::SyncLogger* logger_;
  std::uint8_t handle_ = 0;
  bool handleLent_ = false;  // the handle is its owner's, who closes it
  handheld::RecordTransferBlock transfer_{};
  TransferBuffer transferBuffer_;
  std::array<char, 32> name_{};  // zero-terminated, at most 31 characters
  std::uint32_t creator_;
  std::uint32_t type_;
  std::uint16_t flags_;
  std::uint16_t version_;
  long card_;
  bool recordDatabase_;
  handheld::DatabaseInfoBlock appInfo_{};
  handheld::DatabaseInfoBlock sortInfo_{};
  bool appInfoModified_ = false;
  std::vector<std::unique_ptr<std::uint8_t[]>> infoBuffers_;  // every buffer lent to a block
};

}  // namespace korvet::handheld
