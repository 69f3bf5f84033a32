#include "sim/sync20/emulated_handheld.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "common/paths.h"
#include "common/win_library.h"
#include "sim/sync20/sync20_errors.h"

namespace korvet::sim {
namespace {

using handheld::kMaxRecordSize;
using handheld::RecordTransferBlock;

constexpr std::uint8_t kModeWrite = handheld::kOpenWrite;
constexpr std::uint8_t kModeShowSecret = handheld::kOpenShowSecret;
// The attribute bits a record keeps; the others of a written block are dropped.
constexpr std::uint8_t kKeptAttributes = kRecDeleted | kRecModified | kRecPrivate | kRecArchived;
constexpr std::int16_t kLastCategory = 15;
// Seconds from 1601 (file times) to 1904 (Palm dates).
constexpr unsigned long long kSeconds1601To1904 = 9561628800ull;

std::uint32_t PalmNow() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<std::uint32_t>(ticks / 10000000ull - kSeconds1601To1904);
}

// A name of 1 to 31 characters within the caller's 32 bytes; empty when there is none.
std::string NameFrom(const char* text, std::size_t room) {
  if (text == nullptr) return {};
  const std::size_t length = strnlen(text, room);
  if (length == room) return {};  // not terminated in its field
  return std::string(text, length);
}

std::uint32_t ReverseBytes(std::uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0x0000FF00u) | ((value << 8) & 0x00FF0000u) | (value << 24);
}

// A record as a device holds it, whoever wrote it: the archive bit means "deleted, with a copy for
// the desktop", so a live record never has it; a deleted record that was not archived has given its
// data up.
void KeepAsADevice(PalmRecord& record) {
  record.attributes &= kKeptAttributes;
  if (!(record.attributes & kRecDeleted)) record.attributes &= static_cast<std::uint8_t>(~kRecArchived);
  if ((record.attributes & kRecDeleted) && !(record.attributes & kRecArchived)) record.data.clear();
}

bool IsModified(const PalmRecord& record, std::int16_t) { return (record.attributes & kRecModified) != 0; }

bool IsLiveInCategory(const PalmRecord& record, std::int16_t category) {
  return !(record.attributes & kRecDeleted) && record.category == category;
}

}  // namespace

void EmulatedHandheld::SetInstallFolder(const std::string& installFolder) {
  folder_ = HandheldFolder(JoinPath(WithoutTrailingSeparators(installFolder), "Handheld"));
  folderChosen_ = true;
}

long EmulatedHandheld::EnsureFolder() {
  if (!folderChosen_) {
    // The default installation is the folder that holds the loaded sync20.dll.
    static const char anchor = 0;
    const std::string folder = FolderOfModuleContaining(&anchor);
    SetInstallFolder(folder.empty() ? "." : folder);
  }
  std::string error;
  return folder_.CreateFolder(&error) ? 0 : kSyncErrStorage;
}

long EmulatedHandheld::WriteBack(Opened& open) {
  if (!open.changed) return 0;
  std::string error;
  if (!open.folder.Save(open.database, &error)) return kSyncErrStorage;
  open.changed = false;
  return 0;
}

long EmulatedHandheld::EndSession() {
  long result = 0;
  for (Slot& slot : slots_) {
    if (slot && WriteBack(*slot) != 0) result = kSyncErrStorage;
    slot.reset();
  }
  sessions_.clear();
  return result;
}

long EmulatedHandheld::Find(std::uint8_t handle, Opened** open) {
  *open = slots_[handle].get();
  return *open ? 0 : kSyncErrBadHandle;
}

long EmulatedHandheld::FindOfKind(std::uint8_t handle, bool resource, bool forChange, Opened** open) {
  if (long code = Find(handle, open)) return code;
  if ((*open)->database.IsResource() != resource) return kSyncErrWrongKind;
  if (forChange && !((*open)->mode & kModeWrite)) return kSyncErrReadOnly;
  return 0;
}

bool EmulatedHandheld::IsOpen(const std::string& name) const {
  return std::any_of(slots_.begin(), slots_.end(),
                     [&](const Slot& slot) { return slot && slot->database.name == name; });
}

