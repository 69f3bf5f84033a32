#include "conduit/store/sync_record.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "conduit/base/allocation.h"
#include "conduit/base/text_buffer.h"
#include "conduit/store/status_codes.h"
#include "conduit/store/string_ids.h"

namespace korvet::store {

namespace {

using handheld::RecordTransferBlock;

// A new block of size bytes followed by a NUL, or null when memory runs out.
std::unique_ptr<std::uint8_t[]> NewDataBlock(std::uint32_t size, const void* bytes) {
  if (size == 0xFFFFFFFF) return nullptr;
  std::unique_ptr<std::uint8_t[]> block = base::MakeZeroedBytesOrNull(static_cast<std::size_t>(size) + 1);
  if (block) std::memcpy(block.get(), bytes, size);
  return block;
}

// The two record templates turn a value of at most ten digits into text.
constexpr long kDescribeRoom = 10;

}  // namespace

SyncRecord::SyncRecord() = default;

SyncRecord::SyncRecord(const RecordTransferBlock& block) { FromTransferBlock(block); }

SyncRecord::SyncRecord(const SyncRecord& other) { Assign(other); }

SyncRecord& SyncRecord::operator=(const SyncRecord& other) {
  Assign(other);
  return *this;
}

SyncRecord::~SyncRecord() = default;

SyncRecord& SyncRecord::Clear() {
  id_ = kNoRecordId;
  index_ = kNoIndex;
  category_ = 0;
  attributes_ = 0;
  data_.reset();
  dataSize_ = 0;
  sourceHandle_ = 0;
  private_ = false;
  marks_ = 0;
  handheldIndex_ = kNoIndex;
  return *this;
}

long SyncRecord::Compare(const SyncRecord& other) const {
  if (dataSize_ != other.dataSize_) return 1;
  if (dataSize_ != 0 && std::memcmp(data_.get(), other.data_.get(), dataSize_) != 0) return 2;
  if (category_ != other.category_) return 3;
  if (private_ != other.private_) return 4;
  return 0;
}

long SyncRecord::SetData(std::uint32_t size, const void* bytes) {
  data_.reset();
  dataSize_ = 0;
  if (size == 0) return kOk;
  if (bytes == nullptr) return kMissingArgument;
  data_ = NewDataBlock(size, bytes);
  if (!data_) return kOutOfMemory;
  dataSize_ = size;
  return kOk;
}

void SyncRecord::CopyDataOrThrow(std::uint32_t size, const void* bytes) {
  data_.reset();
  dataSize_ = 0;
  if (size == 0 || bytes == nullptr) return;
  data_ = NewDataBlock(size, bytes);
  if (!data_) throw std::bad_alloc();
  dataSize_ = size;
}

const std::uint8_t* SyncRecord::GetData() const { return data_.get(); }

long SyncRecord::CopyData(void* buffer, long* size) const {
  if (buffer == nullptr || size == nullptr) return kMissingOutput;
  if (dataSize_ != 0) {
    if (*size < 0 || static_cast<std::uint32_t>(*size) < dataSize_) {
      *size = static_cast<long>(dataSize_);
      return kBufferTooSmall;
    }
    std::memcpy(buffer, data_.get(), dataSize_);
    *size = static_cast<long>(dataSize_);
    return kOk;
  }
  // An empty record leaves an empty text, where the buffer has room for its NUL.
  if (*size > 0) static_cast<char*>(buffer)[0] = '\0';
  *size = 0;
  return kOk;
}

std::uint32_t SyncRecord::GetDataSize() const { return dataSize_; }
std::uint32_t SyncRecord::GetAttributes() const { return attributes_; }
void SyncRecord::SetAttributes(std::uint32_t bits) { attributes_ = bits; }
std::uint32_t SyncRecord::GetId() const { return id_; }
long SyncRecord::GetIndex() const { return index_; }
long SyncRecord::GetCategory() const { return category_; }
void SyncRecord::SetId(std::uint32_t id) { id_ = id; }
void SyncRecord::SetIndex(long index) { index_ = index; }
void SyncRecord::SetCategory(long category) { category_ = category; }

bool SyncRecord::IsDeleted() const { return (attributes_ & kRecordDeleted) != 0; }
bool SyncRecord::IsArchived() const { return (attributes_ & kRecordArchived) != 0; }
bool SyncRecord::IsModified() const { return (attributes_ & kRecordModified) != 0; }
bool SyncRecord::IsClean() const { return attributes_ == 0; }
bool SyncRecord::IsNew() const { return (attributes_ & kRecordNew) != 0; }
bool SyncRecord::IsPrivate() const { return private_; }
bool SyncRecord::IsChanged() const { return attributes_ != 0; }
bool SyncRecord::IsUnmatched() const { return (marks_ & kMarkUnmatched) != 0; }

void SyncRecord::SetBit(std::uint32_t bit, bool value) {
  if (value) {
    attributes_ |= bit;
  } else {
    attributes_ &= ~bit;
  }
}

void SyncRecord::SetPrivate(bool value) { private_ = value; }
void SyncRecord::SetNew(bool value) { SetBit(kRecordNew, value); }
void SyncRecord::SetDeleted(bool value) { SetBit(kRecordDeleted, value); }
void SyncRecord::SetArchived(bool value) { SetBit(kRecordArchived, value); }
void SyncRecord::SetModified(bool value) { SetBit(kRecordModified, value); }

void SyncRecord::SetUnmatched(bool value) {
  if (value) {
    marks_ |= kMarkUnmatched;
  } else {
    marks_ &= ~kMarkUnmatched;
  }
}

void SyncRecord::ClearAttributes() { attributes_ = 0; }

void SyncRecord::ResetSyncState() {
  attributes_ = 0;
  marks_ = 0;
}

std::uint32_t SyncRecord::GetAttributeState() const { return attributes_ != 0 ? attributes_ : kAttributeStateClean; }

long SyncRecord::Assign(const SyncRecord& other) {
  if (&other == this) return kOk;
  id_ = other.id_;
  index_ = other.index_;
  category_ = other.category_;
  attributes_ = other.attributes_;
  CopyDataOrThrow(other.dataSize_, other.data_.get());
  sourceHandle_ = other.sourceHandle_;
  private_ = other.private_;
  marks_ = other.marks_;
  handheldIndex_ = other.handheldIndex_;
  return kOk;
}

std::uint32_t SyncRecord::TestMark(std::uint32_t mask) const { return marks_ & mask; }
void SyncRecord::AddMark(std::uint32_t mask) { marks_ |= mask; }
void SyncRecord::ClearMarks() { marks_ = 0; }

long SyncRecord::FromTransferBlock(const RecordTransferBlock& block) {
  id_ = block.recordId;
  index_ = block.index;
  category_ = block.category;
  attributes_ = 0;
  SetDeleted((block.attributes & handheld::kHandheldDeleted) != 0);
  SetModified((block.attributes & handheld::kHandheldModified) != 0);
  SetArchived((block.attributes & handheld::kHandheldArchived) != 0);
  private_ = (block.attributes & handheld::kHandheldPrivate) != 0;
  // The data comes from the block's buffer, never from beyond its capacity.
  const std::uint32_t size = block.dataSize <= block.capacity ? block.dataSize : block.capacity;
  CopyDataOrThrow(size, block.data);
  sourceHandle_ = block.handle;
  marks_ = 0;
  return kOk;
}

std::uint16_t SyncRecord::TransferIndex() const {
  return static_cast<std::uint16_t>(handheldIndex_ != kNoIndex ? handheldIndex_ : index_);
}

long SyncRecord::ToTransferBlock(RecordTransferBlock& block) const {
  block.recordId = id_;
  block.index = TransferIndex();
  block.category = static_cast<std::int16_t>(category_);
  if (block.capacity < dataSize_) return kBufferTooSmall;
  if (dataSize_ != 0) {
    if (block.data == nullptr) return kMissingArgument;
    std::memcpy(block.data, data_.get(), dataSize_);
  }
  block.dataSize = dataSize_;
  block.handle = static_cast<std::uint8_t>(sourceHandle_);
  std::uint8_t attributes = 0;
  if (IsDeleted()) attributes |= handheld::kHandheldDeleted;
  if (IsArchived()) attributes |= handheld::kHandheldArchived;
  if (IsModified()) attributes |= handheld::kHandheldModified;
  if (private_) attributes |= handheld::kHandheldPrivate;
  block.attributes = attributes;
  return kOk;
}

long SyncRecord::ShareIntoTransferBlock(std::uint8_t handle, RecordTransferBlock& block) {
  block.recordId = id_;
  block.index = TransferIndex();
  block.category = static_cast<std::int16_t>(category_);
  block.data = data_.get();
  // The capacity field has 16 bits; a larger record could not be described by the block truthfully.
  block.capacity = static_cast<std::uint16_t>(dataSize_ > 0xFFFF ? 0xFFFF : dataSize_);
  block.dataSize = dataSize_;
  block.handle = handle;
  return kOk;
}

long SyncRecord::Describe(char* buffer, long* size) const {
  if (buffer == nullptr || size == nullptr) return kMissingOutput;
  const bool byId = id_ != kNoRecordId || index_ == kNoIndex;
  base::TextBuffer pattern;
  pattern.LoadFromStringTable(byId ? IDS_RECORD_ID : IDS_RECORD_INDEX);
  const long needed = pattern.Length() + kDescribeRoom;
  if (*size < needed) {
    *size = needed;
    return kBufferTooSmall;
  }
  const unsigned value = byId ? static_cast<unsigned>(id_) : static_cast<unsigned>(index_);
  return std::snprintf(buffer, static_cast<std::size_t>(*size), pattern.Text(), value);
}

void SyncRecord::SetHandheldIndex(long index) { handheldIndex_ = index; }
long SyncRecord::GetHandheldIndex() const { return handheldIndex_; }

SyncRecord& SyncRecord::CopyFrom(const SyncRecord& other) {
  Assign(other);
  return *this;
}

std::uint16_t PackedAttributeWord(const SyncRecord& record) {
  std::uint16_t word = 0;
  if (record.IsModified()) word |= kPackedModified;
  if (record.IsDeleted()) word |= kPackedDeleted;
  if (record.IsArchived()) word |= kPackedArchived;
  if (record.IsNew()) word |= kPackedNew;
  if (record.IsPrivate()) word |= kPackedPrivate;
  return word;
}

void ApplyPackedAttributeWord(SyncRecord& record, std::uint16_t word) {
  record.ClearAttributes();
  record.SetModified((word & kPackedModified) != 0);
  record.SetDeleted((word & kPackedDeleted) != 0);
  record.SetArchived((word & kPackedArchived) != 0);
  record.SetNew((word & kPackedNew) != 0);
  record.SetPrivate((word & kPackedPrivate) != 0);
}

}  // namespace korvet::store
