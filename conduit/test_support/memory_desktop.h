// A desktop side kept in memory for synchronizer tests: the records and categories a test gives it,
// and what is left of them when the synchronizer releases the store.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "conduit/platform/sync_type_table.h"
#include "conduit/store/category_list.h"
#include "conduit/store/database_manager.h"
#include "conduit/store/status_codes.h"
#include "conduit/store/sync_record.h"

namespace korvet::testing {

struct DesktopCategory {
  long index;
  long id;
  std::string name;
};

struct MemoryDesktop {
  std::vector<store::SyncRecord> records;  // what the store starts with
  std::vector<DesktopCategory> categories;
  bool withCategories = false;
  long openStatus = 0;                  // what OpenForSync answers in a fast or slow sync
  std::vector<store::SyncRecord> left;  // what the store held when it was released
};

class MemoryDesktopStore : public store::DatabaseManager {
 public:
  MemoryDesktopStore(MemoryDesktop& side, std::uint32_t options, long syncType)
      : DatabaseManager(options, syncType), side_(side) {
    for (store::SyncRecord record : side.records) AddRecordAsIs(record);
    if (side.withCategories) {
      categories_ = std::make_unique<store::CategoryList>();
      for (const DesktopCategory& c : side.categories) {
        store::CPCategory category(c.index, c.id, c.name.c_str());
        categories_->Add(category);
      }
      categories_->SetChanged(false);
    }
  }
  ~MemoryDesktopStore() override {
    side_.left.clear();
    for (long slot = 0; slot < HighWaterMark(); ++slot) {
      if (const store::SyncRecord* record = RecordAt(slot)) side_.left.push_back(*record);
    }
  }

  // The test's open status answers where a missing file makes the sync fall back to a copy.
  long OpenForSync() override {
    const SyncTypeRow* row = FindSyncType(syncType_);
    return row && row->desktopOpening == DesktopOpening::kReadOrFallBack ? side_.openStatus : store::kOk;
  }
  long LoadContents() override {
    if (PassOf(syncType_) != SyncPass::kSlow) return store::kOk;
    for (long slot = 0; slot < HighWaterMark(); ++slot) {
      if (store::SyncRecord* record = StoredAt(slot)) record->SetUnmatched(true);
    }
    return store::kOk;
  }
  long FinishSync() override { return store::kOk; }
  long NextUnmatched(store::SyncRecord& record) override {
    return StepWhere(record, [](const store::SyncRecord& stored) { return stored.IsUnmatched(); });
  }
  long LoadCategories() override { return side_.withCategories ? store::kOk : store::kNoCategoryBlock; }
  long SaveCategories() override { return store::kOk; }
  long RemapCategories(const long* table) override {
    for (long slot = 0; slot < HighWaterMark(); ++slot) {
      store::SyncRecord* record = StoredAt(slot);
      if (record && table[record->GetCategory()] != -1) record->SetCategory(table[record->GetCategory()]);
    }
    return store::kOk;
  }

 private:
  MemoryDesktop& side_;
};

}  // namespace korvet::testing
