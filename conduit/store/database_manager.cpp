#include "conduit/store/database_manager.h"

#include <algorithm>
#include <new>
#include <utility>

#include "conduit/base/allocation.h"
#include "conduit/store/status_codes.h"

namespace korvet::store {

DatabaseManager::DatabaseManager(std::uint32_t options, long syncType) : syncType_(syncType), options_(options) {}

DatabaseManager::~DatabaseManager() = default;

const SyncRecord* DatabaseManager::RecordAt(long slot) const {
  return slot >= 0 && slot < Capacity() ? table_[static_cast<std::size_t>(slot)].get() : nullptr;
}

SyncRecord* DatabaseManager::StoredAt(long slot) { return const_cast<SyncRecord*>(RecordAt(slot)); }

bool DatabaseManager::PutAt(long slot, std::unique_ptr<SyncRecord> record) {
  if (slot < 0 || slot >= Capacity()) return false;
  auto& entry = table_[static_cast<std::size_t>(slot)];
  if (entry) --recordCount_;
  entry = std::move(record);
  if (entry) {
    ++recordCount_;
    highWater_ = std::max(highWater_, slot + 1);
  } else {
    filledBelow_ = std::min(filledBelow_, slot);
  }
  return true;
}

bool DatabaseManager::DestroyAt(long slot) {
  if (!RecordAt(slot)) return false;
  table_[static_cast<std::size_t>(slot)].reset();
  --recordCount_;
  filledBelow_ = std::min(filledBelow_, slot);
  return true;
}

// Operations that need a real database belong to the derived managers.
long DatabaseManager::Open(long) { return kNotSupported; }
long DatabaseManager::OpenForSync() { return kNotSupported; }
long DatabaseManager::Close(long) { return kNotSupported; }
long DatabaseManager::ReservedOperation(long) { return kNotSupported; }
long DatabaseManager::ReadFirstNewRecord(SyncRecord&) { return kNotSupported; }
long DatabaseManager::LoadContents() { return kNotSupported; }
long DatabaseManager::FinishSync() { return kNotSupported; }
long DatabaseManager::LoadCategories() { return kNotSupported; }
long DatabaseManager::SaveCategories() { return kNotSupported; }
long DatabaseManager::RemapCategories(const long*) { return kNotSupported; }
long DatabaseManager::GetSortInfo(DatabaseInfoBlock*) { return kNotSupported; }
long DatabaseManager::SetSortInfo(DatabaseInfoBlock*) { return kNotSupported; }
long DatabaseManager::GetAppInfo(DatabaseInfoBlock*) { return kNotSupported; }
long DatabaseManager::SetAppInfo(DatabaseInfoBlock*) { return kNotSupported; }
bool DatabaseManager::HasAppSpecificInfo() const { return false; }
long DatabaseManager::SetAppSpecificInfo(std::uint32_t, const void*) { return kNotSupported; }
long DatabaseManager::GetAppSpecificInfo(void*, std::uint32_t*) const { return kNotSupported; }
const std::uint8_t* DatabaseManager::AppSpecificInfoData() const { return nullptr; }
std::uint32_t DatabaseManager::AppSpecificInfoSize() const { return 0; }
long DatabaseManager::SetDatabaseInfo(const char*, std::uint16_t, std::uint32_t, std::uint32_t, std::uint16_t,
                                      std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {
  return kNotSupported;
}
long DatabaseManager::BuildCategoryList() { return kNotSupported; }
long DatabaseManager::StoreCategoryList() { return kNotSupported; }
long DatabaseManager::NextUnmatched(SyncRecord&) { return kNotSupported; }

CategoryList* DatabaseManager::GetCategoryList() const { return categories_.get(); }

bool DatabaseManager::HasCategoryBlock() const {
  return (options_ & (kOptionAppInfo | kOptionCategoryBlock)) == (kOptionAppInfo | kOptionCategoryBlock);
}

void DatabaseManager::SetHasCategoryBlock(bool value) {
  if (value) {
    options_ |= kOptionAppInfo | kOptionCategoryBlock;
  } else {
    options_ &= ~kOptionCategoryBlock;
  }
}

bool DatabaseManager::HasAppInfo() const { return (options_ & kOptionAppInfo) != 0; }

void DatabaseManager::SetHasAppInfo(bool value) {
  if (value) {
    options_ |= kOptionAppInfo;
  } else {
    options_ &= ~(kOptionAppInfo | kOptionCategoryBlock);
  }
}

bool DatabaseManager::HasOption4() const { return (options_ & kOption4) != 0; }

void DatabaseManager::SetOption4(bool value) {
  if (value) {
    options_ |= kOption4;
  } else {
    options_ &= ~kOption4;
  }
}

long DatabaseManager::GetRecordCount(long* count) {
  if (!count) return kMissingOutput;
  *count = recordCount_;
  return kOk;
}

long DatabaseManager::SetSyncType(long type) {
  syncType_ = type;
  return kOk;
}

long DatabaseManager::FindRecordPosition(std::uint32_t id) const {
  for (long slot = 0; slot < highWater_; ++slot) {
    const SyncRecord* stored = RecordAt(slot);
    if (stored && stored->GetId() == id) return slot;
  }
  return -1;
}

long DatabaseManager::ReadRecordById(std::uint32_t id, SyncRecord& record, bool) {
  SyncRecord* stored = StoredAt(FindRecordPosition(id));
  if (!stored) return kNoMoreRecords;
  record.CopyFrom(*stored);
  stored->SetUnmatched(false);
  return kOk;
}

// Iteration.

long DatabaseManager::StartIteration(long kind, SyncRecord& record) {
  iterationKind_ = kind;
  iterationPosition_ = 0;
  return ReadNextRecord(record);
}

long DatabaseManager::ReadFirstRecord(SyncRecord& record) { return StartIteration(kIterateAll, record); }

long DatabaseManager::ReadFirstUnmatched(SyncRecord& record) { return StartIteration(kIterateUnmatched, record); }

// A manager that cannot sort (the handheld's) still iterates; the order is then the table's.
long DatabaseManager::ReadFirstChanged(SyncRecord& record) {
  SortRecords(kSortChangedFirst);
  return StartIteration(kIterateChanged, record);
}

// The mask selects the records, so the iteration takes the attribute-mask step.
long DatabaseManager::ReadFirstWithAttributes(std::uint32_t mask, SyncRecord& record) {
  SortRecords(kSortChangedFirst);
  iterationMask_ = mask;
  return StartIteration(kIterateWithAttributes, record);
}

long DatabaseManager::ReadFirstInCategory(long category, SyncRecord& record) {
  SortRecords(kSortByCategory);
  iterationCategory_ = category;
  return StartIteration(kIterateInCategory, record);
}

long DatabaseManager::ReadFirstChangedInCategory(long category, SyncRecord& record) {
  SortRecords(kSortChangedByCategory);
  iterationCategory_ = category;
  return StartIteration(kIterateChangedInCategory, record);
}

long DatabaseManager::ReadNextRecord(SyncRecord& record) {
  switch (iterationKind_) {
    case kIterateAll:
      return NextAny(record);
    case kIterateChanged:
      return NextChanged(record);
    case kIterateInCategory:
      return NextInCategory(record);
    case kIterateChangedInCategory:
      return NextChangedInCategory(record);
    case kIterateUnmatched:
      return NextUnmatched(record);
    default:
      return iterationKind_ > kLastIterationKind || iterationKind_ < 0 ? kInvalidIteration : NextWithAttributes(record);
  }
}

long DatabaseManager::StepWhere(SyncRecord& record, const std::function<bool(const SyncRecord&)>& qualifies) {
  for (long slot = std::max(iterationPosition_, 0L); slot < highWater_; ++slot) {
    const SyncRecord* stored = RecordAt(slot);
    if (stored && qualifies(*stored)) {
      record.CopyFrom(*stored);
      iterationPosition_ = slot + 1;
      return kOk;
    }
  }
  iterationPosition_ = highWater_;
  return kNoMoreRecords;
}

long DatabaseManager::NextAny(SyncRecord& record) {
  return StepWhere(record, [](const SyncRecord&) { return true; });
}

long DatabaseManager::NextChanged(SyncRecord& record) {
  return StepWhere(record, [](const SyncRecord& stored) { return stored.IsChanged(); });
}

long DatabaseManager::NextWithAttributes(SyncRecord& record) {
  for (;;) {
    const long status = NextChanged(record);
    if (status != kOk || (record.GetAttributeState() & iterationMask_) != 0) return status;
  }
}

long DatabaseManager::NextInCategory(SyncRecord& record) {
  return StepWhere(record, [this](const SyncRecord& stored) { return stored.GetCategory() == iterationCategory_; });
}

long DatabaseManager::NextChangedInCategory(SyncRecord& record) {
  return StepWhere(record, [this](const SyncRecord& stored) {
    return stored.IsChanged() && stored.GetCategory() == iterationCategory_;
  });
}

long DatabaseManager::ReadRecordByOrdinal(long n, SyncRecord& record) {
  long seen = 0;
  for (long slot = 0; slot < highWater_; ++slot) {
    const SyncRecord* stored = RecordAt(slot);
    if (stored && seen++ == n) {
      record.CopyFrom(*stored);
      return kOk;
    }
  }
  return kNoMoreRecords;
}

long DatabaseManager::ReadRecordByHandheldIndex(long handheldIndex, SyncRecord& record) {
  for (long slot = 0; slot < highWater_; ++slot) {
    const SyncRecord* stored = RecordAt(slot);
    if (stored && stored->GetHandheldIndex() == handheldIndex) {
      record.CopyFrom(*stored);
      return kOk;
    }
  }
  return kNoMoreRecords;
}

long DatabaseManager::ReadRecordByIdAndHandheldIndex(std::uint32_t id, long handheldIndex, SyncRecord& record) {
  for (long slot = 0; slot < highWater_; ++slot) {
    const SyncRecord* stored = RecordAt(slot);
    if (stored && stored->GetId() == id && stored->GetHandheldIndex() == handheldIndex) {
      record.CopyFrom(*stored);
      return kOk;
    }
  }
  return kNoMoreRecords;
}

// Adding, changing and removing records.

std::unique_ptr<SyncRecord> DatabaseManager::CloneRecord(const SyncRecord& record) const {
  return base::MakeOrNull<SyncRecord>(record);
}

long DatabaseManager::AddRecord(SyncRecord& record) {
  record.ResetSyncState();
  return AddRecordAsIs(record);
}

long DatabaseManager::AddRecordAsIs(SyncRecord& record) {
  long slot = std::min(filledBelow_, Capacity());
  while (slot < Capacity() && table_[static_cast<std::size_t>(slot)]) ++slot;
  filledBelow_ = slot;  // the slots below are filled; this one stays free if what follows fails
  if (slot == Capacity()) {
    if (long status = GrowTable(Capacity() + kTableGrowth)) return status;
  }
  std::unique_ptr<SyncRecord> copy = CloneRecord(record);
  if (!copy) return kOutOfMemory;
  copy->SetIndex(slot);
  record.SetIndex(slot);
  PutAt(slot, std::move(copy));
  MarkDirty();
  return kOk;
}

// The stored record takes every value of the argument but keeps its slot as its index, and leaves
// with its attributes and marks cleared.
long DatabaseManager::ModifyRecordById(SyncRecord& record) {
  const long slot = FindRecordPosition(record.GetId());
  return Replace(slot, record);
}

long DatabaseManager::ModifyRecordAt(long slot, SyncRecord& record) { return Replace(slot, record); }

long DatabaseManager::Replace(long slot, const SyncRecord& record) {
  SyncRecord* stored = StoredAt(slot);
  if (!stored) return kRecordNotFound;
  MarkDirty();
  stored->SetUnmatched(false);
  const long status = stored->Assign(record);
  stored->SetIndex(slot);
  stored->ResetSyncState();
  return status;
}

long DatabaseManager::DeleteRecord(SyncRecord& record) {
  const long slot = record.GetId() == 0 ? record.GetIndex() : FindRecordPosition(record.GetId());
  if (!DestroyAt(slot)) return kRecordNotFound;
  MarkDirty();
  return kOk;
}

long DatabaseManager::PurgeDeletedRecords() {
  bool any = false;
  for (long slot = 0; slot < highWater_; ++slot) {
    const SyncRecord* stored = RecordAt(slot);
    if (stored && stored->IsDeleted() && DestroyAt(slot)) any = true;
  }
  if (any) MarkDirty();
  return kOk;
}

// Category-wide operations.

long DatabaseManager::PurgeCategory(long category, bool moveToUnfiled) {
  if (!IsCategoryNumber(category)) return kCategoryOutOfRange;
  if (moveToUnfiled) return ChangeCategory(category, 0);
  for (long slot = 0; slot < highWater_; ++slot) {
    const SyncRecord* stored = RecordAt(slot);
    if (stored && stored->GetCategory() == category) DestroyAt(slot);
  }
  MarkDirty();
  return kOk;
}

long DatabaseManager::ChangeCategory(long from, long to) {
  if (!IsCategoryNumber(from) || !IsCategoryNumber(to)) return kCategoryOutOfRange;
  for (long slot = 0; slot < highWater_; ++slot) {
    SyncRecord* stored = StoredAt(slot);
    if (stored && stored->GetCategory() == from) {
      stored->SetCategory(to);
      stored->SetModified(true);
    }
  }
  MarkDirty();
  return kOk;
}

// The table.

void DatabaseManager::DeleteAllRecords() {
  table_.clear();
  table_.shrink_to_fit();
  recordCount_ = 0;
  highWater_ = 0;
  filledBelow_ = 0;
}

// Only the pointers move to the larger table; a capacity that would not hold every slot in use is
// refused.
long DatabaseManager::GrowTable(long capacity) {
  if (capacity < highWater_) return kMissingArgument;
  return base::Allocated([&] { table_.resize(static_cast<std::size_t>(capacity)); }) ? kOk : kOutOfMemory;
}

long DatabaseManager::AllocateTable(long capacity) {
  if (capacity < 0) return kMissingArgument;
  DeleteAllRecords();
  return GrowTable(capacity);
}

void DatabaseManager::Reset() {
  DeleteAllRecords();
  categories_.reset();
  iterationKind_ = kIterateAll;
  iterationPosition_ = 0;
  iterationCategory_ = 0;
  iterationMask_ = 0;
  reservedSetting_ = kReservedSettingDefault;
}

long DatabaseManager::ListRecordIds(std::uint32_t* ids, long* count) {
  if (!count) return kMissingArgument;
  if (*count < recordCount_) {
    *count = recordCount_;
    return kBufferTooSmall;
  }
  if (!ids) return kMissingArgument;
  long stored = 0;
  for (long slot = 0; slot < highWater_; ++slot) {
    if (const SyncRecord* record = RecordAt(slot)) ids[stored++] = record->GetId();
  }
  *count = stored;
  return kOk;
}

long DatabaseManager::ReorderByIds(const std::uint32_t* ids, long count) {
  if (recordCount_ == 0) return kOk;
  if (count != recordCount_) return kReorderCountMismatch;
  if (!ids) return kMissingArgument;
  std::vector<std::unique_ptr<SyncRecord>> reordered;
  if (!base::Allocated([&] { reordered.resize(table_.size()); })) return kOutOfMemory;
  // Records move into the new table as they are placed, so an ID given twice finds its record only
  // once; on failure they all go back where they were.
  std::vector<long> origin(table_.size(), -1);
  auto restore = [&] {
    for (std::size_t slot = 0; slot < reordered.size(); ++slot) {
      if (reordered[slot]) table_[static_cast<std::size_t>(origin[slot])] = std::move(reordered[slot]);
    }
  };
  long placed = 0;
  for (long i = 0; i < count; ++i) {
    if (ids[i] == kNoRecordId) continue;
    const long from = FindRecordPosition(ids[i]);
    if (from < 0) {
      restore();
      return kReorderUnknownId;
    }
    origin[static_cast<std::size_t>(i)] = from;
    reordered[static_cast<std::size_t>(i)] = std::move(table_[static_cast<std::size_t>(from)]);
    ++placed;
  }
  if (placed != recordCount_) {
    restore();
    return kReorderCountMismatch;
  }
  table_ = std::move(reordered);
  filledBelow_ = 0;
  highWater_ = 0;
  for (long slot = 0; slot < Capacity(); ++slot) {
    if (table_[static_cast<std::size_t>(slot)]) highWater_ = slot + 1;
  }
  RenumberIndexes();
  MarkDirty();
  return kOk;
}

// Sorting.

void DatabaseManager::RenumberIndexes() {
  for (long slot = 0; slot < highWater_; ++slot) {
    if (SyncRecord* stored = StoredAt(slot)) stored->SetIndex(slot);
  }
}

template <typename Key>
void DatabaseManager::ExchangeSort(Key key) {
  for (long i = 0; i < highWater_; ++i) {
    auto& first = table_[static_cast<std::size_t>(i)];
    if (!first) continue;
    for (long j = highWater_ - 1; j > i; --j) {
      auto& later = table_[static_cast<std::size_t>(j)];
      if (later && key(*later) < key(*first)) std::swap(first, later);
    }
  }
  RenumberIndexes();
}

template <typename Wanted>
void DatabaseManager::BringForward(Wanted wanted) {
  for (long i = 0; i < highWater_; ++i) {
    auto& slot = table_[static_cast<std::size_t>(i)];
    if (!slot || wanted(*slot)) continue;
    for (long j = i + 1; j < highWater_; ++j) {
      auto& later = table_[static_cast<std::size_t>(j)];
      if (later && wanted(*later)) {
        std::swap(slot, later);
        break;
      }
    }
  }
  RenumberIndexes();
}

long DatabaseManager::SortRecords(long kind) {
  switch (kind) {
    case kSortById:
      return SortById();
    case kSortChangedFirst:
      return SortChangedFirst();
    case kSortUnmatchedFirst:
      return SortUnmatchedFirst();
    case kSortByCategory:
    case kSortChangedByCategory:
      return SortByCategory();
    default:
      return kNotSupported;
  }
}

long DatabaseManager::SortById() {
  ExchangeSort([](const SyncRecord& record) { return record.GetId(); });
  return kOk;
}

long DatabaseManager::SortByCategory() {
  ExchangeSort([](const SyncRecord& record) { return static_cast<std::uint32_t>(record.GetCategory()); });
  return kOk;
}

long DatabaseManager::SortChangedFirst() {
  BringForward([](const SyncRecord& record) { return record.IsChanged(); });
  return kOk;
}

long DatabaseManager::SortUnmatchedFirst() {
  BringForward([](const SyncRecord& record) { return record.IsUnmatched(); });
  return kOk;
}

}  // namespace korvet::store
