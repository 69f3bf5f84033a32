#include "conduit/store/desktop_database_manager.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>

#include "common/error_text.h"
#include "conduit/base/allocation.h"
#include "conduit/base/ansi_text.h"
#include "conduit/platform/hotsync_log.h"
#include "conduit/platform/sync_type_table.h"
#include "conduit/store/desktop_path.h"
#include "conduit/store/settings_record_source.h"
#include "conduit/store/status_codes.h"
#include "conduit/store/sync_logger.h"

namespace korvet::store {
namespace {

// A name from a fixed field may fill the field without a NUL.
std::string BoundedName(const char* name, std::size_t field) {
  if (!name) return {};
  std::string text(name, strnlen(name, field));
  text.resize(base::BoundedLength(text.c_str(), kDatabaseNameChars));
  return text;
}

// The application-specific part follows the category block when the database has one.
constexpr std::uint32_t kCategoryPrefix = static_cast<std::uint32_t>(kCategoryBlockSize);
// The head and category block that a replaced application block keeps.
constexpr std::uint32_t kKeptWithCategories = kInfoBlockHeadSize + kCategoryPrefix;

}  // namespace

DesktopDatabaseManager::DesktopDatabaseManager() : DatabaseManager(0, kDoNothing) {}

DesktopDatabaseManager::DesktopDatabaseManager(SyncLogger* logger, std::uint32_t options, long syncType,
                                               const char* remoteName, const char* fileName, const char* directory)
    : DatabaseManager(options, syncType), logger_(logger), remoteName_(BoundedName(remoteName, SIZE_MAX)) {
  SetPath(BuildDesktopPath(directory, fileName));
}

DesktopDatabaseManager::~DesktopDatabaseManager() = default;

void DesktopDatabaseManager::SetPath(const std::string& path) {
  if (path.size() > kMaxPathChars) {
    path_.clear();
    refusedPath_ = path;
  } else {
    path_ = path;
    refusedPath_.clear();
  }
}

// Opening.

long DesktopDatabaseManager::Open(long mode) {
  Close(0);
  long result = kOk;
  switch (mode) {
    case kOpenModeRead: {
      if (!path_.empty()) file_ = WinFile::OpenForReading(path_);
      if (!file_) return ReportNotOpened();
      std::string text;
      leadingTextAtZero_ = false;
      if (ReadLeadingText(text) != kOk) return Refuse(kSettingsFileUnreadableText);
      if (leadingTextAtZero_ && refusesZeroByte_ && sharesLeadingText_) return Refuse(kSettingsFileDamagedText);
      // The text of a settings file starts with the model name; one of its first two letters in place
      // is enough. A rejected file stays open, and its text still goes to the shared store.
      const bool accepted = (text.size() > 0 && text[0] == 'K') || (text.size() > 1 && text[1] == 'o');
      if (!accepted) result = kDesktopFileNotFound;
      if (!sharesLeadingText_) break;
      SettingsRecordSource& shared = SharedSettingsRecordSource();
      if (shared.SetFileName(path_.c_str()) != kOk) {
        LogLine(std::string(kSettingsNameTooLongText) + path_);
        result = kDesktopFileNotFound;
      } else if (shared.BuildRecordText(text.c_str()) != kOk) {
        LogLine(std::string(kSettingsTextTooLongText) + path_);
        result = kDesktopFileNotFound;
      } else if (!accepted) {
        LogLine(std::string(kNotASettingsFileText) + path_);
      }
      break;
    }
    case kOpenModeWrite:
      if (!path_.empty()) file_ = WinFile::OpenForWriting(path_);
      break;
    case kOpenModeReadWrite:
      if (!path_.empty()) file_ = WinFile::OpenForUpdate(path_);
      break;
    default:
      break;
  }
  return file_.IsOpen() ? result : kDesktopFileNotFound;
}

long DesktopDatabaseManager::ReportNotOpened() {
  const DWORD error = path_.empty() ? ERROR_FILE_NOT_FOUND : file_.OpenError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
    LogLine(kSettingsFileMissingText);
    LogLine(path_.empty() ? refusedPath_ : path_);
  } else if (sharesLeadingText_) {
    LogLine("Ostrel settings file could not be opened (" + FileErrorText(error) + "), not sent: " + path_);
  }
  return kDesktopFileNotFound;
}

