// The synchronizer's application information: category reconciliation, the application-specific
// block and the copies of the whole block in the copy sync types.
#include <cstring>
#include <string>
#include <vector>

#include "conduit/base/allocation.h"
#include "conduit/platform/sync_type_table.h"
#include "conduit/store/status_codes.h"
#include "conduit/sync/record_synchronizer.h"

namespace korvet::sync {
namespace {

using store::kOk;

constexpr long kCategoryModeHandheldChanged = 1;
constexpr long kCategoryModeDesktopChanged = 2;
constexpr std::uint32_t kInfoBufferSize = 65520;

// A category's name as a string (empty for none), safe to keep once the category is removed.
std::string NameOf(const CPCategory& category) { return category.GetName() ? category.GetName() : ""; }

// The application information block of `from`, through a buffer of the largest size.
long CopyAppInfo(DatabaseManager& from, DatabaseManager& to) {
  if (!from.HasAppInfo() || !to.HasAppInfo()) return kOk;
  std::vector<std::uint8_t> buffer;
  if (!base::AssignZeroed(buffer, kInfoBufferSize)) return store::kOutOfMemory;
  handheld::DatabaseInfoBlock block{};
  block.capacity = static_cast<std::uint16_t>(kInfoBufferSize);
  block.data = buffer.data();
  if (long status = from.GetAppInfo(&block)) return status;
  return to.SetAppInfo(&block);
}

long IgnoreMissingCategoryBlock(long status) { return status == store::kNoCategoryBlock ? kOk : status; }

}  // namespace

long RecordSynchronizer::SyncAppInfo() {
  DatabaseManager& handheld = *HandheldStore();
  DatabaseManager& desktop = *DesktopStore();
  if (!handheld.HasAppInfo() || !desktop.HasAppInfo()) return kOk;
  if (long status = IgnoreMissingCategoryBlock(handheld.LoadCategories())) return status;
  if (long status = IgnoreMissingCategoryBlock(desktop.LoadCategories())) return status;
  if (handheld.HasCategoryBlock() && desktop.HasCategoryBlock()) {
    if (long status = SyncCategories()) return status;
  }

  const std::uint32_t handheldSize = handheld.AppSpecificInfoSize();
  const std::uint32_t desktopSize = desktop.AppSpecificInfoSize();
  if (handheld.HasAppSpecificInfo()) {
    const bool same = desktopSize == handheldSize &&
                      std::memcmp(desktop.AppSpecificInfoData(), handheld.AppSpecificInfoData(), handheldSize) == 0;
    if (!same) {
      if (long status = desktop.SetAppSpecificInfo(handheldSize, handheld.AppSpecificInfoData())) return status;
    }
  } else if (desktop.HasAppSpecificInfo()) {
    if (long status = handheld.SetAppSpecificInfo(desktopSize, desktop.AppSpecificInfoData())) return status;
  }

  const long saved = handheld.SaveCategories();
  const long desktopSaved = desktop.SaveCategories();
  return saved != kOk ? saved : desktopSaved;
}

long RecordSynchronizer::CopyAppInfoToDesktop() { return CopyAppInfo(*HandheldStore(), *DesktopStore()); }

long RecordSynchronizer::CopyAppInfoToHandheld() { return CopyAppInfo(*DesktopStore(), *HandheldStore()); }

// Category reconciliation. The desktop list is the working list: a category leaves it once settled.

long RecordSynchronizer::SyncCategories() {
  if ((Options() & kOptionKeepsCategories) == 0) return kOk;
  CategoryList* handheldList = HandheldStore()->GetCategoryList();
  CategoryList* desktopList = DesktopStore()->GetCategoryList();
  if (!handheldList || !desktopList) return kOk;
  if (desktopList->Equals(*handheldList)) return kOk;

  PrepareCategories(*handheldList, *desktopList);
  if (Properties().categoryMode != kCategoryModeDesktopChanged) {
    if (long status = DropUnmatchedCategories(*desktopList, *handheldList, *DesktopStore(), false)) return status;
    if (long status = DropUnmatchedCategories(*handheldList, *desktopList, *HandheldStore(), true)) return status;
  }
  if (long status = MatchCategories(*handheldList, *desktopList)) return status;
  if (long status = AddNewCategories(*handheldList, *desktopList)) return status;
  if (CategoryMapInUse()) {
    if (long status = DesktopStore()->RemapCategories(CategoryMap().data())) return status;
  }
  for (long number = 0; number < store::kCategoryCount; ++number) {
    if (CPCategory* category = handheldList->GetAt(number)) {
      CPCategory copy(*category);
      desktopList->AddAndMarkChanged(copy);
    }
  }
  return kOk;
}

long RecordSynchronizer::PrepareCategories(CategoryList& handheld, CategoryList& desktop) {
  const bool slow = PassOf(SyncType()) == SyncPass::kSlow;
  switch (Properties().categoryMode) {
    case kCategoryModeHandheldChanged:
      handheld.MarkAllChanged();
      break;
    case kCategoryModeDesktopChanged:
      desktop.MarkAllChanged();
      if (slow) handheld.MarkAllChanged();
      break;
    default:
      if (slow) handheld.MarkAllChanged();
      break;
  }
  return kOk;
}

long RecordSynchronizer::DropUnmatchedCategories(CategoryList& list, const CategoryList& other, DatabaseManager& owner,
                                                 bool handheldSide) {
  // Unfiled, the category every record falls back to, is never dropped.
  for (long number = 1; number < store::kCategoryCount; ++number) {
    CPCategory* category = list.GetAt(number);
    if (!category || category->IsChanged()) continue;
    const std::string name = NameOf(*category);
    if ((!name.empty() && other.FindByName(name.c_str())) || other.FindById(category->GetId())) continue;
    if (long status = owner.ChangeCategory(number, 0)) return status;
    list.RemoveAt(number);
    // The handheld side logs its dropped categories with the local-category text.
    if (handheldSide) Logger()->ReportCategoryDeleted(name.c_str(), store::kSideDesktop);
  }
  return kOk;
}

long RecordSynchronizer::MatchCategories(CategoryList& handheld, CategoryList& working) {
  // Unfiled pairs with Unfiled whatever either side calls it: its records never move to another
  // category, and it never takes a new index.
  if (working.GetAt(0)) working.RemoveAt(0);
  for (long number = 0; number < store::kCategoryCount; ++number) {
    CPCategory* found = handheld.GetAt(number);
    if (!found) continue;
    const CPCategory h(*found);
    const std::string name = NameOf(h);
    CPCategory* byName = name.empty() ? nullptr : working.FindByName(name.c_str());
    if (byName) {
      const CPCategory d(*byName);
      CPCategory* byId = working.FindById(h.GetId());
      const bool third = byId && byId->GetIndex() != d.GetIndex();
      const CPCategory e = third ? CPCategory(*byId) : CPCategory();
      if (d.GetIndex() == h.GetIndex()) {
        if (d.GetId() != h.GetId() && third) {
          if (DesktopStore()->ChangeCategory(e.GetIndex(), h.GetIndex()) != kOk) {
            Logger()->ReportMoveToUnfiledFailure(NameOf(e).c_str(), store::kSideDesktop);
          }
          working.RemoveAt(e.GetIndex());
        }
      } else {
        MapCategory(d, h);
        if (third) {
          MapCategory(e, h);
          working.RemoveAt(e.GetIndex());
        }
      }
      working.RemoveAt(d.GetIndex());
      continue;
    }
    if (CPCategory* byId = working.FindById(h.GetId())) {
      const CPCategory d(*byId);
      if (d.IsChanged() && !h.IsChanged()) {
        handheld.RenameAt(h.GetIndex(), NameOf(d).c_str());
        handheld.SetChanged(true);
      }
      if (d.GetIndex() != h.GetIndex()) MapCategory(d, h);
      working.RemoveAt(d.GetIndex());
    }
  }
  return kOk;
}

long RecordSynchronizer::AddNewCategories(CategoryList& handheld, CategoryList& working) {
  for (long number = 0; number < store::kCategoryCount; ++number) {
    CPCategory* found = working.GetAt(number);
    if (!found) continue;
    CPCategory added(*found);
    const std::string name = NameOf(added);
    const long free = handheld.FreeIndex();
    if (free != -1) {
      added.SetIndex(free);
      if (long status = handheld.Add(added)) return status;
      SetCategoryMapping(number, free);
      working.RemoveAt(number);
      continue;
    }
    Logger()->ReportTooManyCategories(name.c_str(), store::kSideDesktop);
    if (long status = DesktopStore()->ChangeCategory(number, 0)) return status;
    working.RemoveAt(number);
    Logger()->ReportCategoryDeleted(name.c_str(), store::kSideDesktop);
  }
  return kOk;
}

void RecordSynchronizer::MapCategory(const CPCategory& desktop, const CPCategory& handheld) {
  SetCategoryMapping(desktop.GetIndex(), handheld.GetIndex());
}

}  // namespace korvet::sync
