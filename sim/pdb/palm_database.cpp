// Parsing and writing of the standard Palm database layout: a 78-byte big-endian header, the record
// (or resource) list, a 2-byte gap, the application and sort information blocks, then the data.
#include "sim/pdb/palm_database.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace korvet::sim {
namespace {

constexpr std::size_t kHeaderSize = 78;
constexpr std::size_t kRecordEntrySize = 8;
constexpr std::size_t kResourceEntrySize = 10;
constexpr std::size_t kGapSize = 2;
constexpr std::size_t kAppInfoOffsetField = 52;
constexpr std::size_t kRecordCountField = 76;

// Attribute byte bits in the file.
constexpr std::uint8_t kFileDelete = 0x80;
constexpr std::uint8_t kFileDirty = 0x40;
constexpr std::uint8_t kFileSecret = 0x10;
constexpr std::uint8_t kFileArchive = 0x08;
constexpr std::uint8_t kFileCategoryMask = 0x0F;

std::uint16_t Get16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

std::uint32_t Get32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) | (std::uint32_t{bytes[at + 2]} << 8) |
         std::uint32_t{bytes[at + 3]};
}

void Put16(std::vector<std::uint8_t>* bytes, std::uint16_t value) {
  bytes->push_back(static_cast<std::uint8_t>(value >> 8));
  bytes->push_back(static_cast<std::uint8_t>(value));
}

void Put32(std::vector<std::uint8_t>* bytes, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes->push_back(static_cast<std::uint8_t>(value >> shift));
}

bool Fail(std::string* error, const std::string& text) {
  if (error != nullptr) *error = text;
  return false;
}

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

// Where one block of the file starts; its end is the start of the next block or the end of the file.
struct Region {
  std::uint32_t offset;
  std::vector<std::uint8_t>* target;
  std::string what;
};

}  // namespace

// On a device the archive bit belongs to a deleted record only; in a live record's byte the low four
// bits are its category. Busy never reaches the desktop and is not kept.
std::uint8_t PackRecordAttributes(std::uint8_t attributes, std::uint8_t category) {
  std::uint8_t packed = 0;
  if (attributes & kRecDeleted) {
    packed = kFileDelete | ((attributes & kRecArchived) ? kFileArchive : 0);
  } else {
    packed = category & kFileCategoryMask;
  }
  if (attributes & kRecModified) packed |= kFileDirty;
  if (attributes & kRecPrivate) packed |= kFileSecret;
  return packed;
}

void UnpackRecordAttributes(std::uint8_t packed, std::uint8_t* attributes, std::uint8_t* category) {
  std::uint8_t bits = 0;
  if (packed & kFileDirty) bits |= kRecModified;
  if (packed & kFileSecret) bits |= kRecPrivate;
  if (packed & kFileDelete) {
    bits |= kRecDeleted;
    if (packed & kFileArchive) bits |= kRecArchived;
    *category = 0;
  } else {
    *category = packed & kFileCategoryMask;
  }
  *attributes = bits;
}

std::uint32_t PalmDatabase::NewUniqueId() {
  std::uint32_t highest = uniqueIdSeed & kMaxUniqueId;
  for (const PalmRecord& record : records) highest = std::max(highest, record.id & kMaxUniqueId);
  std::uint32_t candidate = highest + 1;
  if (candidate > kMaxUniqueId) {
    // Every ID above the seed is spent: take the lowest one that no record holds.
    std::vector<std::uint32_t> used;
    used.reserve(records.size());
    for (const PalmRecord& record : records) used.push_back(record.id & kMaxUniqueId);
    std::sort(used.begin(), used.end());
    candidate = 1;
    for (std::uint32_t id : used) {
      if (id == candidate)
        ++candidate;
      else if (id > candidate)
        break;
    }
  }
  uniqueIdSeed = candidate;
  return candidate;
}