// A file that fails in the middle of its text is not sent at all: the part before the failure would
// reach the device as other settings than the user's. The shared store keeps no text of it.
long DesktopDatabaseManager::Refuse(const char* why) {
  if (sharesLeadingText_) {
    SharedSettingsRecordSource().SetFileName(path_.c_str());
    LogLine(std::string(why) + path_);
  }
  file_.Close();
  return kReadFailed;
}

// The file position stays just after the last byte taken (the zero byte included). The text is read
// in one piece, not byte by byte: a read is a system call, and a settings file would take hundreds.
long DesktopDatabaseManager::ReadLeadingText(std::string& text) {
  text.assign(kLeadingTextLimit, '\0');
  const std::optional<std::uint64_t> start = file_.Position();
  if (!start) return kReadFailed;
  std::uint32_t got = static_cast<std::uint32_t>(text.size());
  const long read = ReadBytesExpecting(text.data(), &got);  // `got` becomes what a short read brought
  if (read != kOk && read != kShortRead && read != kEndOfFile) return kReadFailed;
  const std::size_t zero = text.find('\0');
  leadingTextAtZero_ = zero < got;
  const std::size_t taken = leadingTextAtZero_ ? zero + 1 : got;
  text.resize(leadingTextAtZero_ ? zero : got);
  if (taken != got && !file_.SeekTo(*start + taken)) return kReadFailed;
  return kOk;
}

long DesktopDatabaseManager::OpenForSync() { return OpenForSyncType(); }

long DesktopDatabaseManager::OpenForSyncType() {
  const SyncTypeRow* row = FindSyncType(syncType_);
  if (!row) return kInvalidSyncType;
  switch (row->desktopOpening) {
    case DesktopOpening::kReadOrFallBack:
      if (readPending_) {
        const long status = Open(kOpenModeRead);
        return status == kDesktopFileNotFound ? kDesktopFileMissing : status;
      }
      break;
    case DesktopOpening::kReadWhenPending:
      if (readPending_) return Open(kOpenModeRead);
      break;
    case DesktopOpening::kRead:
      return Open(kOpenModeRead);
    case DesktopOpening::kDirty:
      break;
    case DesktopOpening::kNone:
      return kOk;
  }
  MarkDirty();
  return Open(kOpenModeClosed);
}

long DesktopDatabaseManager::Close(long) {
  const long status = CloseFile(0);
  if (status != kOk && logger_) logger_->ReportCloseFailure(status, kSideDesktop);
  return status;
}

long DesktopDatabaseManager::CloseFile(long) {
  file_.Close();
  return kOk;
}

long DesktopDatabaseManager::LoadContents() {
  if (loaded_) return kOk;
  loaded_ = true;
  const SyncTypeRow* row = FindSyncType(syncType_);
  if (!row || !row->loadsDesktop) return kOk;
  dirty_ = false;
  if (path_.empty()) return kNoFilePath;
  if (!file_) return kNoFileOpen;
  SyncRecord record;
  if (!SharedSettingsRecordSource().FillRecord(record)) return kOutOfMemory;
  return AddRecordAsIs(record);
}

long DesktopDatabaseManager::FinishSync() {
  readPending_ = false;
  return ClearChangedAttributes();
}

long DesktopDatabaseManager::ClearChangedAttributes() {
  for (long slot = 0; slot < HighWaterMark(); ++slot) {
    SyncRecord* stored = StoredAt(slot);
    if (stored && stored->IsChanged()) stored->ResetSyncState();
  }
  MarkDirty();
  return kOk;
}

void DesktopDatabaseManager::Release() {
  Close(0);
  DeleteAllRecords();
  header_.reset();
  appInfo_.reset();
  sortInfo_.reset();
}

bool DesktopDatabaseManager::IsDirty() const { return dirty_; }

void DesktopDatabaseManager::SetDirty(bool dirty) { dirty_ = dirty; }

bool DesktopDatabaseManager::CopyDesktopFile(const char* source, const char* target, bool failIfExists) {
  return source && target && CopyFileA(source, target, failIfExists ? TRUE : FALSE) != 0;
}

// Records.

long DesktopDatabaseManager::ReadFirstNewRecord(SyncRecord& record) {
  for (long slot = 0; slot < HighWaterMark(); ++slot) {
    const SyncRecord* stored = RecordAt(slot);
    if (stored && stored->IsNew()) {
      record.CopyFrom(*stored);
      return kOk;
    }
  }
  return kNoMoreRecords;
}