long EmulatedHandheld::OpenSession(std::uint32_t* session) {
  if (session == nullptr) return kSyncErrBadArgument;
  while (nextSession_ == 0 || sessions_.count(nextSession_) != 0) ++nextSession_;
  *session = nextSession_;
  sessions_.insert(nextSession_++);
  return 0;
}

long EmulatedHandheld::CloseSession(std::uint32_t session) {
  if (sessions_.erase(session) == 0) return kSyncErrBadSession;
  // Databases left open stay open under their handles, but what they hold reaches the files now.
  long result = 0;
  for (Slot& slot : slots_) {
    if (slot && WriteBack(*slot) != 0) result = kSyncErrStorage;
  }
  return result;
}

long EmulatedHandheld::ReadSystemInfo(handheld::SystemInfoBlock* info) {
  if (info == nullptr) return kSyncErrBadArgument;
  static constexpr char kProduct[] = "Korvet emulated handheld";
  info->value0 = 0x03503000;  // the operating system version the emulated handheld reports
  info->value1 = 0;
  info->filled = 0;
  if (info->buffer != nullptr && info->capacity > 0) {
    const std::size_t length = std::min<std::size_t>(sizeof kProduct - 1, info->capacity - 1u);
    std::memcpy(info->buffer, kProduct, length);
    info->buffer[length] = '\0';
    info->filled = static_cast<std::uint8_t>(length);
  }
  return 0;
}

long EmulatedHandheld::OpenDatabase(const char* name, long card, std::uint8_t* handle, std::uint8_t mode) {
  if (name == nullptr || handle == nullptr) return kSyncErrBadArgument;
  const std::string wanted = NameFrom(name, 32);
  if (card != 0 || !HandheldFolder::IsStorableName(wanted)) return kSyncErrNotFound;
  if (IsOpen(wanted)) return kSyncErrAlreadyOpen;
  const auto free = std::find_if(slots_.begin() + 1, slots_.end(), [](const Slot& slot) { return !slot; });
  if (free == slots_.end()) return kSyncErrNoHandle;
  if (long code = EnsureFolder(); code != 0) return code;
  if (!folder_.Exists(wanted)) return kSyncErrNotFound;
  std::string error;
  std::optional<PalmDatabase> database = folder_.Load(wanted, &error);
  if (!database) return folder_.Exists(wanted) ? kSyncErrDamaged : kSyncErrNotFound;
  // Names are case-sensitive on the handheld even where file names are not.
  if (database->name != wanted) return kSyncErrNotFound;
  auto open = std::make_unique<Opened>();
  open->database = std::move(*database);
  for (PalmRecord& record : open->database.records) KeepAsADevice(record);
  open->folder = folder_;
  open->mode = mode;
  *free = std::move(open);
  *handle = static_cast<std::uint8_t>(free - slots_.begin());
  return 0;
}

long EmulatedHandheld::CreateDatabase(handheld::DatabaseCreationBlock* block) {
  if (block == nullptr) return kSyncErrBadArgument;
  const std::string name = NameFrom(block->name, sizeof block->name);
  if (block->card != 0 || !HandheldFolder::IsStorableName(name) || block->flags > 0xFFFF) {
    return kSyncErrBadArgument;
  }
  if (long code = EnsureFolder(); code != 0) return code;
  if (IsOpen(name) || folder_.Exists(name)) return kSyncErrExists;
  const auto free = std::find_if(slots_.begin() + 1, slots_.end(), [](const Slot& slot) { return !slot; });
  if (free == slots_.end()) return kSyncErrNoHandle;
  auto open = std::make_unique<Opened>();
  PalmDatabase& database = open->database;
  database.name = name;
  database.flags = static_cast<std::uint16_t>(block->flags);
  database.version = block->version;
  database.type = block->type;
  database.creator = block->creator;
  database.creationDate = database.modificationDate = PalmNow();
  open->folder = folder_;
  // A database its creator has just made holds nothing to hide from it.
  open->mode = handheld::kOpenReadWrite | kModeShowSecret;
  // The file exists from now on, so that the database can be found and is not created twice.
  std::string error;
  if (!open->folder.Save(database, &error)) return kSyncErrStorage;
  *free = std::move(open);
  block->handle = static_cast<std::uint8_t>(free - slots_.begin());
  return 0;
}

