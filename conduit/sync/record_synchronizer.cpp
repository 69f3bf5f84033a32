#include "conduit/sync/record_synchronizer.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "conduit/base/allocation.h"
#include "conduit/base/conduit_module.h"
#include "conduit/handheld/handheld_database_manager.h"
#include "conduit/platform/sync_manager.h"
#include "conduit/platform/sync_type_table.h"
#include "conduit/store/archive_database_manager.h"
#include "conduit/store/backup_database_manager.h"
#include "conduit/store/desktop_database_manager.h"
#include "conduit/store/status_codes.h"
#include "conduit/store/string_ids.h"
#include "conduit/sync/decision_tables.h"

namespace korvet::sync {
namespace {

using store::kOk;

constexpr std::size_t kSystemInfoSize = 255;
constexpr std::size_t kConduitNameSize = 128;

using FirstRecord = long (DatabaseManager::*)(SyncRecord&);

// One pass over a store's records: `first` starts it, ReadNextRecord goes on, `visit` handles each
// record. The first error ends the pass; "no further record" is its normal end.
template <typename Visit>
long VisitRecords(DatabaseManager& store, FirstRecord first, Visit&& visit) {
  SyncRecord record;
  long status = (store.*first)(record);
  while (status == kOk) {
    status = visit(record);
    if (status == kOk) status = store.ReadNextRecord(record);
  }
  return status == store::kNoMoreRecords ? kOk : status;
}

}  // namespace

RecordSynchronizer::RecordSynchronizer(const SyncProperties& properties, long options)
    : properties_(properties), remoteCount_(properties.remoteCount), options_(options) {
  categoryMap_.fill(-1);
  logger_ = CreateLog();
}

RecordSynchronizer::~RecordSynchronizer() {
  ReleaseHandheldStore();
  ReleaseDesktopStore();
  ReleaseBackupStore();
  CloseArchiveStores();
  session_.Reset();
}

std::unique_ptr<store::SyncLogger> RecordSynchronizer::CreateLog() {
  char name[kConduitNameSize] = {};
  LoadStringA(base::ConduitModule(), IDS_CONDUIT_NAME, name, sizeof name);
  return base::MakeOrNull<store::SyncLogger>(base::ConduitModule(), name);
}

// The whole synchronization.

long RecordSynchronizer::Run() {
  try {
    return RunPasses();
  } catch (const std::bad_alloc&) {
    // What the passes held is let go first, so that the session can end with memory to spare.
    ReleaseStores();
    try {
      EndSession(true);
    } catch (const std::bad_alloc&) {
      // The session is closed by the destructor.
    }
    return store::kOutOfMemory;
  }
}

void RecordSynchronizer::ReleaseStores() {
  ReleaseHandheldStore();
  ReleaseDesktopStore();
  ReleaseBackupStore();
  CloseArchiveStores();
}

long RecordSynchronizer::RunPasses() {
  const SyncTypeRow* row = FindSyncType(properties_.syncType);
  if (!row) return store::kSyncTypeAboveRange;
  if (row->pass == SyncPass::kNone) return kOk;
  if (!logger_) return store::kOutOfMemory;

  if (long status = ReadSystemInfo()) return status;
  if (long status = BeginSession()) return status;

  long pending = kOk;
  for (long index = 0; index < remoteCount_ && pending == kOk; ++index) {
    pending = SelectRemoteDatabase(index);
    if (pending != kOk) break;
    // A fall-back to a copy changes the sync type, for this database and the ones after it.
    switch (PassOf(properties_.syncType)) {
      case SyncPass::kFast:
        pending = FastSync();
        if (pending == store::kFallBackToCopy) pending = CopyDesktopToHandheld();
        break;
      case SyncPass::kSlow:
        pending = SlowSync();
        if (pending == store::kFallBackToCopy) {
          if (properties_.syncType == kHandheldOverwritesDesktop)
            pending = CopyHandheldToDesktop();
          else if (properties_.syncType == kDesktopOverwritesHandheld)
            pending = CopyDesktopToHandheld();
        }
        break;
      case SyncPass::kCopyDesktopToHandheld:
        pending = CopyDesktopToHandheld();
        break;
      case SyncPass::kNone:
        break;
    }
    ReleaseStores();
  }
  const long ended = EndSession(pending != kOk);
  return pending != kOk ? pending : ended;
}

long RecordSynchronizer::ReadSystemInfo() {
  if (!base::AssignZeroed(systemInfoBuffer_, kSystemInfoSize)) return store::kOutOfMemory;
  handheld::SystemInfoBlock info{};
  info.capacity = static_cast<std::uint8_t>(kSystemInfoSize);
  info.buffer = systemInfoBuffer_.data();
  return SyncReadSystemInfo(&info);
}

long RecordSynchronizer::SelectRemoteDatabase(long index) {
  // A ready-made descriptor array is HotSync Manager's; the synchronizer keeps a copy of the entry.
  if (index < 0) return store::kIndexOutOfRange;
  auto descriptor = base::MakeOrNull<RemoteDatabaseDescriptor>();
  if (!descriptor) return store::kOutOfMemory;
  std::memset(descriptor.get(), 0, sizeof *descriptor);
  if (properties_.remoteDescriptors != nullptr) {
    std::memcpy(descriptor.get(), static_cast<const RemoteDatabaseDescriptor*>(properties_.remoteDescriptors) + index,
                sizeof *descriptor);
  } else {
    // Only as many names as the properties record holds.
    if (index >= static_cast<long>(kMaxRemoteDatabases)) return store::kIndexOutOfRange;
    descriptor->creator = properties_.creator;
    descriptor->type = properties_.databaseType;
    std::memcpy(descriptor->name, properties_.remoteNames[index], sizeof descriptor->name);
    descriptor->name[sizeof descriptor->name - 1] = '\0';
  }
  descriptor_ = std::move(descriptor);
  return kOk;
}

long RecordSynchronizer::BeginSession() {
  if (long status = OpenOwnedSyncSession(session_)) return status;
  logger_->WriteHeading();
  return kOk;
}

long RecordSynchronizer::EndSession(bool failed) {
  if (!session_) return kOk;
  logger_->WriteConduitName(failed);
  return CloseOwnedSyncSession(session_);
}

long RecordSynchronizer::SpareStep() { return kOk; }

// The stores.

long RecordSynchronizer::OpenHandheldStore() {
  ReleaseHandheldStore();
  if (!descriptor_) return store::kMissingArgument;
  handheld_ = MakeHandheldStore();
  if (!handheld_) return store::kOutOfMemory;
  return handheld_->OpenForSync();
}

std::unique_ptr<DatabaseManager> RecordSynchronizer::MakeHandheldStore() {
  if (!descriptor_) return nullptr;
  // Copied out: MakeOrNull forwards references, and the descriptor's packed fields are misaligned.
  const std::uint32_t creator = descriptor_->creator;
  const std::uint32_t type = descriptor_->type;
  const std::uint16_t flags = descriptor_->flags;
  return base::MakeOrNull<handheld::HandheldDatabaseManager>(
      logger_.get(), static_cast<std::uint32_t>(options_), descriptor_->name, creator, type, flags, std::uint16_t{0},
      static_cast<long>(descriptor_->card), static_cast<long>(properties_.syncType));
}

long RecordSynchronizer::OpenDesktopStore() {
  ReleaseDesktopStore();
  return OpenDesktopSide<store::DesktopDatabaseManager>(desktop_);
}

long RecordSynchronizer::OpenBackupStore() {
  ReleaseBackupStore();
  return OpenDesktopSide<store::BackupDatabaseManager>(backup_);
}

template <typename Store>
long RecordSynchronizer::OpenDesktopSide(std::unique_ptr<DatabaseManager>& slot) {
  slot = base::MakeOrNull<Store>(logger_.get(), static_cast<std::uint32_t>(options_),
                                 static_cast<long>(properties_.syncType), descriptor_ ? descriptor_->name : "",
                                 properties_.localName, properties_.localDirectory);
  if (!slot) return store::kOutOfMemory;
  return slot->OpenForSync();
}

long RecordSynchronizer::OpenStores() {
  writtenIds_.clear();
  categoryMapInUse_ = false;
  categoryMap_.fill(-1);
  const SyncPass pass = PassOf(properties_.syncType);
  const bool mirroring = pass == SyncPass::kFast || pass == SyncPass::kSlow;
  long status = OpenHandheldStore();
  if (status == store::kHandheldDatabaseMissing) {
    if (!mirroring) return status;
    SetSyncType(kDesktopOverwritesHandheld);
    return store::kFallBackToCopy;
  }
  if (status != kOk) return status;
  status = OpenDesktopStore();
  if (status == store::kDesktopFileMissing && mirroring) {
    SetSyncType(kHandheldOverwritesDesktop);
    return store::kFallBackToCopy;
  }
  if (status != kOk) return status;
  return OpenBackupStore();
}

long RecordSynchronizer::ReleaseHandheldStore() {
  handheld_.reset();
  return kOk;
}

long RecordSynchronizer::ReleaseDesktopStore() {
  desktop_.reset();
  return kOk;
}

long RecordSynchronizer::ReleaseBackupStore() {
  backup_.reset();
  return kOk;
}

long RecordSynchronizer::FinishStores() {
  long first = handheld_ ? handheld_->FinishSync() : kOk;
  const long desktop = desktop_ ? desktop_->FinishSync() : kOk;
  if (first == kOk) first = desktop;
  const long backup = backup_ ? backup_->FinishSync() : kOk;
  if (first == kOk) first = backup;
  return first;
}

// The passes.

long RecordSynchronizer::FastSync() { return MirrorRecords(false); }

long RecordSynchronizer::SlowSync() { return MirrorRecords(true); }

long RecordSynchronizer::MirrorRecords(bool slow) {
  if (long status = OpenStores()) return status;
  if (long status = SyncAppInfo()) return status;
  const bool handheldPass = slow || VisitsHandheldChanges();
  if (handheldPass) {
    if (long status = handheld_->LoadContents()) return status;
  }
  if (long status = desktop_->LoadContents()) return status;

  const FirstRecord handheldFirst = slow ? &DatabaseManager::ReadFirstRecord : &DatabaseManager::ReadFirstChanged;
  if (handheldPass) {
    if (long status = VisitRecords(*handheld_, handheldFirst,
                                   [this](SyncRecord& record) { return ProcessHandheldRecord(record); })) {
      return status;
    }
  }
  const FirstRecord desktopFirst = slow ? &DatabaseManager::ReadFirstUnmatched : &DatabaseManager::ReadFirstChanged;
  if (long status =
          VisitRecords(*desktop_, desktopFirst, [this](SyncRecord& record) { return ProcessDesktopRecord(record); })) {
    return status;
  }
  if (long status = ReconcileRecordIds()) return status;
  return FinishStores();
}

long RecordSynchronizer::ProcessHandheldRecord(SyncRecord& handheld) {
  SyncRecord desktop;
  const bool onDesktop = desktop_->ReadRecordById(handheld.GetId(), desktop, false) == kOk;
  if (!onDesktop) desktop.Clear();
  const std::uint32_t desktopStatus = onDesktop ? desktop.GetAttributeState() : kStatusAbsent;

  std::uint32_t action = 0;
  if (PassOf(properties_.syncType) == SyncPass::kSlow) {
    std::uint32_t comparison = 0;
    if (!handheld.IsDeleted() && onDesktop) {
      comparison = RecordsDiffer(handheld, desktop) != 0 ? kContentsDiffer : kContentsEqual;
    }
    // What the last sync left: a record the backup does not hold as it is now has changed since.
    if (!handheld.IsModified() && backup_) {
      SyncRecord previous;
      if (backup_->ReadRecordById(handheld.GetId(), previous, false) != kOk || RecordsDiffer(handheld, previous) != 0) {
        handheld.SetModified(true);
      }
    }
    action = LookupSlowHandheldAction(HandheldKey(handheld.GetAttributeState(), desktopStatus, comparison));
  } else {
    action = LookupFastHandheldAction(HandheldKey(handheld.GetAttributeState(), desktopStatus));
  }
  return ApplyActions(action, handheld, desktop);
}

long RecordSynchronizer::ProcessDesktopRecord(SyncRecord& desktop) {
  SyncRecord handheld;
  std::uint32_t action = 0;
  if (PassOf(properties_.syncType) == SyncPass::kFast) {
    if (desktop.GetId() != 0) {
      const long status = handheld_->ReadRecordById(desktop.GetId(), handheld, false);
      if (status == handheld::kSyncNotFound) {
        desktop.SetNew(true);
        handheld.Clear();
      } else if (status != kOk) {
        return status;
      }
    } else {
      desktop.SetNew(true);
    }
    action = LookupFastDesktopAction(desktop.GetAttributeState());
  } else {
    action = LookupDesktopAction(desktop.GetAttributeState());
  }
  return ApplyActions(action, handheld, desktop);
}

long RecordSynchronizer::CopyHandheldToDesktop() {
  if (long status = OpenStores()) return status;
  const RemoteDatabaseDescriptor& d = *descriptor_;
  desktop_->SetDatabaseInfo(d.name, d.flags, d.type, d.creator, d.version, d.modificationNumber, d.creationTime,
                            d.modificationTime, d.backupTime);
  if (long status = handheld_->LoadContents()) return status;
  if (long status = desktop_->LoadContents()) return status;
  if (long status = CopyAppInfoToDesktop()) return status;
  if (long status = VisitRecords(*handheld_, &DatabaseManager::ReadFirstRecord, [this](SyncRecord& handheld) {
        SyncRecord none;
        return ApplyActions(LookupHandheldCopyAction(handheld.GetAttributeState() << 16), handheld, none);
      })) {
    return status;
  }
  return FinishStores();
}

long RecordSynchronizer::CopyDesktopToHandheld() {
  if (long status = OpenStores()) return status;
  if (long status = handheld_->LoadContents()) return status;
  if (long status = desktop_->LoadContents()) return status;
  if (long status = CopyAppInfoToHandheld()) return status;
  if (long status = VisitRecords(*desktop_, &DatabaseManager::ReadFirstRecord, [this](SyncRecord& desktop) {
        SyncRecord none;
        return ApplyActions(LookupDesktopCopyAction(desktop.GetAttributeState()), none, desktop);
      })) {
    return status;
  }
  return FinishStores();
}

// The actions.

long RecordSynchronizer::WriteToHandheld(SyncRecord& desktop) {
  SyncRecord written(desktop);
  const long status = handheld_->AddRecord(written);
  if (status != kOk) {
    logger_->ReportAddFailure(status, desktop, store::kSideHandheld);
    return status;
  }
  // Without memory to note it, the record is only looked up again later.
  static_cast<void>(base::Allocated([&] { writtenIds_.push_back(written.GetId()); }));
  if (written.GetId() != desktop.GetId()) {
    const long slot = desktop.GetIndex();
    desktop.SetId(written.GetId());
    SyncRecord updated(desktop);
    if (slot != store::kNoIndex) return desktop_->ModifyRecordAt(slot, updated);
  }
  return kOk;
}

long RecordSynchronizer::AddToDesktop(SyncRecord& handheld) {
  SyncRecord added(handheld);
  const long status = desktop_->AddRecord(added);
  if (status != kOk) logger_->ReportAddFailure(status, handheld, store::kSideDesktop);
  return status;
}

long RecordSynchronizer::DeleteFromHandheld(SyncRecord& handheld) {
  // Records marked deleted or archived go with the purge.
  if (handheld.IsDeleted() || handheld.IsArchived()) return kOk;
  return handheld_->DeleteRecord(handheld);
}

long RecordSynchronizer::ArchiveAndDeleteDesktop(SyncRecord& desktop) {
  if (long status = ArchiveRecord(desktop)) return status;
  return desktop_->DeleteRecord(desktop);
}

long RecordSynchronizer::ApplyActions(std::uint32_t mask, SyncRecord& handheld, SyncRecord& desktop) {
  for (std::uint32_t bit = 1; bit != 0 && bit <= mask; bit <<= 1) {
    if ((mask & bit) == 0) continue;
    long status = kOk;
    switch (bit) {
      case kDeleteDesktop:
        status = desktop_->DeleteRecord(desktop);
        break;
      case kArchiveDesktop:
        status = ArchiveAndDeleteDesktop(desktop);
        break;
      case kDeleteHandheld:
        status = DeleteFromHandheld(handheld);
        break;
      case kArchiveHandheld:
        status = ArchiveRecord(handheld);
        if (status == kOk) status = DeleteFromHandheld(handheld);
        break;
      case kWriteToHandheld:
        status = WriteToHandheld(desktop);
        break;
      case kAddToDesktop:
        status = AddToDesktop(handheld);
        break;
      case kReplaceDesktop: {
        SyncRecord replacement(handheld);
        status = desktop_->ModifyRecordAt(desktop.GetIndex(), replacement);
        break;
      }
      case kReplaceHandheld: {
        // In the desktop pass of a slow sync a modified desktop record may have no handheld record to
        // replace: it goes to the handheld as a new record, and the desktop keeps its new ID.
        if (handheld.GetIndex() == store::kNoIndex) {
          desktop.SetId(0);
          status = WriteToHandheld(desktop);
          break;
        }
        SyncRecord replacement(desktop);
        status = handheld_->ModifyRecordAt(handheld.GetIndex(), replacement);
        break;
      }
      case kResolveBothModified:
        status = ResolveBothModified(handheld, desktop);
        break;
      case kResolveModifiedAgainstArchived:
        status = ResolveModifiedAgainstArchived(handheld, desktop);
        break;
      case kResolveArchivedAgainstModified:
        status = ResolveArchivedAgainstModified(handheld, desktop);
        break;
      case kResolveBothArchived:
        status = ResolveBothArchived(handheld, desktop);
        break;
      case kDuplicateConflict:
        status = DuplicateConflict(handheld, desktop);
        break;
      case kDeleteHandheldCounterpart:
        status = handheld_->DeleteRecord(desktop);
        if (!IsCommsError(status)) status = kOk;
        break;
      case kLogModifyDeleteConflict:
        logger_->ReportModifyDeleteConflict(handheld);
        break;
      default:
        break;  // kNoAction and bits without an action
    }
    if (status != kOk) return status;
  }
  return kOk;
}

// The conflict handlers.

long RecordSynchronizer::DuplicateConflict(SyncRecord& handheld, SyncRecord& desktop) {
  SyncRecord kept(handheld);
  kept.ClearAttributes();
  if (long status = desktop_->ModifyRecordAt(desktop.GetIndex(), kept)) return status;

  SyncRecord copy(desktop);
  copy.SetId(0);
  SyncRecord written(copy);
  long status = handheld_->AddRecord(written);
  if (status != kOk) {
    logger_->ReportAddFailure(status, copy, store::kSideHandheld);
    return status;
  }
  SyncRecord added(written);
  status = desktop_->AddRecord(added);
  if (status != kOk) {
    logger_->ReportAddFailure(status, copy, store::kSideDesktop);
    return status;
  }
  logger_->ReportDoubleModify(handheld);
  return kOk;
}

long RecordSynchronizer::ResolveBothModified(SyncRecord& handheld, SyncRecord& desktop) {
  return RecordsDiffer(handheld, desktop) != 0 ? DuplicateConflict(handheld, desktop) : kOk;
}

long RecordSynchronizer::ResolveArchivedAgainstModified(SyncRecord& handheld, SyncRecord& desktop) {
  if (RecordsDiffer(handheld, desktop) == 0) return ArchiveAndDeleteDesktop(desktop);
  return DuplicateConflict(handheld, desktop);
}

long RecordSynchronizer::ResolveModifiedAgainstArchived(SyncRecord& handheld, SyncRecord& desktop) {
  if (RecordsDiffer(handheld, desktop) == 0) return ArchiveAndDeleteDesktop(desktop);
  handheld.ClearAttributes();
  SyncRecord restored(handheld);
  if (long status = handheld_->ModifyRecordAt(handheld.GetIndex(), restored)) return status;
  return DuplicateConflict(handheld, desktop);
}

long RecordSynchronizer::ResolveBothArchived(SyncRecord& handheld, SyncRecord& desktop) {
  if (RecordsDiffer(handheld, desktop) != 0) {
    if (long status = ArchiveRecord(desktop)) return status;
    if (long status = ArchiveRecord(handheld)) return status;
    return desktop_->DeleteRecord(desktop);
  }
  return ArchiveAndDeleteDesktop(desktop);
}

long RecordSynchronizer::RecordsDiffer(const SyncRecord& first, const SyncRecord& second) {
  return first.Compare(second);
}

// Record ID reconciliation after the record passes.

bool RecordSynchronizer::RemoveIdFromList(std::uint32_t* ids, long count, std::uint32_t id) {
  for (long i = 0; i < count; ++i) {
    if (ids[i] == id) {
      ids[i] = store::kNoRecordId;
      return true;
    }
  }
  return false;
}

long RecordSynchronizer::PurgeHandheldDeletions() { return handheld_->PurgeDeletedRecords(); }

long RecordSynchronizer::ReconcileRecordIds() {
  if (long status = PurgeHandheldDeletions()) return status;
  if (long status = desktop_->PurgeDeletedRecords()) {
    logger_->ReportPurgeFailure(status, store::kSideDesktop);
    return status;
  }
  if (!TakesUnknownHandheldRecords()) return SendRecordsTheHandheldLacks();
  long handheldCount = 0;
  long desktopCount = 0;
  if (long status = handheld_->GetRecordCount(&handheldCount)) return status;
  if (long status = desktop_->GetRecordCount(&desktopCount)) return status;
  if (handheldCount == desktopCount) return kOk;

  std::vector<std::uint32_t> handheldIds;
  std::vector<std::uint32_t> desktopIds;
  if (!base::AssignZeroed(handheldIds, static_cast<std::size_t>(handheldCount) + 1) ||
      !base::AssignZeroed(desktopIds, static_cast<std::size_t>(desktopCount) + 1)) {
    return store::kOutOfMemory;
  }
  long handheldListed = handheldCount + 1;
  if (long status = handheld_->ListRecordIds(handheldIds.data(), &handheldListed)) return status;
  long desktopListed = desktopCount + 1;
  if (long status = desktop_->ListRecordIds(desktopIds.data(), &desktopListed)) return status;
  desktopListed = std::min(desktopListed, desktopCount + 1);

  // Handheld records the desktop does not know come to the desktop. An ID of 0 is no handheld record:
  // entries the handheld did not fill stay 0.
  for (long i = 0; i < handheldCount; ++i) {
    const std::uint32_t id = handheldIds[static_cast<std::size_t>(i)];
    if (id == 0 || RemoveIdFromList(desktopIds.data(), desktopListed, id)) continue;
    if (!TakesUnknownHandheldRecords()) continue;
    SyncRecord record;
    if (long status = handheld_->ReadRecordById(id, record, true)) return status;
    if (long status = AddToDesktop(record)) return status;
  }
  // Desktop records the handheld does not know go to the handheld.
  for (long i = 0; i < desktopListed; ++i) {
    const std::uint32_t id = desktopIds[static_cast<std::size_t>(i)];
    if (id == store::kNoRecordId) continue;
    SyncRecord record;
    if (long status = desktop_->ReadRecordById(id, record, false)) return status;
    if (long status = WriteToHandheld(record)) return status;
  }
  return kOk;
}

// A synchronizer that takes no unknown handheld records needs only the desktop records the handheld
// lacks: a look-up per desktop record it did not write itself costs less than the handheld's whole ID
// list, which crosses the link four bytes per record.
long RecordSynchronizer::SendRecordsTheHandheldLacks() {
  long desktopCount = 0;
  if (long status = desktop_->GetRecordCount(&desktopCount)) return status;
  std::vector<std::uint32_t> desktopIds;
  if (!base::AssignZeroed(desktopIds, static_cast<std::size_t>(desktopCount) + 1)) return store::kOutOfMemory;
  long listed = desktopCount + 1;
  if (long status = desktop_->ListRecordIds(desktopIds.data(), &listed)) return status;
  listed = std::min(listed, desktopCount + 1);
  for (long i = 0; i < listed; ++i) {
    const std::uint32_t id = desktopIds[static_cast<std::size_t>(i)];
    if (std::find(writtenIds_.begin(), writtenIds_.end(), id) != writtenIds_.end()) continue;
    // A record without a handheld ID is on no handheld: no look-up can find it.
    if (id != 0) {
      SyncRecord onHandheld;
      const long found = handheld_->ReadRecordById(id, onHandheld, false);
      if (found == kOk) continue;
      if (found != handheld::kSyncNotFound) return found;
    }
    SyncRecord record;
    if (long status = desktop_->ReadRecordById(id, record, false)) return status;
    if (long status = WriteToHandheld(record)) return status;
  }
  return kOk;
}

// Table look-ups.

std::uint32_t RecordSynchronizer::LookupSlowHandheldAction(std::uint32_t key) { return SlowHandheldAction(key); }
std::uint32_t RecordSynchronizer::LookupFastHandheldAction(std::uint32_t key) { return FastHandheldAction(key); }
std::uint32_t RecordSynchronizer::LookupFastDesktopAction(std::uint32_t key) { return FastDesktopAction(key); }
std::uint32_t RecordSynchronizer::LookupDesktopAction(std::uint32_t key) { return DesktopAction(key); }
std::uint32_t RecordSynchronizer::LookupDesktopCopyAction(std::uint32_t key) { return DesktopCopyAction(key); }
std::uint32_t RecordSynchronizer::LookupHandheldCopyAction(std::uint32_t key) { return HandheldCopyAction(key); }

void RecordSynchronizer::SetCategoryMapping(long desktopIndex, long handheldIndex) {
  if (desktopIndex < 0 || desktopIndex >= static_cast<long>(categoryMap_.size())) return;
  categoryMap_[static_cast<std::size_t>(desktopIndex)] = handheldIndex;
  categoryMapInUse_ = true;
}

// Archives: one store per handheld category when the database keeps categories, else one for all.

std::unique_ptr<DatabaseManager> RecordSynchronizer::CreateArchiveStore(const char* name) {
  return base::MakeOrNull<store::ArchiveDatabaseManager>(logger_.get(), static_cast<std::uint32_t>(options_),
                                                         descriptor_ ? descriptor_->name : "", name,
                                                         properties_.localDirectory);
}

long RecordSynchronizer::GetArchiveStore(long category, DatabaseManager** archive) {
  if (!archive) return store::kMissingArgument;
  *archive = nullptr;
  if (category >= store::kCategoryCount) return store::kCategoryOutOfRange;
  if (category < 0) category = 0;
  std::string name = properties_.localName;
  long slot = 0;
  if ((options_ & kOptionKeepsCategories) != 0) {
    const CategoryList* categories = handheld_ ? handheld_->GetCategoryList() : nullptr;
    const CPCategory* owner = categories ? categories->GetAt(category) : nullptr;
    if (!owner) {
      category = 0;
      owner = categories ? categories->GetAt(0) : nullptr;
    }
    slot = category;
    if (owner && owner->GetSafeName()[0] != '\0')
      name = owner->GetSafeName();
    else if (owner && owner->GetName())
      name = owner->GetName();
  }
  auto& stored = archives_[static_cast<std::size_t>(slot)];
  if (!stored) {
    std::unique_ptr<DatabaseManager> made = CreateArchiveStore(name.c_str());
    if (!made) return store::kOutOfMemory;
    if (long status = made->OpenForSync()) return status;
    long count = 0;
    made->GetRecordCount(&count);
    if (count == 0 && descriptor_) {
      const RemoteDatabaseDescriptor& d = *descriptor_;
      made->SetDatabaseInfo(d.name, d.flags, d.type, d.creator, d.version, d.modificationNumber, d.creationTime,
                            d.modificationTime, d.backupTime);
    }
    stored = std::move(made);
  }
  *archive = stored.get();
  return kOk;
}

long RecordSynchronizer::ArchiveRecord(SyncRecord& record) {
  DatabaseManager* archive = nullptr;
  if (long status = GetArchiveStore(record.GetCategory(), &archive)) return status;
  SyncRecord copy(record);
  return archive->AddRecord(copy);
}

void RecordSynchronizer::CloseArchiveStores() {
  for (auto& archive : archives_) {
    if (archive) archive->FinishSync();
    archive.reset();
  }
}

}  // namespace korvet::sync