long DesktopDatabaseManager::NextUnmatched(SyncRecord& record) {
  return StepWhere(record, [](const SyncRecord& stored) { return stored.IsUnmatched(); });
}

long DesktopDatabaseManager::RemapCategories(const long* table) {
  if (!table) return kMissingArgument;
  for (long slot = 0; slot < HighWaterMark(); ++slot) {
    SyncRecord* stored = StoredAt(slot);
    if (!stored || stored->GetCategory() < 0 || stored->GetCategory() >= kCategoryCount) continue;
    const long to = table[stored->GetCategory()];
    if (to != -1) {
      stored->SetCategory(to);
      stored->SetModified(true);
    }
  }
  MarkDirty();
  return kOk;
}

long DesktopDatabaseManager::SetDatabaseInfo(const char* name, std::uint16_t flags, std::uint32_t type,
                                             std::uint32_t creator, std::uint16_t version,
                                             std::uint32_t modificationNumber, std::uint32_t creationTime,
                                             std::uint32_t modificationTime, std::uint32_t backupTime) {
  auto header = base::MakeOrNull<DesktopFileHeader>();
  if (!header) return kOutOfMemory;
  header->headerSize = kDesktopHeaderSize;
  header->formatVersion = kDesktopFormatVersion;
  const std::string bounded = BoundedName(name, sizeof header->name);
  std::copy(bounded.begin(), bounded.end(), header->name);
  header->databaseVersion = version;
  header->creator = creator;
  header->type = type;
  header->attributes = flags;
  header->modificationTime = modificationTime;
  header->modificationNumber = modificationNumber;
  header->creationTime = creationTime;
  header->backupTime = backupTime;
  header_ = std::move(header);
  MarkDirty();
  return kOk;
}

long DesktopDatabaseManager::NewHeader() {
  auto header = base::MakeOrNull<DesktopFileHeader>();
  if (!header) return kOutOfMemory;
  header->headerSize = kDesktopHeaderSize;
  header_ = std::move(header);
  return kOk;
}

// Information blocks.

long DesktopDatabaseManager::GetInfo(const DesktopInfoBlock* block, DatabaseInfoBlock* info, long absent) const {
  if (!block) return absent;
  if (!info) return kMissingArgument;
  std::memset(info->name, 0, sizeof info->name);
  const std::string name = block->Name();
  std::copy_n(name.begin(), std::min(name.size(), sizeof info->name - 1), info->name);
  // The caller's record counts bytes in 16 bits.
  if (block->InUse() > UINT16_MAX) return kValueTooLarge;
  const auto inUse = static_cast<std::uint16_t>(block->InUse());
  info->dataSize = inUse;
  if (info->capacity < inUse) return kBufferTooSmall;
  if (!info->data) return kMissingArgument;
  std::copy_n(block->Data(), inUse, info->data);
  info->reserved = block->Extra();
  return kOk;
}

long DesktopDatabaseManager::SetInfo(std::unique_ptr<DesktopInfoBlock>& block, const DatabaseInfoBlock* info) {
  if (!info) return kMissingArgument;
  const std::uint32_t size = info->dataSize;
  if (size > 0 && !info->data) return kMissingArgument;
  auto built = DesktopInfoBlock::Create(BoundedName(info->name, sizeof info->name).c_str(), size);
  if (!built) return kOutOfMemory;
  if (size > 0) std::copy_n(info->data, size, built->Data());
  built->SetInUse(size);
  built->SetExtra(info->reserved);
  block = std::move(built);
  MarkDirty();
  return kOk;
}

long DesktopDatabaseManager::GetAppInfo(DatabaseInfoBlock* info) { return GetInfo(appInfo_.get(), info, kNoAppInfo); }
long DesktopDatabaseManager::SetAppInfo(DatabaseInfoBlock* info) { return SetInfo(appInfo_, info); }
long DesktopDatabaseManager::GetSortInfo(DatabaseInfoBlock* info) {
  return GetInfo(sortInfo_.get(), info, kNoSortInfo);
}
long DesktopDatabaseManager::SetSortInfo(DatabaseInfoBlock* info) { return SetInfo(sortInfo_, info); }

std::uint32_t DesktopDatabaseManager::AppSpecificPrefix() const { return HasCategoryBlock() ? kCategoryPrefix : 0; }

