#include "conduit/handheld/handheld_database_manager.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "conduit/base/allocation.h"
#include "conduit/store/category_list.h"
#include "conduit/store/status_codes.h"
#include "conduit/store/sync_logger.h"
#include "conduit/store/sync_record.h"

namespace korvet::handheld {

using store::SyncRecord;

namespace {

constexpr std::size_t kNameField = 32;
// The application-specific data follows the category block when the database has one.
constexpr std::uint32_t kCategoryPrefix = static_cast<std::uint32_t>(store::kCategoryBlockSize);
constexpr long kCategoryLimit = store::kCategoryCount;
// The database description of a failed create is one log argument; it is cut to this size.
constexpr long kDescriptionSize = 256;

bool IsCategoryIndex(long category) { return category >= 0 && category < kCategoryLimit; }

// Handheld attribute flags of a record as the changed-record steps see them (a record's "new" mark is
// the synchronizer's, not the handheld's).
bool HasHandheldChange(const SyncRecord& record) {
  return record.IsDeleted() || record.IsArchived() || record.IsModified();
}

}  // namespace

HandheldDatabaseManager::HandheldDatabaseManager(store::SyncLogger* logger, std::uint32_t options, const char* name,
                                                 std::uint32_t creator, std::uint32_t type, std::uint16_t flags,
                                                 std::uint16_t version, long card, long syncType)
    : DatabaseManager(options, syncType),
      logger_(logger),
      creator_(creator),
      type_(type),
      flags_(flags),
      version_(version),
      card_(card),
      recordDatabase_((flags & kResourceDatabaseFlag) == 0) {
  SetDatabaseName(name);
}

HandheldDatabaseManager::~HandheldDatabaseManager() {
  ReleaseTransferBuffer();
  ReleaseInfoBuffer(appInfo_);
  ReleaseInfoBuffer(sortInfo_);
  if (IsOpen()) Close(1);
}

// Opening and closing.

long HandheldDatabaseManager::Open(long kind) {
  switch (kind) {
    case kOpenKindRead:
      return OpenWithMode(kOpenRead);
    case kOpenKindWrite:
      return OpenWithMode(kOpenWrite);
    case kOpenKindReadWrite:
      return OpenWithMode(kOpenReadWrite);
    case kOpenKindRecreate:
      return Recreate();
    default:
      return store::kOk;
  }
}

long HandheldDatabaseManager::OpenWithMode(std::uint8_t mode) {
  const long status = OpenHandheldDatabase(name_.data(), card_, &handle_, mode);
  return status == kSyncNotFound ? store::kHandheldDatabaseMissing : status;
}

long HandheldDatabaseManager::Recreate() {
  DeleteHandheldDatabase(name_.data(), card_);  // a database that is not there is no failure
  DatabaseCreationBlock block;
  std::memset(&block, 0, sizeof block);
  block.creator = creator_;
  block.flags = flags_;
  block.card = static_cast<std::uint8_t>(card_);
  std::memcpy(block.name, name_.data(), NameLength());
  block.type = type_;
  block.version = version_;
  const long status = CreateHandheldDatabase(&block);
  if (status == store::kOk) {
    handle_ = block.handle;
    return status;
  }
  if (logger_) {
    // The long description names type, flags and version too.
    char description[kDescriptionSize] = {};
    const std::uint16_t detail = logger_->GetDetail();
    logger_->SetDetail(1);
    logger_->FormatDatabaseInfo(description, kDescriptionSize, name_.data(), creator_, type_, flags_, version_);
    logger_->SetDetail(detail);
    logger_->ReportCreateFailure(status, description, store::kSideHandheld);
  }
  return status;
}

long HandheldDatabaseManager::OpenForSync() {
  const SyncTypeRow* row = FindSyncType(syncType_);
  if (!row) return store::kInvalidSyncType;
  switch (row->handheldOpening) {
    case HandheldOpening::kReadWrite:
      return Open(kOpenKindReadWrite);
    case HandheldOpening::kRecreate:
      return Open(kOpenKindRecreate);
    case HandheldOpening::kNone:
      return store::kOk;
  }
  return store::kInvalidSyncType;
}

void HandheldDatabaseManager::UseOpenHandle(std::uint8_t handle) {
  handle_ = handle;
  handleLent_ = true;
}

long HandheldDatabaseManager::Close(long skipClearFlags) {
  if (!IsOpen()) return store::kNotOpen;
  long cleared = store::kOk;
  if (!skipClearFlags) {
    cleared = ClearHandheldSyncFlags(handle_);
    if (cleared != store::kOk && logger_) logger_->ReportClearFlagsFailure(cleared, store::kSideHandheld);
  }
  if (std::exchange(handleLent_, false)) {
    handle_ = 0;
    return cleared;
  }
  const long closed = CloseHandheldDatabase(handle_);
  if (closed != store::kOk && logger_) logger_->ReportCloseFailure(closed, store::kSideHandheld);
  handle_ = 0;
  return cleared != store::kOk ? cleared : closed;
}

// A number that names no sync type closes as most types do.
long HandheldDatabaseManager::FinishSync() {
  const SyncTypeRow* row = FindSyncType(syncType_);
  if (row && row->handheldOpening == HandheldOpening::kNone) return store::kOk;
  return Close(row && !row->clearsHandheldFlags ? 1 : 0);
}

long HandheldDatabaseManager::LoadContents() {
  switch (Loading()) {
    case HandheldLoading::kChanged:
      return LoadModifiedRecords();
    case HandheldLoading::kAll:
      return LoadAllRecords();
    case HandheldLoading::kNone:
      return store::kOk;
  }
  return store::kOk;
}

HandheldLoading HandheldDatabaseManager::Loading() const {
  const SyncTypeRow* row = FindSyncType(syncType_);
  return row ? row->handheldLoading : HandheldLoading::kNone;
}

// The interface's record count stays the number of records in the table, which the table operations
// keep; the handheld's count is what the caller gets.
long HandheldDatabaseManager::GetRecordCount(long* count) {
  if (!count) return store::kMissingArgument;
  std::uint16_t handheldCount = 0;
  const long status = SyncGetDBRecordCount(handle_, &handheldCount);
  if (status == store::kOk) *count = handheldCount;
  return status;
}

// The transfer block and the record table.

long HandheldDatabaseManager::PrepareTransferBlock() {
  return transferBuffer_.Attach(transfer_, handle_) ? store::kOk : store::kOutOfMemory;
}

void HandheldDatabaseManager::ReleaseTransferBuffer() {
  transferBuffer_.Release();
  transfer_.data = nullptr;
  transfer_.capacity = 0;
}

long HandheldDatabaseManager::StoreAt(long slot, std::unique_ptr<SyncRecord> record) {
  if (Capacity() == 0) return store::kNoRecordTable;
  if (slot < 0 || slot >= Capacity()) return store::kIndexOutOfRange;
  PutAt(slot, std::move(record));
  return store::kOk;
}

long HandheldDatabaseManager::PutRecordAt(const SyncRecord& record) {
  const long slot = record.GetIndex();
  if (slot < 0 || slot >= Capacity()) return store::kIndexOutOfRange;
  std::unique_ptr<SyncRecord> copy = CloneRecord(record);
  if (!copy) return store::kOutOfMemory;
  return StoreAt(slot, std::move(copy));
}

void HandheldDatabaseManager::LogIndexFailure(long error, SyncRecord& record, long index) {
  record.Clear();
  record.SetIndex(index);
  if (logger_) logger_->ReportReadFailure(error, record, store::kSideHandheld);
}

// Both loads start alike: the record count, a table of twice that many slots, the transfer block.
long HandheldDatabaseManager::PrepareLoad(long& count) {
  count = 0;
  if (long status = GetRecordCount(&count)) return status;
  if (Capacity() < 2 * count) {
    if (long status = GrowTable(2 * count)) return status;
  }
  return PrepareTransferBlock();
}

long HandheldDatabaseManager::LoadModifiedRecords() {
  long count = 0;
  if (long status = PrepareLoad(count)) return status;
  long last = 0;
  for (;;) {
    ClearUsedTransferData();
    transfer_.index = static_cast<std::uint16_t>(last);
    const long status = ReadNextModifiedHandheldRecord(&transfer_);
    if (status == kSyncNotFound) return store::kOk;
    SyncRecord scratch;
    if (status != store::kOk) {
      LogIndexFailure(status, scratch, last);
      return status;
    }
    last = transfer_.index;
    if (long stored = StoreLoaded(last)) return stored;
  }
}

long HandheldDatabaseManager::LoadAllRecords() {
  long count = 0;
  if (long status = PrepareLoad(count)) return status;
  for (long index = 0; index < count; ++index) {
    ClearUsedTransferData();
    transfer_.index = static_cast<std::uint16_t>(index);
    const long status = ReadHandheldRecordByIndex(&transfer_);
    if (status == kSyncNotFound) return store::kOk;
    SyncRecord scratch;
    if (status != store::kOk) {
      LogIndexFailure(status, scratch, index);
      return status;
    }
    // The record goes to the slot of the index the handheld gave it.
    if (long stored = StoreLoaded(transfer_.index)) return stored;
  }
  return store::kOk;
}

// A record just read goes to the table slot of its handheld index; an index the table was not sized
// for is refused and logged rather than stored past the table's end.
long HandheldDatabaseManager::StoreLoaded(long slot) {
  if (slot >= Capacity()) {
    SyncRecord scratch;
    LogIndexFailure(store::kIndexOutOfRange, scratch, slot);
    return store::kIndexOutOfRange;
  }
  std::unique_ptr<SyncRecord> record = base::MakeOrNull<SyncRecord>(transfer_);
  if (!record) return store::kOutOfMemory;
  return StoreAt(slot, std::move(record));
}

// Reading one record.

long HandheldDatabaseManager::ReadRecordById(std::uint32_t id, SyncRecord& record, bool logFailure) {
  if (long status = PrepareTransferBlock()) return status;
  transfer_.recordId = id;
  const long status = ReadHandheldRecordById(&transfer_);
  if (status == store::kOk) return record.FromTransferBlock(transfer_);
  record.Clear();
  record.SetId(id);
  if (logFailure && logger_) logger_->ReportReadFailure(status, record, store::kSideHandheld);
  return status;
}

long HandheldDatabaseManager::ReadRecordByIdLogged(std::uint32_t id, SyncRecord& record) {
  return ReadRecordById(id, record, true);
}

long HandheldDatabaseManager::NextAny(SyncRecord& record) {
  if (Loading() != HandheldLoading::kChanged) {
    // The table alone, up to the first empty slot.
    const SyncRecord* stored = iterationPosition_ < recordCount_ ? RecordAt(iterationPosition_) : nullptr;
    if (!stored) return store::kNoMoreRecords;
    record.CopyFrom(*stored);
    ++iterationPosition_;
    return store::kOk;
  }
  if (iterationPosition_ < 0 || iterationPosition_ >= HighWaterMark()) return store::kNoMoreRecords;
  if (const SyncRecord* stored = RecordAt(iterationPosition_)) {
    record.CopyFrom(*stored);
    ++iterationPosition_;
    return store::kOk;
  }
  // A slot that the load of modified records left empty is read from the handheld.
  if (long status = PrepareTransferBlock()) return status;
  transfer_.index = static_cast<std::uint16_t>(iterationPosition_);
  const long status = ReadHandheldRecordByIndex(&transfer_);
  if (status != store::kOk) {
    LogIndexFailure(status, record, iterationPosition_);
    return status;
  }
  const long loaded = record.FromTransferBlock(transfer_);
  // The record read is returned whether or not the table can keep a copy of it.
  static_cast<void>(PutRecordAt(record));
  iterationPosition_ = record.GetIndex() + 1;
  return loaded;
}

long HandheldDatabaseManager::NextInCategory(SyncRecord& record) {
  if (Loading() != HandheldLoading::kChanged) {
    return StepWhere(record, [this](const SyncRecord& stored) { return stored.GetCategory() == iterationCategory_; });
  }
  if (long status = PrepareTransferBlock()) return status;
  transfer_.index = static_cast<std::uint16_t>(iterationPosition_);
  transfer_.category = static_cast<std::int16_t>(iterationCategory_);
  const long status = SyncReadNextRecInCategory(&transfer_);
  // The library's not-found after the last record of the category is the end of the iteration.
  if (status == kSyncNotFound) return store::kNoMoreRecords;
  if (status != store::kOk) {
    LogIndexFailure(status, record, iterationPosition_);
    return status;
  }
  const long loaded = record.FromTransferBlock(transfer_);
  // The record read is returned whether or not the table can keep a copy of it.
  static_cast<void>(PutRecordAt(record));
  iterationPosition_ = record.GetIndex();
  return loaded;
}

long HandheldDatabaseManager::NextChanged(SyncRecord& record) { return StepWhere(record, HasHandheldChange); }

long HandheldDatabaseManager::NextChangedInCategory(SyncRecord& record) {
  return StepWhere(record, [this](const SyncRecord& stored) {
    return HasHandheldChange(stored) && stored.GetCategory() == iterationCategory_;
  });
}

// Writing and deleting.

long HandheldDatabaseManager::WriteRecord() {
  return recordDatabase_ ? WriteHandheldRecord(&transfer_) : WriteHandheldResource(&transfer_);
}

long HandheldDatabaseManager::ModifyRecordById(SyncRecord& record) {
  if (long status = PrepareTransferBlock()) return status;
  if (long status = record.ToTransferBlock(transfer_)) return status;
  transfer_.handle = handle_;
  if (long status = WriteRecord()) return status;
  // The handheld answers a write with the record's ID alone; the block's index is still the one the
  // record put there.
  record.SetId(transfer_.recordId);
  return store::kOk;
}

long HandheldDatabaseManager::AddRecordAsIs(SyncRecord& record) {
  record.ClearAttributes();
  return ModifyRecordById(record);
}

long HandheldDatabaseManager::DeleteRecord(SyncRecord& record) {
  if (long status = PrepareTransferBlock()) return status;
  if (long status = record.ToTransferBlock(transfer_)) return status;
  transfer_.handle = handle_;
  return recordDatabase_ ? DeleteHandheldRecord(&transfer_) : SyncDeleteResourceRec(&transfer_);
}

// The slot is checked before the write, so that a record the table cannot hold is not written either.
long HandheldDatabaseManager::ModifyRecordAt(long index, SyncRecord& record) {
  if (index == store::kNoIndex) return store::kRecordNotFound;
  if (Capacity() == 0) return store::kNoRecordTable;
  if (index < 0 || index >= Capacity()) return store::kIndexOutOfRange;
  record.SetIndex(index);
  if (long status = ModifyRecordById(record)) return status;
  if (SyncRecord* stored = StoredAt(index)) return stored->Assign(record);
  std::unique_ptr<SyncRecord> copy = CloneRecord(record);
  if (!copy) return store::kOutOfMemory;
  return StoreAt(index, std::move(copy));
}

long HandheldDatabaseManager::PurgeDeletedRecords() {
  const long status = PurgeDeletedHandheldRecords(handle_);
  if (status != store::kOk && logger_) logger_->ReportPurgeFailure(status, store::kSideHandheld);
  return status;
}

long HandheldDatabaseManager::PurgeCategory(long category, bool moveToUnfiled) {
  if (!IsCategoryIndex(category)) return store::kCategoryOutOfRange;
  const auto number = static_cast<std::uint8_t>(category);
  return moveToUnfiled ? SyncChangeCategory(handle_, number, 0) : SyncPurgeAllRecsInCategory(handle_, number);
}

long HandheldDatabaseManager::ChangeCategory(long from, long to) {
  if (!IsCategoryIndex(from) || !IsCategoryIndex(to)) return store::kCategoryOutOfRange;
  return SyncChangeCategory(handle_, static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to));
}

