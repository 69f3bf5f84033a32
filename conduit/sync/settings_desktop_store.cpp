#include "conduit/sync/settings_desktop_store.h"

#include "conduit/store/category_list.h"
#include "conduit/store/status_codes.h"

namespace korvet::sync {
namespace {

using store::kOk;

// How many records the structured load reads between two yields to HotSync Manager.
constexpr std::uint16_t kYieldCycles = 100;

}  // namespace

SettingsDesktopStore::SettingsDesktopStore(store::SyncLogger* logger, std::uint32_t options, const char* remoteName,
                                           const char* fileName, const char* directory, long syncType)
    : DesktopDatabaseManager(logger, options, syncType, remoteName, fileName, directory) {
  title_.AssignText("");
  categories_ = std::make_unique<store::CategoryList>();
  SetRefusesZeroByte(true);
}

SettingsDesktopStore::~SettingsDesktopStore() = default;

long SettingsDesktopStore::FinishSync() {
  const long status = DesktopDatabaseManager::FinishSync();
  CloseFile(0);
  return status;
}

// A settings file has no application information, so there are no categories to build from it: that
// is no failure (it would otherwise stop every settings file from being sent).
long SettingsDesktopStore::LoadCategories() {
  const long status = DesktopDatabaseManager::LoadCategories();
  return status == store::kNoAppInfoForCategories ? kOk : status;
}

long SettingsDesktopStore::SaveFile() {
  if (!IsDirty() && (!categories_ || !categories_->IsChanged())) return kOk;
  long status = WriteSignature();
  if (status == kOk) status = WriteTexts();
  if (status == kOk) status = WriteCategories();
  if (status == kOk) status = WriteRecords();
  CloseFile(0);
  if (status == kOk) SetDirty(false);
  return status == kOk ? kOk : store::kSaveFailed;
}

long SettingsDesktopStore::LoadFile() {
  if (Path().empty()) return store::kNoFilePath;
  if (!IsFileOpen()) return store::kNoFileOpen;
  bool present = false;
  long status = ReadSignature(&present);
  if (status == kOk && present) status = ReadTexts();
  if (status == kOk && present) status = ReadCategories();
  if (status == kOk && present) status = ReadRecords();
  CloseFile(0);
  SetDirty(false);
  return status;
}

long SettingsDesktopStore::WriteSignature() { return WriteU32(signature_); }

long SettingsDesktopStore::ReadSignature(bool* present) {
  *present = false;
  std::uint32_t value = 0;
  const long status = ReadU32(&value);
  if (status != kOk) return kOk;  // nothing after the text
  *present = value == signature_;
  return kOk;
}

long SettingsDesktopStore::WriteTexts() {
  if (long status = WriteString(title_.Text() ? title_.Text() : "")) return status;
  return WriteString(note_.Text() ? note_.Text() : "");
}

long SettingsDesktopStore::ReadTexts() {
  if (long status = ReadStringInto(title_)) return status;
  return ReadStringInto(note_);
}

long SettingsDesktopStore::WriteCategories() {
  const long count = categories_ ? categories_->GetCount() : 0;
  if (long status = WriteU32(format_[2])) return status;
  if (long status = WriteU32(static_cast<std::uint32_t>(count))) return status;
  for (long number = 0; categories_ && number < store::kCategoryCount; ++number) {
    const store::CPCategory* category = categories_->GetAt(number);
    if (!category) continue;
    if (long status = WriteU8(static_cast<std::uint8_t>(number))) return status;
    if (long status = WriteU8(static_cast<std::uint8_t>(category->GetId()))) return status;
    if (long status = WriteString(category->GetName() ? category->GetName() : "")) return status;
  }
  return kOk;
}

long SettingsDesktopStore::ReadCategories() {
  std::uint32_t tag = 0;
  std::uint32_t count = 0;
  if (long status = ReadU32(&tag)) return status;
  if (tag != format_[2]) return store::kHeaderUnreadable;
  if (long status = ReadU32(&count)) return status;
  if (count > static_cast<std::uint32_t>(store::kCategoryCount)) return store::kHeaderUnreadable;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint8_t number = 0;
    std::uint8_t id = 0;
    char name[store::CPCategory::kMaxNameLength + 1] = {};
    long size = sizeof name;
    if (long status = ReadU8(&number)) return status;
    if (long status = ReadU8(&id)) return status;
    if (long status = ReadString(name, &size)) return status;
    if (number >= store::kCategoryCount) return store::kHeaderUnreadable;
    store::CPCategory category(number, id, name);
    categories_->Add(category);
  }
  return kOk;
}

long SettingsDesktopStore::WriteRecords() {
  if (long status = WriteU32(format_[1])) return status;
  long count = 0;
  GetRecordCount(&count);
  if (long status = WriteU32(static_cast<std::uint32_t>(count))) return status;
  return WritePackedRecords(false);
}

long SettingsDesktopStore::ReadRecords() {
  std::uint32_t tag = 0;
  std::uint32_t count = 0;
  if (long status = ReadU32(&tag)) return status;
  if (tag != format_[1]) return store::kRecordHeadUnreadable;
  if (long status = ReadU32(&count)) return status;
  return ReadPackedRecords(count, kYieldCycles);
}

}  // namespace korvet::sync