long EmulatedHandheld::CloseDatabase(std::uint8_t handle) {
  Opened* open = nullptr;
  if (long code = Find(handle, &open)) return code;
  // A database that cannot be written stays open, so that its contents are not lost.
  if (long written = WriteBack(*open); written != 0) return written;
  slots_[handle].reset();
  return 0;
}

long EmulatedHandheld::DeleteDatabase(const char* name, long card) {
  if (name == nullptr) return kSyncErrBadArgument;
  const std::string wanted = NameFrom(name, 32);
  if (card != 0 || !HandheldFolder::IsStorableName(wanted)) return kSyncErrNotFound;
  if (IsOpen(wanted)) return kSyncErrAlreadyOpen;
  if (long code = EnsureFolder(); code != 0) return code;
  if (!folder_.Exists(wanted)) return kSyncErrNotFound;
  return folder_.Remove(wanted) ? 0 : kSyncErrStorage;
}

long EmulatedHandheld::FindDatabase(const handheld::DatabaseQuery* query, void* found) {
  if (query == nullptr || query->name == nullptr) return kSyncErrBadArgument;
  const std::string wanted = NameFrom(query->name, 32);
  if (query->card != 0 || !HandheldFolder::IsStorableName(wanted)) return kSyncErrNotFound;
  const PalmDatabase* database = nullptr;
  for (const Slot& slot : slots_) {
    if (slot && slot->database.name == wanted) database = &slot->database;
  }
  std::optional<PalmDatabase> loaded;
  if (database == nullptr) {
    if (long code = EnsureFolder(); code != 0) return code;
    if (!folder_.Exists(wanted)) return kSyncErrNotFound;
    std::string error;
    loaded = folder_.Load(wanted, &error);
    if (!loaded) return kSyncErrDamaged;
    if (loaded->name != wanted) return kSyncErrNotFound;
    database = &*loaded;
  }
  if (found != nullptr) {
    handheld::FoundDatabaseBlock info{};
    std::memcpy(info.name, database->name.data(), database->name.size());
    info.creator = database->creator;
    info.type = database->type;
    info.flags = database->flags;
    info.version = database->version;
    info.recordCount = static_cast<std::uint16_t>(database->records.size());
    std::memcpy(found, &info, sizeof info);
  }
  return 0;
}

long EmulatedHandheld::RecordCount(std::uint8_t handle, std::uint16_t* count) {
  Opened* open = nullptr;
  if (long code = Find(handle, &open)) return code;
  if (count == nullptr) return kSyncErrBadArgument;
  *count = static_cast<std::uint16_t>(ShownCount(*open));
  return 0;
}

bool EmulatedHandheld::Shows(const Opened& open, const PalmRecord& record) {
  return (open.mode & kModeShowSecret) || !(record.attributes & kRecPrivate);
}

std::size_t EmulatedHandheld::ShownCount(const Opened& open) {
  const auto& records = open.database.records;
  if (open.mode & kModeShowSecret) return records.size();
  return static_cast<std::size_t>(
      std::count_if(records.begin(), records.end(), [&](const PalmRecord& record) { return Shows(open, record); }));
}

std::size_t EmulatedHandheld::PositionOfShown(const Opened& open, std::size_t shown) {
  const auto& records = open.database.records;
  if (open.mode & kModeShowSecret) return shown < records.size() ? shown : kNoPosition;
  for (std::size_t position = 0; position < records.size(); ++position) {
    if (!Shows(open, records[position])) continue;
    if (shown-- == 0) return position;
  }
  return kNoPosition;
}

std::size_t EmulatedHandheld::ShownIndex(const Opened& open, std::size_t position) {
  if (open.mode & kModeShowSecret) return position;
  const auto& records = open.database.records;
  return static_cast<std::size_t>(std::count_if(records.begin(),
                                                records.begin() + static_cast<std::ptrdiff_t>(position),
                                                [&](const PalmRecord& record) { return Shows(open, record); }));
}

