// SyncRecord: the one record type of the sync framework. A record carries its identity on the handheld
// (record ID and positions), its category, its attribute bits, a private flag, the synchronizer's mark
// word and an owned data block. Both database managers store and hand out records by copy; the
// attribute bits are translated at each boundary (the Sync Manager's transfer block, the attribute word
// of the packed desktop record).
#pragma once

#include <cstdint>
#include <memory>

#include "conduit/platform/sync_manager.h"

namespace korvet::store {

// Attribute bits in memory.
inline constexpr std::uint32_t kRecordDeleted = 0x1;
inline constexpr std::uint32_t kRecordArchived = 0x2;
inline constexpr std::uint32_t kRecordModified = 0x4;
inline constexpr std::uint32_t kRecordNew = 0x8;  // no counterpart on the other side yet
// What GetAttributeState reports for a record without attribute bits.
inline constexpr std::uint32_t kAttributeStateClean = 32;

// Mark word bit that the synchronizer sets on records it has not matched yet.
inline constexpr std::uint32_t kMarkUnmatched = 0x1;

// Record ID and positions meaning "none".
inline constexpr std::uint32_t kNoRecordId = 0xFFFFFFFF;
inline constexpr long kNoIndex = -1;

// Attribute word of a packed desktop record.
inline constexpr std::uint16_t kPackedModified = 0x01;
inline constexpr std::uint16_t kPackedDeleted = 0x02;
inline constexpr std::uint16_t kPackedArchived = 0x04;
inline constexpr std::uint16_t kPackedNew = 0x08;
inline constexpr std::uint16_t kPackedPrivate = 0x10;

class SyncRecord {
 public:
  SyncRecord();
  explicit SyncRecord(const handheld::RecordTransferBlock& block);  // handheld index -1
  SyncRecord(const SyncRecord& other);
  SyncRecord& operator=(const SyncRecord& other);
  virtual ~SyncRecord();

  // Virtual operations in their slot order.
  virtual SyncRecord& Clear();
  // First difference: 1 data sizes, 2 data bytes, 3 categories, 4 private flags; 0 when equal. IDs,
  // positions, attributes and marks are not compared.
  virtual long Compare(const SyncRecord& other) const;
  virtual long SetData(std::uint32_t size, const void* bytes);
  virtual const std::uint8_t* GetData() const;  // null without data; the data is followed by a NUL
  virtual long CopyData(void* buffer, long* size) const;
  virtual std::uint32_t GetDataSize() const;
  virtual std::uint32_t GetAttributes() const;
  virtual void SetAttributes(std::uint32_t bits);
  virtual std::uint32_t GetId() const;
  virtual long GetIndex() const;
  virtual long GetCategory() const;
  virtual void SetId(std::uint32_t id);
  virtual void SetIndex(long index);
  virtual void SetCategory(long category);
  virtual bool IsDeleted() const;
  virtual bool IsArchived() const;
  virtual bool IsModified() const;
  virtual bool IsClean() const;
  virtual bool IsNew() const;
  virtual bool IsPrivate() const;
  virtual bool IsChanged() const;
  virtual bool IsUnmatched() const;
  virtual void SetPrivate(bool value);
  virtual void SetNew(bool value);
  virtual void SetDeleted(bool value);
  virtual void SetArchived(bool value);
  virtual void SetModified(bool value);
  virtual void SetUnmatched(bool value);
  virtual void ClearAttributes();
  virtual void ResetSyncState();  // attributes and mark word 0
  virtual std::uint32_t GetAttributeState() const;
  virtual long Assign(const SyncRecord& other);
  virtual std::uint32_t TestMark(std::uint32_t mask) const;
  virtual void AddMark(std::uint32_t mask);
  virtual void ClearMarks();
  virtual long FromTransferBlock(const handheld::RecordTransferBlock& block);
  virtual long ToTransferBlock(handheld::RecordTransferBlock& block) const;
  // Points the block's buffer at this record's own data; the block must not outlive the record or a
  // change of its data.
  virtual long ShareIntoTransferBlock(std::uint8_t handle, handheld::RecordTransferBlock& block);
  // "Record ID %u" or "Record Index %u" from the conduit's string table; the result is the text's
  // length, or a status (kBufferTooSmall with the size needed in *size).
  virtual long Describe(char* buffer, long* size) const;
  virtual void SetHandheldIndex(long index);
  virtual long GetHandheldIndex() const;

  // Assign, returning the record: how a manager hands a stored record to the caller's.
  SyncRecord& CopyFrom(const SyncRecord& other);

  std::uint32_t GetSourceHandle() const { return sourceHandle_; }
  void SetSourceHandle(std::uint32_t handle) { sourceHandle_ = handle; }

 private:
  void SetBit(std::uint32_t bit, bool value);
  std::uint16_t TransferIndex() const;
  // Copies bytes into a new block. Out of memory throws std::bad_alloc: a copy without its data would
  // pass for an empty record and reach the other side as one.
  void CopyDataOrThrow(std::uint32_t size, const void* bytes);

  std::uint32_t id_ = kNoRecordId;
  long index_ = kNoIndex;
  long category_ = 0;
  std::uint32_t attributes_ = 0;
  std::unique_ptr<std::uint8_t[]> data_;
  std::uint32_t dataSize_ = 0;
  std::uint32_t sourceHandle_ = 0;
  bool private_ = false;
  std::uint32_t marks_ = 0;
  long handheldIndex_ = kNoIndex;
};

// The attribute word of a packed desktop record for a record's attributes and private flag.
std::uint16_t PackedAttributeWord(const SyncRecord& record);
// Sets the record's attributes and private flag from a packed attribute word (other bits ignored).
void ApplyPackedAttributeWord(SyncRecord& record, std::uint16_t word);

}  // namespace korvet::store