bool DesktopDatabaseManager::HasAppSpecificInfo() const {
  return appInfo_ && appInfo_->InUse() > 0 && (!HasCategoryBlock() || appInfo_->InUse() > kCategoryPrefix);
}

std::uint32_t DesktopDatabaseManager::AppSpecificInfoSize() const {
  if (!appInfo_) return 0;
  const std::uint32_t prefix = AppSpecificPrefix();
  return appInfo_->InUse() > prefix ? appInfo_->InUse() - prefix : 0;
}

const std::uint8_t* DesktopDatabaseManager::AppSpecificInfoData() const {
  return AppSpecificInfoSize() == 0 ? nullptr : appInfo_->Data() + AppSpecificPrefix();
}

long DesktopDatabaseManager::GetAppSpecificInfo(void* buffer, std::uint32_t* size) const {
  const std::uint32_t needed = AppSpecificInfoSize();
  if (needed == 0) return kOk;
  if (!size) return kMissingArgument;
  if (*size < needed) {
    *size = needed;
    return kBufferTooSmall;
  }
  if (!buffer) return kMissingArgument;
  std::copy_n(AppSpecificInfoData(), needed, static_cast<std::uint8_t*>(buffer));
  *size = needed;
  return kOk;
}

// The data is checked before anything changes, so a refused call leaves the block as it was.
long DesktopDatabaseManager::SetAppSpecificInfo(std::uint32_t size, const void* data) {
  const std::uint32_t prefix = AppSpecificPrefix();
  if (size > 0 && !data) return kMissingArgument;
  if (size > kInfoDataLimit - prefix) return kValueTooLarge;
  if (long status = ReserveAppInfo(size + prefix, false)) return status;
  std::fill(appInfo_->Data() + prefix, appInfo_->Data() + appInfo_->Capacity(), std::uint8_t{0});
  if (size > 0) std::copy_n(static_cast<const std::uint8_t*>(data), size, appInfo_->Data() + prefix);
  appInfo_->SetInUse(size + prefix);
  MarkDirty();
  return kOk;
}

long DesktopDatabaseManager::ReserveAppInfo(std::uint32_t size, bool) {
  if (!appInfo_) {
    appInfo_ = DesktopInfoBlock::Create(remoteName_.c_str(), size);
    if (!appInfo_) return kOutOfMemory;
  } else {
    // A block that is large enough keeps its bytes; a smaller one keeps its head and category block.
    const std::uint32_t keep =
        appInfo_->Capacity() >= size ? UINT32_MAX : (HasCategoryBlock() ? kKeptWithCategories : kInfoBlockHeadSize);
    if (!appInfo_->Resize(size, keep)) return kOutOfMemory;
  }
  MarkDirty();
  return kOk;
}

// Categories.

long DesktopDatabaseManager::LoadCategories() {
  if (!HasAppInfo()) return kOk;
  if (long status = LoadContents()) return status;
  return BuildCategoryList();
}

long DesktopDatabaseManager::SaveCategories() {
  if (HasCategoryBlock() && categories_ && categories_->IsChanged()) return StoreCategoryList();
  return kOk;
}

long DesktopDatabaseManager::BuildCategoryList() {
  if (!HasCategoryBlock()) return kOk;
  categories_.reset();
  if (!appInfo_ || appInfo_->InUse() == 0) return kNoAppInfoForCategories;
  categories_ = base::MakeOrNull<CategoryList>(appInfo_->Data(), static_cast<long>(appInfo_->InUse()));
  return categories_ ? kOk : kOutOfMemory;
}

long DesktopDatabaseManager::StoreCategoryList() {
  if (!HasCategoryBlock() || !categories_ || !categories_->IsChanged()) return kOk;
  if (!appInfo_) {
    appInfo_ = DesktopInfoBlock::Create(remoteName_.c_str(), kCategoryPrefix);
    if (!appInfo_) return kOutOfMemory;
  } else if (appInfo_->Capacity() < kCategoryPrefix) {
    if (long status = ReserveAppInfo(kCategoryPrefix, false)) return status;
  }
  long size = static_cast<long>(appInfo_->Capacity());
  if (long status = categories_->Store(appInfo_->Data(), &size)) return status;
  if (appInfo_->InUse() < kCategoryPrefix) appInfo_->SetInUse(kCategoryPrefix);
  MarkDirty();
  return kOk;
}

}  // namespace korvet::store