long EmulatedHandheld::ResetRecordIndex(std::uint8_t handle) {
  Opened* open = nullptr;
  if (long code = Find(handle, &open)) return code;
  open->cursor = 0;
  return 0;
}

long EmulatedHandheld::ClearSyncFlags(std::uint8_t handle) {
  Opened* open = nullptr;
  if (long code = FindOfKind(handle, false, true, &open)) return code;
  for (PalmRecord& record : open->database.records) {
    if (record.attributes & kRecModified) {
      record.attributes &= static_cast<std::uint8_t>(~kRecModified);
      open->changed = true;
    }
  }
  return 0;
}

long EmulatedHandheld::PurgeDeleted(std::uint8_t handle) {
  Opened* open = nullptr;
  if (long code = FindOfKind(handle, false, true, &open)) return code;
  auto& records = open->database.records;
  const std::size_t before = records.size();
  std::erase_if(records,
                [](const PalmRecord& record) { return (record.attributes & (kRecDeleted | kRecArchived)) != 0; });
  if (records.size() != before) {
    open->changed = true;
    open->ids.Reset();
  }
  return 0;
}

long EmulatedHandheld::FillBlock(const Opened& open, std::size_t index, RecordTransferBlock* block) {
  const PalmRecord& record = open.database.records[index];
  if (block->data == nullptr && block->capacity > 0) return kSyncErrBadArgument;
  if (open.database.IsResource()) {
    block->recordId = record.resourceType;
    block->attributes = 0;
    block->category = static_cast<std::int16_t>(record.resourceId);
  } else {
    block->recordId = record.id;
    block->attributes = record.attributes & kKeptAttributes;
    block->category = record.category;
  }
  block->index = static_cast<std::uint16_t>(ShownIndex(open, index));
  // Never past the caller's buffer; the whole size tells the caller when the copy was cut.
  const std::size_t copied = std::min<std::size_t>(record.data.size(), block->capacity);
  if (copied > 0) std::memcpy(block->data, record.data.data(), copied);
  block->dataSize = static_cast<std::uint32_t>(record.data.size());
  return 0;
}

long EmulatedHandheld::ReadById(RecordTransferBlock* block) {
  if (block == nullptr) return kSyncErrBadArgument;
  Opened* open = nullptr;
  if (long code = FindOfKind(block->handle, false, false, &open)) return code;
  const std::size_t position = open->ids.Find(open->database.records, block->recordId);
  if (position == RecordIdIndex::kNone || !Shows(*open, open->database.records[position])) return kSyncErrNotFound;
  return FillBlock(*open, position, block);
}

long EmulatedHandheld::ReadByIndex(RecordTransferBlock* block) {
  if (block == nullptr) return kSyncErrBadArgument;
  Opened* open = nullptr;
  if (long code = Find(block->handle, &open)) return code;
  const std::size_t position = PositionOfShown(*open, block->index);
  if (position == kNoPosition) return kSyncErrNotFound;
  return FillBlock(*open, position, block);
}

long EmulatedHandheld::ReadNext(RecordTransferBlock* block, bool (*matches)(const PalmRecord&, std::int16_t)) {
  if (block == nullptr) return kSyncErrBadArgument;
  Opened* open = nullptr;
  if (long code = FindOfKind(block->handle, false, false, &open)) return code;
  const auto& records = open->database.records;
  for (std::size_t index = open->cursor; index < records.size(); ++index) {
    if (Shows(*open, records[index]) && matches(records[index], block->category)) {
      if (long filled = FillBlock(*open, index, block); filled != 0) return filled;
      open->cursor = index + 1;
      return 0;
    }
  }
  open->cursor = records.size();
  return kSyncErrNotFound;
}

long EmulatedHandheld::ReadNextModified(RecordTransferBlock* block) { return ReadNext(block, &IsModified); }

