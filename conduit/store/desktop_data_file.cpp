// The generic desktop data file operations of DesktopDatabaseManager: whole-file load and save, record
// packing, and the serialization primitives (integers, length-prefixed strings, line breaks).
#include "conduit/store/desktop_data_file.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

#include "conduit/base/allocation.h"
#include "conduit/platform/sync_manager.h"
#include "conduit/platform/sync_type_table.h"
#include "conduit/store/desktop_database_manager.h"
#include "conduit/store/status_codes.h"

namespace korvet::store {
namespace {

// A length-prefixed string's length goes in one byte below this value, else this marker and 16 bits.
constexpr std::uint8_t kLongStringMarker = 255;

// The tag of a tagged string; the tagged numbers are named after the tag they write.
constexpr std::uint32_t kStringTag = 5;

PackedRecordHead HeadOf(std::span<const std::uint8_t> packed) {
  PackedRecordHead head;
  std::memcpy(&head, packed.data(), sizeof head);
  return head;
}

// The working buffer for one packed record; false when it cannot be had.
bool AllocatePackedBuffer(std::vector<std::uint8_t>& buffer) { return base::AssignZeroed(buffer, kPackedRecordLimit); }

}  // namespace

// Reading bytes.

std::uint64_t DesktopDatabaseManager::BytesLeft() const {
  const auto size = file_.Size();
  const auto position = file_.Position();
  return size && position && *size > *position ? *size - *position : 0;
}

long DesktopDatabaseManager::ReadBytesExpecting(void* buffer, std::uint32_t* size) {
  if (!size) return kMissingArgument;
  if (!file_) return kNoFileOpen;
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  std::uint32_t got = 0;
  while (got < *size) {
    const auto read = file_.Read(bytes + got, *size - got);
    if (!read) return kReadFailed;
    if (*read == 0) break;
    got += static_cast<std::uint32_t>(*read);
  }
  if (got == *size) return kOk;
  *size = got;
  return got == 0 ? kEndOfFile : kShortRead;
}

long DesktopDatabaseManager::ReadBytes(void* buffer, std::uint32_t size) { return ReadBytesExpecting(buffer, &size); }

std::unique_ptr<DesktopInfoBlock> DesktopDatabaseManager::ReadInfoBlock(std::uint32_t size) {
  // A size the file cannot hold is refused before anything is allocated for it.
  if (size > BytesLeft()) return nullptr;
  std::vector<std::uint8_t> bytes;
  if (!base::AssignZeroed(bytes, size)) return nullptr;
  if (ReadBytes(bytes.data(), size) != kOk) return nullptr;
  return DesktopInfoBlock::FromBytes(std::move(bytes));
}

// Whole-file load and save.

long DesktopDatabaseManager::LoadFile() {
  dirty_ = false;
  if (path_.empty()) return kNoFilePath;
  if (!file_) return kNoFileOpen;
  long status = NewHeader();
  if (status != kOk) {
    CloseFile(0);
    return status;
  }
  status = ReadBytes(header_.get(), kDesktopHeaderSize);
  if (status != kOk) {
    CloseFile(0);
    // A file with nothing to read is an empty database.
    return status == kEndOfFile ? kOk : kHeaderUnreadable;
  }
  if (header_->appInfoSize > 0) {
    appInfo_ = ReadInfoBlock(header_->appInfoSize);
    if (!appInfo_) {
      CloseFile(0);
      return kAppInfoUnreadable;
    }
  }
  if (header_->sortInfoSize > 0) {
    sortInfo_ = ReadInfoBlock(header_->sortInfoSize);
    if (!sortInfo_) {
      CloseFile(0);
      return kSortInfoUnreadable;
    }
  }
  status = ReadPackedRecords(header_->recordCount, 0);
  CloseFile(0);
  dirty_ = false;
  return status;
}

long DesktopDatabaseManager::SaveFile() {
  if (!dirty_ && (!categories_ || !categories_->IsChanged())) return kOk;
  if (OpenForSync() != kOk) return kSaveFailed;
  if (!header_) {
    CloseFile(0);
    return kOk;
  }
  header_->recordCount = static_cast<std::uint32_t>(recordCount_);
  header_->appInfoSize = appInfo_ ? appInfo_->TotalSize() : 0;
  header_->sortInfoSize = sortInfo_ ? sortInfo_->TotalSize() : 0;
  const bool written = WriteBytes(header_.get(), kDesktopHeaderSize) == kOk &&
                       (!appInfo_ || WriteBytes(appInfo_->Bytes().data(), appInfo_->TotalSize()) == kOk) &&
                       (!sortInfo_ || WriteBytes(sortInfo_->Bytes().data(), sortInfo_->TotalSize()) == kOk);
  if (!written) {
    CloseFile(0);
    return kSaveFailed;
  }
  const long records = WritePackedRecords(true);
  if (records != kOk) {
    CloseFile(0);
    return records == kOutOfMemory ? kOutOfMemory : kSaveFailed;
  }
  CloseFile(0);
  dirty_ = false;
  return kOk;
}

long DesktopDatabaseManager::ReadPackedRecords(std::uint32_t count, std::uint32_t yieldEvery) {
  std::vector<std::uint8_t> buffer;
  if (!AllocatePackedBuffer(buffer)) return kOutOfMemory;
  // Records stop at the first one that cannot be read; those before it stay loaded. A head whose
  // length does not fit the working buffer cannot be a record.
  for (std::uint32_t read = 0; read < count; ++read) {
    if (yieldEvery != 0 && read % yieldEvery == 0) SyncYieldCycles(static_cast<std::uint16_t>(yieldEvery));
    PackedRecordHead head;
    if (ReadBytes(&head, kPackedHeadSize) != kOk || head.totalLength < kPackedHeadSize ||
        head.totalLength > kPackedRecordLimit) {
      return kRecordHeadUnreadable;
    }
    std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
    std::uint32_t dataLength = head.totalLength - kPackedHeadSize;
    head.dataLength = dataLength;
    std::memcpy(buffer.data(), &head, sizeof head);
    if (long status = ReadBytesExpecting(buffer.data() + kPackedHeadSize, &dataLength)) return status;
    if (long status = AddPackedRecord(std::span<const std::uint8_t>(buffer.data(), head.totalLength))) return status;
  }
  return kOk;
}

long DesktopDatabaseManager::WritePackedRecords(bool omitAttributes) {
  std::vector<std::uint8_t> buffer;
  if (!AllocatePackedBuffer(buffer)) return kOutOfMemory;
  for (long slot = 0; slot < HighWaterMark(); ++slot) {
    const SyncRecord* record = RecordAt(slot);
    if (!record) continue;
    std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
    const std::uint32_t room = kPackedRecordLimit;
    std::memcpy(buffer.data(), &room, sizeof room);
    // A record too large for the working buffer cannot be saved: the save stops there and fails, so
    // the manager stays dirty.
    if (long status = PackRecord(*record, buffer, omitAttributes)) return status;
    const PackedRecordHead head = HeadOf(buffer);
    if (long status = WriteBytes(buffer.data(), kPackedHeadSize + head.dataLength)) return status;
  }
  return kOk;
}

long DesktopDatabaseManager::WriteBytes(const void*, std::uint32_t) { return kOk; }

// Packing.

long DesktopDatabaseManager::PackRecord(const SyncRecord& record, std::span<std::uint8_t> packed, bool omitAttributes) {
  if (packed.size() < kPackedHeadSize) return kBufferTooSmall;
  PackedRecordHead head = HeadOf(packed);
  const std::uint64_t room = std::min<std::uint64_t>(head.totalLength, packed.size());
  const std::uint64_t capacity = room > kPackedHeadSize ? room - kPackedHeadSize : 0;
  const std::uint32_t dataLength = record.GetDataSize();
  if (dataLength > capacity) {
    head.totalLength = kPackedHeadSize + dataLength;
    std::memcpy(packed.data(), &head, sizeof head);
    return kBufferTooSmall;
  }
  head = PackedRecordHead{};
  head.totalLength = kPackedHeadSize + dataLength;
  head.tag = kDesktopTag;
  head.headSize = kPackedHeadSize;
  head.recordId = record.GetId();
  head.attributes = omitAttributes ? 0 : PackedAttributeWord(record);
  head.category = static_cast<std::uint32_t>(record.GetCategory());
  head.dataLength = dataLength;
  std::memcpy(packed.data(), &head, sizeof head);
  if (dataLength > 0) std::copy_n(record.GetData(), dataLength, packed.data() + kPackedHeadSize);
  return kOk;
}

// A category outside 0 to 15 in a damaged file is taken as Unfiled, so no later step indexes
// with it.
long DesktopDatabaseManager::UnpackRecord(std::span<const std::uint8_t> packed, SyncRecord& record) {
  if (packed.size() < kPackedHeadSize) return kRecordHeadUnreadable;
  const PackedRecordHead head = HeadOf(packed);
  if (head.dataLength > packed.size() - kPackedHeadSize) return kRecordHeadUnreadable;
  const long status = record.SetData(head.dataLength, head.dataLength > 0 ? packed.data() + kPackedHeadSize : nullptr);
  if (status != kOk) return status;
  record.SetId(head.recordId);
  record.SetCategory(head.category < static_cast<std::uint32_t>(kCategoryCount) ? static_cast<long>(head.category) : 0);
  record.SetIndex(kNoIndex);
  record.ResetSyncState();
  ApplyPackedAttributeWord(record, head.attributes);
  return kOk;
}

long DesktopDatabaseManager::AddPackedRecord(std::span<const std::uint8_t> packed) {
  SyncRecord record;
  if (long status = UnpackRecord(packed, record)) return status;
  if (PassOf(syncType_) == SyncPass::kSlow) record.SetUnmatched(true);
  return AddRecordAsIs(record);
}

// Integers, all little-endian.

long DesktopDatabaseManager::WriteU32(std::uint32_t value) {
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  return WriteBytes(bytes, sizeof bytes);
}

long DesktopDatabaseManager::WriteU16(std::uint16_t value) {
  const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
  return WriteBytes(bytes, sizeof bytes);
}

long DesktopDatabaseManager::WriteU8(std::uint8_t value) { return WriteBytes(&value, 1); }
long DesktopDatabaseManager::WriteU32Again(std::uint32_t value) { return WriteU32(value); }
long DesktopDatabaseManager::WriteU32Third(std::uint32_t value) { return WriteU32(value); }

long DesktopDatabaseManager::ReadU8(std::uint8_t* value) {
  if (!value) return kMissingOutput;
  return ReadBytes(value, 1);
}

long DesktopDatabaseManager::ReadU16(std::uint16_t* value) {
  if (!value) return kMissingOutput;
  std::uint8_t bytes[2];
  const long status = ReadBytes(bytes, sizeof bytes);
  if (status == kOk) *value = static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
  return status;
}

long DesktopDatabaseManager::ReadU32(std::uint32_t* value) {
  if (!value) return kMissingOutput;
  std::uint8_t bytes[4];
  const long status = ReadBytes(bytes, sizeof bytes);
  if (status == kOk) {
    *value = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
             static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  }
  return status;
}

long DesktopDatabaseManager::ReadU32Again(std::uint32_t* value) { return ReadU32(value); }
long DesktopDatabaseManager::ReadU32Third(std::uint32_t* value) { return ReadU32(value); }

std::uint32_t DesktopDatabaseManager::SwapU32(std::uint32_t* value) {
  if (!value) return 0;
  const std::uint32_t v = *value;
  *value = (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
  return *value;
}

std::uint16_t DesktopDatabaseManager::SwapU16(std::uint16_t* value) {
  if (!value) return 0;
  *value = static_cast<std::uint16_t>((*value >> 8) | (*value << 8));
  return *value;
}

// Tagged values: a 32-bit tag, then the value.

long DesktopDatabaseManager::WriteTaggedString(const char* text, std::uint32_t value) {
  if (long status = WriteTaggedValue(kStringTag, value)) return status;
  return WriteString(text);
}

long DesktopDatabaseManager::WriteTagged6(std::uint32_t value) { return WriteTaggedValue(6, value); }
long DesktopDatabaseManager::WriteTagged1(std::uint32_t value) { return WriteTaggedValue(1, value); }
long DesktopDatabaseManager::WriteTagged3(std::uint32_t value) { return WriteTaggedValue(3, value); }

long DesktopDatabaseManager::WriteTaggedValue(std::uint32_t tag, std::uint32_t value) {
  if (long status = WriteU32(tag)) return status;
  return WriteU32(value);
}

// Length-prefixed strings.

long DesktopDatabaseManager::WriteString(const char* text) {
  const std::size_t length = text ? std::strlen(text) : 0;
  // The 16-bit length cannot say more.
  if (length > UINT16_MAX) return kValueTooLarge;
  long status = kOk;
  if (length < kLongStringMarker) {
    status = WriteU8(static_cast<std::uint8_t>(length));
  } else {
    status = WriteU8(kLongStringMarker);
    if (status == kOk) status = WriteU16(static_cast<std::uint16_t>(length));
  }
  if (status == kOk && length > 0) status = WriteBytes(text, static_cast<std::uint32_t>(length));
  return status;
}

namespace {

// Reads a string's length as WriteString writes it.
template <typename Manager>
long ReadStringLength(Manager& manager, std::uint32_t& length) {
  std::uint8_t shortLength = 0;
  long status = manager.ReadU8(&shortLength);
  if (status != kOk) return status;
  length = shortLength;
  if (shortLength == kLongStringMarker) {
    std::uint16_t longLength = 0;
    status = manager.ReadU16(&longLength);
    length = longLength;
  }
  return status;
}

}  // namespace

long DesktopDatabaseManager::ReadString(char* buffer, long* size) {
  if (!size) return kMissingArgument;
  std::uint32_t length = 0;
  long status = ReadStringLength(*this, length);
  if (status != kOk) return status;
  if (!buffer || *size < 0 || static_cast<std::uint32_t>(*size) < length + 1) {
    *size = static_cast<long>(length);
    return kBufferTooSmall;
  }
  if (length > 0) status = ReadBytes(buffer, length);
  if (status != kOk) return status;
  buffer[length] = '\0';
  *size = static_cast<long>(length);
  return kOk;
}

long DesktopDatabaseManager::ReadStringInto(base::TextBuffer& text) {
  text.AssignText("");
  std::uint32_t length = 0;
  long status = ReadStringLength(*this, length);
  if (status != kOk || length == 0) return status;
  std::vector<char> bytes(length + 1, '\0');
  status = ReadBytes(bytes.data(), length);
  if (status != kOk) return status;
  return text.AssignText(bytes.data());
}

// Line breaks.

long DesktopDatabaseManager::ExpandLineBreaksLimited(const char* source, char* target, long count, long limit) {
  if (!target || limit <= 0) return 0;
  const long room = limit - 1;
  long written = 0;
  if (source && count > 0) {
    const std::size_t scanned = strnlen(source, static_cast<std::size_t>(count));
    if (std::memchr(source, '\n', scanned)) {
      for (long i = 0; i < count && source[i] != '\0'; ++i) {
        // A line break is never split from its carriage return.
        const long needed = source[i] == '\n' ? 2 : 1;
        if (written + needed > room) break;
        if (source[i] == '\n') target[written++] = '\r';
        target[written++] = source[i];
      }
    } else {
      written = std::min(count, room);
      std::memcpy(target, source, static_cast<std::size_t>(written));
    }
  }
  target[written] = '\0';
  return written;
}

long DesktopDatabaseManager::ExpandLineBreaks(const char* source, char* target, long count) {
  if (!target) return kMissingArgument;
  if (count > (LONG_MAX - 1) / 2) return kValueTooLarge;
  ExpandLineBreaksLimited(source, target, count, 2 * std::max(count, 0L) + 1);
  return kOk;
}

long DesktopDatabaseManager::CollapseLineBreaks(char* target, const char* source, long count) {
  if (!target) return 0;
  if (!source || count <= 0) {
    target[0] = '\0';
    return 1;
  }
  const std::size_t scanned = strnlen(source, static_cast<std::size_t>(count));
  if (!std::memchr(source, '\r', scanned)) {
    std::memcpy(target, source, static_cast<std::size_t>(count));
    target[count] = '\0';
    return count + 1;
  }
  long out = 0;
  for (long i = 0; i < count && source[i] != '\0'; ++i) {
    // A carriage return is dropped and the character after it kept, whatever it is.
    if (source[i] == '\r' && (++i >= count || source[i] == '\0')) break;
    target[out++] = source[i];
  }
  target[out] = '\0';
  return out + 1;
}

}  // namespace korvet::store