std::optional<PalmDatabase> ParsePalmDatabase(const std::vector<std::uint8_t>& bytes, std::string* error) {
  if (bytes.size() < kHeaderSize) {
    Fail(error, "truncated header: " + std::to_string(bytes.size()) + " bytes, a database header takes " +
                    std::to_string(kHeaderSize));
    return std::nullopt;
  }
  PalmDatabase database;
  const auto nameEnd = std::find(bytes.begin(), bytes.begin() + 32, std::uint8_t{0});
  if (nameEnd == bytes.begin() + 32) {
    Fail(error, "the database name is not terminated within its 32 bytes");
    return std::nullopt;
  }
  database.name.assign(bytes.begin(), nameEnd);
  database.flags = Get16(bytes, 32);
  database.version = Get16(bytes, 34);
  database.creationDate = Get32(bytes, 36);
  database.modificationDate = Get32(bytes, 40);
  database.backupDate = Get32(bytes, 44);
  database.modificationNumber = Get32(bytes, 48);
  const std::uint32_t appInfoOffset = Get32(bytes, kAppInfoOffsetField);
  const std::uint32_t sortInfoOffset = Get32(bytes, 56);
  database.type = Get32(bytes, 60);
  database.creator = Get32(bytes, 64);
  database.uniqueIdSeed = Get32(bytes, 68);
  // Bytes 72 to 75 link to a further record list, which files never use.
  const std::size_t count = Get16(bytes, kRecordCountField);

  const bool resource = database.IsResource();
  const std::size_t entrySize = resource ? kResourceEntrySize : kRecordEntrySize;
  const std::size_t listEnd = kHeaderSize + count * entrySize;
  if (listEnd > bytes.size()) {
    Fail(error, "the record list of " + std::to_string(count) + " entries runs past the end of the file (" +
                    std::to_string(bytes.size()) + " bytes)");
    return std::nullopt;
  }

  database.records.resize(count);
  std::vector<Region> regions;
  if (appInfoOffset != 0) regions.push_back({appInfoOffset, &database.appInfo, "application information block"});
  if (sortInfoOffset != 0) regions.push_back({sortInfoOffset, &database.sortInfo, "sort information block"});
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kHeaderSize + i * entrySize;
    PalmRecord& record = database.records[i];
    std::uint32_t offset = 0;
    if (resource) {
      record.resourceType = Get32(bytes, at);
      record.resourceId = Get16(bytes, at + 4);
      offset = Get32(bytes, at + 6);
    } else {
      offset = Get32(bytes, at);
      UnpackRecordAttributes(bytes[at + 4], &record.attributes, &record.category);
      record.id = (std::uint32_t{bytes[at + 5]} << 16) | (std::uint32_t{bytes[at + 6]} << 8) | bytes[at + 7];
    }
    regions.push_back({offset, &record.data, (resource ? "resource " : "record ") + std::to_string(i)});
  }

  // The blocks follow the list in file order and each runs up to the next one.
  std::uint32_t previous = static_cast<std::uint32_t>(listEnd);
  for (std::size_t i = 0; i < regions.size(); ++i) {
    const Region& region = regions[i];
    if (region.offset > bytes.size()) {
      Fail(error, "the " + region.what + " starts at " + Hex(region.offset) + ", past the end of the file (" +
                      std::to_string(bytes.size()) + " bytes)");
      return std::nullopt;
    }
    if (region.offset < previous) {
      Fail(error, "the " + region.what + " starts at " + Hex(region.offset) +
                      (region.offset < listEnd ? ", inside the header or the record list"
                                               : ", before the block that precedes it"));
      return std::nullopt;
    }
    previous = region.offset;
  }
  for (std::size_t i = 0; i < regions.size(); ++i) {
    const std::size_t end = i + 1 < regions.size() ? regions[i + 1].offset : bytes.size();
    regions[i].target->assign(bytes.begin() + regions[i].offset, bytes.begin() + end);
  }
  return database;
}