long EmulatedHandheld::ReadNextInCategory(RecordTransferBlock* block) {
  if (block != nullptr && (block->category < 0 || block->category > kLastCategory)) return kSyncErrBadArgument;
  return ReadNext(block, &IsLiveInCategory);
}

long EmulatedHandheld::WriteRecord(RecordTransferBlock* block) {
  if (block == nullptr) return kSyncErrBadArgument;
  Opened* open = nullptr;
  if (long code = FindOfKind(block->handle, false, true, &open)) return code;
  if (block->dataSize > kMaxRecordSize) return kSyncErrTooLarge;
  if (block->dataSize > block->capacity || (block->dataSize > 0 && block->data == nullptr) || block->category < 0 ||
      block->category > kLastCategory || block->recordId > kMaxUniqueId) {
    return kSyncErrBadArgument;
  }
  PalmDatabase& database = open->database;
  auto& records = database.records;
  const std::size_t position = block->recordId == 0 ? RecordIdIndex::kNone : open->ids.Find(records, block->recordId);
  auto it = position == RecordIdIndex::kNone ? records.end() : records.begin() + static_cast<std::ptrdiff_t>(position);
  if (it == records.end()) {
    if (records.size() >= kMaxRecordCount) return kSyncErrFull;
    PalmRecord added;
    added.id = block->recordId != 0 ? block->recordId : database.NewUniqueId();
    records.push_back(std::move(added));
    it = records.end() - 1;
  }
  it->attributes = block->attributes;
  it->category = static_cast<std::uint8_t>(block->category);
  it->data.assign(block->data, block->data + block->dataSize);
  KeepAsADevice(*it);
  open->changed = true;
  // The answer carries the record's ID and nothing else.
  block->recordId = it->id;
  return 0;
}

long EmulatedHandheld::WriteResource(RecordTransferBlock* block) {
  if (block == nullptr) return kSyncErrBadArgument;
  Opened* open = nullptr;
  if (long code = FindOfKind(block->handle, true, true, &open)) return code;
  if (block->dataSize > kMaxRecordSize) return kSyncErrTooLarge;
  if (block->dataSize > block->capacity || (block->dataSize > 0 && block->data == nullptr)) {
    return kSyncErrBadArgument;
  }
  auto& records = open->database.records;
  const auto resourceId = static_cast<std::uint16_t>(block->category);
  auto it = std::find_if(records.begin(), records.end(), [&](const PalmRecord& record) {
    return record.resourceType == block->recordId && record.resourceId == resourceId;
  });
  if (it == records.end()) {
    if (records.size() >= kMaxRecordCount) return kSyncErrFull;
    PalmRecord added;
    added.resourceType = block->recordId;
    added.resourceId = resourceId;
    records.push_back(std::move(added));
    it = records.end() - 1;
  }
  it->data.assign(block->data, block->data + block->dataSize);
  open->changed = true;
  return 0;
}

long EmulatedHandheld::DeleteRecord(RecordTransferBlock* block) {
  if (block == nullptr) return kSyncErrBadArgument;
  Opened* open = nullptr;
  if (long code = FindOfKind(block->handle, false, true, &open)) return code;
  auto& records = open->database.records;
  const std::size_t index = open->ids.Find(records, block->recordId);
  if (index == RecordIdIndex::kNone || !Shows(*open, records[index])) return kSyncErrNotFound;
  records.erase(records.begin() + static_cast<std::ptrdiff_t>(index));
  open->ids.Erased(index, block->recordId);
  if (open->cursor > index) --open->cursor;  // the cursor stays on the record it was before
  open->changed = true;
  return 0;
}

long EmulatedHandheld::DeleteResource(RecordTransferBlock* block) {
  if (block == nullptr) return kSyncErrBadArgument;
  Opened* open = nullptr;
  if (long code = FindOfKind(block->handle, true, true, &open)) return code;
  auto& records = open->database.records;
  const auto resourceId = static_cast<std::uint16_t>(block->category);
  const auto it = std::find_if(records.begin(), records.end(), [&](const PalmRecord& record) {
    return record.resourceType == block->recordId && record.resourceId == resourceId;
  });
  if (it == records.end()) return kSyncErrNotFound;
  records.erase(it);
  open->ids.Reset();
  open->changed = true;
  return 0;
}

