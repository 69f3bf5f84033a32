// The emulated handheld behind the stand-in Sync Manager: databases of a HandheldFolder, opened into
// memory under one-byte handles and written back (atomically) when closed and when the session ends.
//
// What callers can rely on beyond the Sync Manager's own rules:
// - Handles are 1 to 255, the lowest free one first; opening a database that is open already fails
//   with kSyncErrAlreadyOpen. Only card 0 exists.
// - A database opened without the write bit (0x40) refuses changes with kSyncErrReadOnly.
// - Reads copy at most the block's capacity into the caller's buffer and report the record's whole
//   size in the data size field; a data size above the capacity therefore means the copy was cut.
// - Records follow a device's rules, whether a file or a write brought them: a deleted record has
//   lost its data (it reads with size 0) unless it was archived (0x88, data kept); the archive bit
//   never stands without the deleted bit; the purge removes deleted and archived records.
// - A database opened without the secret bit (0x10) shows no private record: counts, indexes, reads
//   and deletes see only the others. This is the stricter of the two readings of the device.
// - One cursor per open database serves ReadNextModifiedHandheldRecord and
//   SyncReadNextRecInCategory; opening and SyncResetRecordIndex put it before the first record.
//   The category read skips records marked deleted. Like the device's own iterator, neither read
//   takes its start from the block's index: a caller that leaves there the index of the record it
//   was given last would otherwise be given that record again and again.
// - WriteHandheldRecord with record ID 0 appends a record with a fresh unique ID; with an ID that no
//   record holds it appends a record that keeps that ID (as a restore onto an emptied handheld
//   needs); with an existing ID it replaces that record in place. The answer is the ID alone: the
//   block's index is left as the caller set it.
// - Resource databases: the block's record ID field carries the resource type and its category
//   field the resource ID. Reads by index work on them; the other record operations give
//   kSyncErrWrongKind, as WriteHandheldResource and SyncDeleteResourceRec do on record databases.
// - An absent application or sort information block reads as kSyncErrNotFound with data size 0.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "conduit/platform/sync_manager.h"
#include "sim/pdb/palm_database.h"
#include "sim/sync20/record_id_index.h"

namespace korvet::sim {

class EmulatedHandheld {
 public:
  // The handheld is installFolder\Handheld.
  void SetInstallFolder(const std::string& installFolder);
  // Creates the handheld folder when it is missing; 0 or kSyncErrStorage.
  long PrepareFolder() { return EnsureFolder(); }
  // Writes back and closes every open database, and ends every session.
  long EndSession();

  long OpenSession(std::uint32_t* session);
  long CloseSession(std::uint32_t session);
  long ReadSystemInfo(handheld::SystemInfoBlock* info);

  long OpenDatabase(const char* name, long card, std::uint8_t* handle, std::uint8_t mode);
  long CreateDatabase(handheld::DatabaseCreationBlock* block);
  long CloseDatabase(std::uint8_t handle);
  long DeleteDatabase(const char* name, long card);
  long FindDatabase(const handheld::DatabaseQuery* query, void* found);
  long RecordCount(std::uint8_t handle, std::uint16_t* count);
  long ResetRecordIndex(std::uint8_t handle);
  long ClearSyncFlags(std::uint8_t handle);
  long PurgeDeleted(std::uint8_t handle);

  long ReadById(handheld::RecordTransferBlock* block);
  long ReadByIndex(handheld::RecordTransferBlock* block);
  long ReadNextModified(handheld::RecordTransferBlock* block);
  long ReadNextInCategory(handheld::RecordTransferBlock* block);
  long WriteRecord(handheld::RecordTransferBlock* block);
  long WriteResource(handheld::RecordTransferBlock* block);
  long DeleteRecord(handheld::RecordTransferBlock* block);
  long DeleteResource(handheld::RecordTransferBlock* block);
  long ChangeCategory(std::uint8_t handle, std::uint8_t from, std::uint8_t to);
  long PurgeCategory(std::uint8_t handle, std::uint8_t category);

  long ReadAppInfo(std::uint8_t handle, handheld::DatabaseInfoBlock* block);
  long WriteAppInfo(std::uint8_t handle, const handheld::DatabaseInfoBlock* block);
  long ReadSortInfo(std::uint8_t handle, handheld::DatabaseInfoBlock* block);
  long ReadPositionMap(handheld::PositionMapBlock* block);

 private:
  struct Opened {
    PalmDatabase database;
    HandheldFolder folder{""};  // where it is written back, even if the handheld changes meanwhile
    std::uint8_t mode = 0;
    bool changed = false;
    std::size_t cursor = 0;
    RecordIdIndex ids;  // record positions by ID, for the operations that take an ID
  };
  using Slot = std::unique_ptr<Opened>;

  // The open database of a handle in *open: 0, or kSyncErrBadHandle.
  long Find(std::uint8_t handle, Opened** open);
  // As Find, and also the kind (record: false, resource: true) and for changes the write mode.
  long FindOfKind(std::uint8_t handle, bool resource, bool forChange, Opened** open);
  bool IsOpen(const std::string& name) const;
  long EnsureFolder();
  long WriteBack(Opened& open);
  long ReadNext(handheld::RecordTransferBlock* block, bool (*matches)(const PalmRecord&, std::int16_t));
  static long FillBlock(const Opened& open, std::size_t index, handheld::RecordTransferBlock* block);
  // What the open database shows of its records (see above), with indexes counted among them.
  static constexpr std::size_t kNoPosition = static_cast<std::size_t>(-1);
  static bool Shows(const Opened& open, const PalmRecord& record);
  static std::size_t ShownCount(const Opened& open);
  static std::size_t PositionOfShown(const Opened& open, std::size_t shown);  // kNoPosition past the end
  static std::size_t ShownIndex(const Opened& open, std::size_t position);
  // Copies the database's application or sort information block into the caller's block.
  long ReadInfo(std::uint8_t handle, std::vector<std::uint8_t> PalmDatabase::*info, handheld::DatabaseInfoBlock* block);

  HandheldFolder folder_{""};
  bool folderChosen_ = false;
  std::array<Slot, 256> slots_;  // slot 0 stays empty: handle 0 means none
  std::set<std::uint32_t> sessions_;
  std::uint32_t nextSession_ = 1;
};

}  // namespace korvet::sim