std::vector<std::uint8_t> SerializePalmDatabase(const PalmDatabase& database) {
  const bool resource = database.IsResource();
  const std::size_t entrySize = resource ? kResourceEntrySize : kRecordEntrySize;
  // The count field takes 16 bits; HandheldFolder::Save refuses a larger database before it gets here.
  const std::size_t count = std::min<std::size_t>(database.records.size(), kMaxRecordCount);
  std::vector<std::uint8_t> bytes;
  std::size_t total = kHeaderSize + count * entrySize + kGapSize + database.appInfo.size() + database.sortInfo.size();
  for (std::size_t i = 0; i < count; ++i) total += database.records[i].data.size();
  bytes.reserve(total);

  char name[32] = {};
  std::memcpy(name, database.name.data(), std::min(database.name.size(), kMaxDatabaseNameLength));
  bytes.insert(bytes.end(), name, name + sizeof name);
  Put16(&bytes, database.flags);
  Put16(&bytes, database.version);
  Put32(&bytes, database.creationDate);
  Put32(&bytes, database.modificationDate);
  Put32(&bytes, database.backupDate);
  Put32(&bytes, database.modificationNumber);

  std::uint32_t offset = static_cast<std::uint32_t>(kHeaderSize + count * entrySize + kGapSize);
  const std::uint32_t appInfoOffset = database.appInfo.empty() ? 0 : offset;
  offset += static_cast<std::uint32_t>(database.appInfo.size());
  const std::uint32_t sortInfoOffset = database.sortInfo.empty() ? 0 : offset;
  offset += static_cast<std::uint32_t>(database.sortInfo.size());
  Put32(&bytes, appInfoOffset);
  Put32(&bytes, sortInfoOffset);
  Put32(&bytes, database.type);
  Put32(&bytes, database.creator);
  Put32(&bytes, database.uniqueIdSeed);
  Put32(&bytes, 0);  // no further record list
  Put16(&bytes, static_cast<std::uint16_t>(count));

  for (std::size_t i = 0; i < count; ++i) {
    const PalmRecord& record = database.records[i];
    if (resource) {
      Put32(&bytes, record.resourceType);
      Put16(&bytes, record.resourceId);
      Put32(&bytes, offset);
    } else {
      Put32(&bytes, offset);
      bytes.push_back(PackRecordAttributes(record.attributes, record.category));
      bytes.push_back(static_cast<std::uint8_t>(record.id >> 16));
      bytes.push_back(static_cast<std::uint8_t>(record.id >> 8));
      bytes.push_back(static_cast<std::uint8_t>(record.id));
    }
    offset += static_cast<std::uint32_t>(record.data.size());
  }
  bytes.push_back(0);
  bytes.push_back(0);
  bytes.insert(bytes.end(), database.appInfo.begin(), database.appInfo.end());
  bytes.insert(bytes.end(), database.sortInfo.begin(), database.sortInfo.end());
  for (std::size_t i = 0; i < count; ++i) {
    bytes.insert(bytes.end(), database.records[i].data.begin(), database.records[i].data.end());
  }
  return bytes;
}

bool CheckStorable(const PalmDatabase& database, std::string* error) {
  if (database.name.empty() || database.name.size() > kMaxDatabaseNameLength) {
    return Fail(error, "the database name \"" + database.name + "\" must have 1 to " +
                           std::to_string(kMaxDatabaseNameLength) + " characters");
  }
  if (database.name.find('\0') != std::string::npos) return Fail(error, "the database name contains a NUL");
  if (database.records.size() > kMaxRecordCount) {
    return Fail(error, "the database holds " + std::to_string(database.records.size()) + " records, at most " +
                           std::to_string(kMaxRecordCount) + " fit in a file");
  }
  unsigned long long total =
      78 + 10ull * database.records.size() + 2 + database.appInfo.size() + database.sortInfo.size();
  for (const PalmRecord& record : database.records) {
    if (!database.IsResource() && record.id > kMaxUniqueId) {
      return Fail(error, "record ID " + std::to_string(record.id) + " does not fit in three bytes");
    }
    total += record.data.size();
  }
  if (total > 0xFFFFFFFFull) return Fail(error, "the database is too large for 32-bit file offsets");
  return true;
}

}  // namespace korvet::sim
