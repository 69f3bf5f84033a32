// Byte layouts of the generic desktop data file: an 84-byte header, the application-information and
// sort-information blocks, then the records, each a 40-byte head followed by its data. All integers
// are little-endian, as they are in memory on every Windows target, so the packed structures below
// are read and written as they stand.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace korvet::store {

static_assert(std::endian::native == std::endian::little, "the desktop file layouts are little-endian");

// Tag of information blocks and packed records.
inline constexpr std::uint16_t kDesktopTag = 0x1002;

inline constexpr std::uint32_t kDesktopHeaderSize = 84;
inline constexpr std::uint16_t kDesktopFormatVersion = 1;
inline constexpr std::uint32_t kInfoBlockHeadSize = 56;
inline constexpr std::uint32_t kPackedHeadSize = 40;
// Packed records are built and read in one working buffer of this size.
inline constexpr std::uint32_t kPackedRecordLimit = 65520;
inline constexpr std::uint32_t kPackedDataLimit = kPackedRecordLimit - kPackedHeadSize;
// An information block's data area is bounded like the handheld's information buffers.
inline constexpr std::uint32_t kInfoDataLimit = 65520;

// A database name in the header and the blocks holds at most 31 characters and its NUL.
inline constexpr std::size_t kDatabaseNameChars = 31;

#pragma pack(push, 1)

struct DesktopFileHeader {
  std::uint32_t headerSize;     // 84
  std::uint16_t formatVersion;  // 1
  char name[34];
  std::uint32_t databaseVersion;  // a 16-bit value, zero-extended
  std::uint32_t creator;
  std::uint32_t type;
  std::uint16_t attributes;
  std::uint16_t unused;
  std::uint32_t modificationTime;
  std::uint32_t modificationNumber;
  std::uint32_t creationTime;
  std::uint32_t backupTime;
  std::uint32_t recordCount;
  std::uint32_t appInfoSize;   // 0 when absent
  std::uint32_t sortInfoSize;  // 0 when absent
};
static_assert(sizeof(DesktopFileHeader) == kDesktopHeaderSize);
static_assert(offsetof(DesktopFileHeader, name) == 6);
static_assert(offsetof(DesktopFileHeader, databaseVersion) == 40);
static_assert(offsetof(DesktopFileHeader, attributes) == 52);
static_assert(offsetof(DesktopFileHeader, modificationTime) == 56);
static_assert(offsetof(DesktopFileHeader, recordCount) == 72);
static_assert(offsetof(DesktopFileHeader, sortInfoSize) == 80);

// The head of an application-information or sort-information block; the data area follows.
struct DesktopInfoBlockHead {
  std::uint32_t totalSize;  // 56 + capacity
  std::uint16_t tag;        // 0x1002
  std::uint16_t unused;
  std::uint32_t dataOffset;  // 56
  char name[32];
  std::uint32_t capacity;
  std::uint32_t inUse;
  std::uint32_t extra;  // passed through for the caller of SetAppInfo/SetSortInfo
};
static_assert(sizeof(DesktopInfoBlockHead) == kInfoBlockHeadSize);
static_assert(offsetof(DesktopInfoBlockHead, name) == 12);
static_assert(offsetof(DesktopInfoBlockHead, capacity) == 44);
static_assert(offsetof(DesktopInfoBlockHead, extra) == 52);

struct PackedRecordHead {
  std::uint32_t totalLength;  // 40 + data length
  std::uint32_t tag;          // 0x1002
  std::uint32_t headSize;     // 40
  std::uint32_t unused1;
  std::uint32_t recordId;
  std::uint32_t unused2;
  std::uint16_t attributes;  // 0x01 modified, 0x02 deleted, 0x04 archived, 0x08 new, 0x10 private
  std::uint16_t unused3;
  std::uint32_t category;
  std::uint32_t unused4;
  std::uint32_t dataLength;
};
static_assert(sizeof(PackedRecordHead) == kPackedHeadSize);
static_assert(offsetof(PackedRecordHead, recordId) == 16);
static_assert(offsetof(PackedRecordHead, attributes) == 24);
static_assert(offsetof(PackedRecordHead, category) == 28);
static_assert(offsetof(PackedRecordHead, dataLength) == 36);

#pragma pack(pop)

}  // namespace korvet::store