long HandheldDatabaseManager::SortRecords(long) { return store::kNotSupported; }
long HandheldDatabaseManager::ReorderByIds(const std::uint32_t*, long) { return store::kNotSupported; }

// Record IDs in handheld order.

long HandheldDatabaseManager::ListRecordIds(std::uint32_t* ids, long* capacity) {
  if (!capacity) return store::kMissingArgument;
  long count = 0;
  // Without the count nothing would be read, and an empty list would pass for the truth.
  const long counted = GetRecordCount(&count);
  if (counted != store::kOk) return counted;
  if (*capacity < count) {
    *capacity = count;
    return store::kBufferTooSmall;
  }
  if (!ids) return store::kMissingArgument;
  PositionMapBlock map;
  std::memset(&map, 0, sizeof map);
  map.handle = handle_;
  map.wanted = static_cast<std::uint16_t>(count);
  map.capacity = static_cast<std::uint16_t>(std::min<long>(*capacity, 0xFFFF));
  map.ids = ids;
  const long status = SyncReadPositionXMap(&map);
  if (status == store::kOk) SwapRecordIds(&map);
  return status;
}

void HandheldDatabaseManager::SwapRecordIds(PositionMapBlock* map) {
  if (!map || !map->ids) return;
  // Never more entries than the caller's array holds, whatever count the library reports.
  const std::uint16_t returned = map->returned < map->capacity ? map->returned : map->capacity;
  for (std::uint16_t i = 0; i < returned; ++i) map->ids[i] = SwapBytes32(map->ids[i]);
}