long EmulatedHandheld::ChangeCategory(std::uint8_t handle, std::uint8_t from, std::uint8_t to) {
  Opened* open = nullptr;
  if (long code = FindOfKind(handle, false, true, &open)) return code;
  if (from > kLastCategory || to > kLastCategory) return kSyncErrBadArgument;
  for (PalmRecord& record : open->database.records) {
    if (record.category == from && from != to) {
      record.category = to;
      open->changed = true;
    }
  }
  return 0;
}

long EmulatedHandheld::PurgeCategory(std::uint8_t handle, std::uint8_t category) {
  Opened* open = nullptr;
  if (long code = FindOfKind(handle, false, true, &open)) return code;
  if (category > kLastCategory) return kSyncErrBadArgument;
  auto& records = open->database.records;
  const std::size_t before = records.size();
  std::erase_if(records, [&](const PalmRecord& record) { return record.category == category; });
  if (records.size() != before) {
    open->changed = true;
    open->cursor = 0;
    open->ids.Reset();
  }
  return 0;
}

long EmulatedHandheld::ReadInfo(std::uint8_t handle, std::vector<std::uint8_t> PalmDatabase::*info,
                                handheld::DatabaseInfoBlock* block) {
  Opened* open = nullptr;
  if (long code = Find(handle, &open)) return code;
  if (block == nullptr || (block->data == nullptr && block->capacity > 0)) return kSyncErrBadArgument;
  const std::vector<std::uint8_t>& source = open->database.*info;
  if (source.size() > 0xFFFF) return kSyncErrTooLarge;  // its size has no room in the block
  const std::size_t copied = std::min<std::size_t>(source.size(), block->capacity);
  if (copied > 0) std::memcpy(block->data, source.data(), copied);
  block->dataSize = static_cast<std::uint16_t>(source.size());
  return source.empty() ? kSyncErrNotFound : 0;
}

long EmulatedHandheld::ReadAppInfo(std::uint8_t handle, handheld::DatabaseInfoBlock* block) {
  return ReadInfo(handle, &PalmDatabase::appInfo, block);
}

long EmulatedHandheld::ReadSortInfo(std::uint8_t handle, handheld::DatabaseInfoBlock* block) {
  return ReadInfo(handle, &PalmDatabase::sortInfo, block);
}

long EmulatedHandheld::WriteAppInfo(std::uint8_t handle, const handheld::DatabaseInfoBlock* block) {
  Opened* open = nullptr;
  if (long code = Find(handle, &open)) return code;
  if (!(open->mode & kModeWrite)) return kSyncErrReadOnly;
  if (block == nullptr) return kSyncErrBadArgument;
  if (block->dataSize > kMaxRecordSize) return kSyncErrTooLarge;
  if (block->dataSize > block->capacity || (block->dataSize > 0 && block->data == nullptr)) {
    return kSyncErrBadArgument;
  }
  open->database.appInfo.assign(block->data, block->data + block->dataSize);
  open->changed = true;
  return 0;
}

long EmulatedHandheld::ReadPositionMap(handheld::PositionMapBlock* block) {
  if (block == nullptr) return kSyncErrBadArgument;
  Opened* open = nullptr;
  if (long code = FindOfKind(block->handle, false, false, &open)) return code;
  const auto& records = open->database.records;
  const std::size_t shown = ShownCount(*open);
  const std::size_t wanted = std::min<std::size_t>(block->wanted, block->capacity);
  if (wanted > 0 && block->ids == nullptr) return kSyncErrBadArgument;
  if (wanted > 0 && block->firstPosition >= shown) return kSyncErrNotFound;
  const std::size_t count = block->firstPosition >= shown ? 0 : std::min(wanted, shown - block->firstPosition);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t id = ReverseBytes(records[PositionOfShown(*open, block->firstPosition + i)].id);
    std::memcpy(block->ids + i, &id, sizeof id);
  }
  block->returned = static_cast<std::uint16_t>(count);
  return 0;
}

}  // namespace korvet::sim