std::uint32_t HandheldDatabaseManager::SwapBytes32(std::uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

// Database properties.

long HandheldDatabaseManager::GetDatabaseName(char* buffer, long* capacity) const {
  if (!buffer || !capacity) return store::kMissingArgument;
  const long length = static_cast<long>(NameLength());
  if (length >= *capacity) {
    *capacity = length + 1;
    return store::kBufferTooSmall;
  }
  std::memcpy(buffer, name_.data(), NameLength() + 1);
  return store::kOk;
}

std::uint32_t HandheldDatabaseManager::GetCreator() const { return creator_; }
std::uint32_t HandheldDatabaseManager::GetDatabaseType() const { return type_; }
std::uint16_t HandheldDatabaseManager::GetDatabaseFlags() const { return flags_; }
std::uint16_t HandheldDatabaseManager::GetDatabaseVersion() const { return version_; }

std::size_t HandheldDatabaseManager::NameLength() const { return strnlen(name_.data(), name_.size()); }

long HandheldDatabaseManager::SetDatabaseName(const char* name) {
  if (IsOpen()) return store::kDatabaseIsOpen;
  if (!name || name[0] == '\0') {
    name_.fill('\0');
    return store::kOk;
  }
  const std::size_t length = strnlen(name, kNameField);
  if (length >= kNameField) return store::kValueTooLarge;
  name_.fill('\0');
  std::memcpy(name_.data(), name, length);
  return store::kOk;
}

long HandheldDatabaseManager::SetCreator(std::uint32_t creator) { return SetWhileClosed(creator_, creator); }
long HandheldDatabaseManager::SetDatabaseType(std::uint32_t type) { return SetWhileClosed(type_, type); }
long HandheldDatabaseManager::SetDatabaseFlags(std::uint16_t flags) { return SetWhileClosed(flags_, flags); }
long HandheldDatabaseManager::SetDatabaseVersion(std::uint16_t version) { return SetWhileClosed(version_, version); }

// Information blocks.

bool HandheldDatabaseManager::ReleaseInfoBuffer(DatabaseInfoBlock& block) {
  const auto lent =
      std::find_if(infoBuffers_.begin(), infoBuffers_.end(), [&](const std::unique_ptr<std::uint8_t[]>& buffer) {
        return block.data != nullptr && buffer.get() == block.data;
      });
  if (lent == infoBuffers_.end()) return false;
  infoBuffers_.erase(lent);
  block.data = nullptr;
  block.capacity = 0;
  return true;
}

long HandheldDatabaseManager::PrepareInfoBuffer(DatabaseInfoBlock* block, bool zero) {
  if (!block) return store::kMissingArgument;
  if (block->data) {
    if (zero) std::memset(block->data, 0, block->capacity);
    return store::kOk;
  }
  std::unique_ptr<std::uint8_t[]> buffer = base::MakeZeroedBytesOrNull(kInfoBufferSize);
  if (!buffer) return store::kOutOfMemory;
  if (!base::Allocated([&] { infoBuffers_.push_back(std::move(buffer)); })) return store::kOutOfMemory;
  block->data = infoBuffers_.back().get();
  block->capacity = kInfoBufferSize;
  return store::kOk;
}

long HandheldDatabaseManager::ReadInfoBlock(DatabaseInfoBlock* block, bool sortInfo) {
  if (long status = PrepareInfoBuffer(block, false)) return status;
  long status = store::kOk;
  std::memset(block->name, 0, sizeof block->name);
  std::memcpy(block->name, name_.data(), NameLength());
  std::memset(block->data, 0, block->capacity);
  block->dataSize = 0;
  if (sortInfo) {
    status = SyncReadDBSortInfoBlock(handle_, block);
  } else {
    // A database without an application information block reads as an empty one.
    ReadHandheldAppInfoBlock(handle_, block);
  }
  // A block larger than the buffer arrives cut; its size must not promise bytes the buffer lacks.
  if (block->dataSize > block->capacity) block->dataSize = block->capacity;
  if (status != store::kOk && ReleaseInfoBuffer(*block)) block->dataSize = 0;
  return status;
}

long HandheldDatabaseManager::GetAppInfo(DatabaseInfoBlock* block) {
  if (!block) return store::kMissingArgument;
  std::uint8_t* const data = block->data;
  const std::uint16_t capacity = block->capacity;
  std::memset(block, 0, sizeof *block);
  block->data = data;
  block->capacity = capacity;
  if (data) std::memset(data, 0, capacity);
  const long status = ReadInfoBlock(block, false);
  if (status != store::kOk) ReleaseInfoBuffer(*block);
  return status;
}

// The block's buffer goes back once written; the manager's own block then holds no data until it is
// read or filled again, so that no size outlives its bytes.
long HandheldDatabaseManager::SetAppInfo(DatabaseInfoBlock* block) {
  if (!block) return store::kMissingArgument;
  const long status = block->data == nullptr && block->dataSize > 0 ? store::kMissingArgument
                                                                    : WriteHandheldAppInfoBlock(handle_, block);
  if (ReleaseInfoBuffer(*block) && block == &appInfo_) appInfo_.dataSize = 0;
  return status;
}

bool HandheldDatabaseManager::HasInfoData(const DatabaseInfoBlock& block) const {
  return block.data != nullptr && block.dataSize > 0;
}

std::uint32_t HandheldDatabaseManager::AppSpecificStart() const { return HasCategoryBlock() ? kCategoryPrefix : 0; }

bool HandheldDatabaseManager::HasAppSpecificInfo() const {
  if (!HasInfoData(appInfo_)) return false;
  return !HasCategoryBlock() || appInfo_.dataSize > kCategoryPrefix;
}

// A block no longer than its category block has no application-specific data (rather than a
// negative amount of it).
std::uint32_t HandheldDatabaseManager::AppSpecificInfoSize() const {
  if (!HasInfoData(appInfo_)) return 0;
  const std::uint32_t start = AppSpecificStart();
  return appInfo_.dataSize > start ? appInfo_.dataSize - start : 0;
}

const std::uint8_t* HandheldDatabaseManager::AppSpecificInfoData() const {
  return AppSpecificInfoSize() == 0 ? nullptr : appInfo_.data + AppSpecificStart();
}

long HandheldDatabaseManager::GetAppSpecificInfo(void* buffer, std::uint32_t* size) const {
  const std::uint32_t needed = AppSpecificInfoSize();
  if (needed == 0) return store::kOk;
  if (!size) return store::kMissingArgument;
  if (*size < needed) {
    *size = needed;
    return store::kBufferTooSmall;
  }
  *size = needed;
  if (!buffer) return store::kMissingArgument;
  std::memcpy(buffer, AppSpecificInfoData(), needed);
  return store::kOk;
}

long HandheldDatabaseManager::SetAppSpecificInfo(std::uint32_t size, const void* data) {
  if (long status = PrepareInfoBuffer(&appInfo_, false)) return status;
  const std::uint32_t start = AppSpecificStart();
  std::memset(appInfo_.data + start, 0, appInfo_.capacity - start);
  if (size == 0) {
    appInfo_.dataSize = static_cast<std::uint16_t>(start);
    return store::kOk;
  }
  if (!data) return store::kMissingArgument;
  if (size > appInfo_.capacity - start) return store::kValueTooLarge;
  std::memcpy(appInfo_.data + start, data, size);
  appInfo_.dataSize = static_cast<std::uint16_t>(start + size);
  appInfoModified_ = true;
  return store::kOk;
}

// Categories.

long HandheldDatabaseManager::LoadCategories() { return HasAppInfo() ? BuildCategoryList() : store::kOk; }

long HandheldDatabaseManager::BuildCategoryList() {
  if (!HasCategoryBlock()) return store::kNoCategoryBlock;
  categories_.reset();
  if (!HasInfoData(appInfo_)) {
    if (long status = GetAppInfo(&appInfo_)) return status;
  }
  if (!HasInfoData(appInfo_)) return store::kOk;
  // Copied out of the packed block: MakeOrNull forwards references.
  const std::uint8_t* const data = appInfo_.data;
  categories_ = base::MakeOrNull<store::CategoryList>(data, static_cast<long>(appInfo_.dataSize));
  return categories_ ? store::kOk : store::kOutOfMemory;
}

long HandheldDatabaseManager::StoreCategoryList() {
  if (!categories_ || !categories_->IsChanged()) return store::kOk;
  if (long status = PrepareInfoBuffer(&appInfo_, false)) return status;
  long written = appInfo_.capacity;
  const long status = categories_->Store(appInfo_.data, &written);
  if (status == store::kOk && appInfo_.dataSize == 0) appInfo_.dataSize = static_cast<std::uint16_t>(written);
  return status;
}

// The block's buffer goes back with each write, so a later save first reads the block the handheld
// holds again: an empty block written over it would lose the categories and the application's data.
long HandheldDatabaseManager::SaveCategories() {
  if (!HasAppInfo()) return store::kOk;
  const bool categoriesChanged = HasCategoryBlock() && categories_ && categories_->IsChanged();
  if (!appInfoModified_ && !categoriesChanged) return store::kOk;
  if (!HasInfoData(appInfo_)) {
    if (long status = GetAppInfo(&appInfo_)) return status;
  }
  if (HasCategoryBlock()) StoreCategoryList();
  if (!HasInfoData(appInfo_)) return store::kOk;
  return SetAppInfo(&appInfo_);
}

}  // namespace korvet::handheld
