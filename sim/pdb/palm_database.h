// The emulated handheld's databases as standard Palm database (.pdb) files: one file per database,
// named "<database name>.pdb", in the folder Handheld of the stand-in HotSync installation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvet::sim {

// Record attribute bits as the Sync Manager reports them (not as the .pdb file packs them).
inline constexpr std::uint8_t kRecDeleted = 0x80;
inline constexpr std::uint8_t kRecModified = 0x40;
inline constexpr std::uint8_t kRecPrivate = 0x10;
inline constexpr std::uint8_t kRecArchived = 0x08;  // only with kRecDeleted: deleted, data kept for the desktop

// Database attribute flag: a resource database.
inline constexpr std::uint16_t kDbResource = 0x0001;

inline constexpr std::size_t kMaxDatabaseNameLength = 31;  // the 32-byte name field keeps a NUL
inline constexpr std::uint32_t kMaxUniqueId = 0x00FFFFFF;  // unique IDs take three bytes in the file
inline constexpr std::size_t kMaxRecordCount = 0xFFFF;     // the record count field takes 16 bits

struct PalmRecord {
  std::uint32_t id = 0;         // 24-bit unique ID
  std::uint8_t attributes = 0;  // kRec* bits
  std::uint8_t category = 0;    // 0 to 15
  std::vector<std::uint8_t> data;
  // Resource databases only: type and ID of the resource.
  std::uint32_t resourceType = 0;
  std::uint16_t resourceId = 0;
};

struct PalmDatabase {
  std::string name;  // at most 31 characters
  std::uint16_t flags = 0;
  std::uint16_t version = 0;
  std::uint32_t creationDate = 0;
  std::uint32_t modificationDate = 0;
  std::uint32_t backupDate = 0;
  std::uint32_t modificationNumber = 0;
  std::uint32_t type = 0;
  std::uint32_t creator = 0;
  std::uint32_t uniqueIdSeed = 0;
  std::vector<std::uint8_t> appInfo;
  std::vector<std::uint8_t> sortInfo;
  std::vector<PalmRecord> records;

  bool IsResource() const { return (flags & kDbResource) != 0; }
  // A fresh unique ID, never one that a record of this database holds.
  std::uint32_t NewUniqueId();
};

// Parses the bytes of a .pdb (or .prc) file; on failure returns nothing and says why in *error.
std::optional<PalmDatabase> ParsePalmDatabase(const std::vector<std::uint8_t>& bytes, std::string* error);
std::vector<std::uint8_t> SerializePalmDatabase(const PalmDatabase& database);
// Whether the database fits the file format (name, record count, unique IDs, size); says why not.
bool CheckStorable(const PalmDatabase& database, std::string* error);

// The attribute byte of a record-list entry. The file format keeps the category in the low four bits
// of a live record and the archive flag (0x08) in them for a record that is deleted (0x80) or set
// aside (0x20); so a record that is archived but not deleted is stored as 0x20 | 0x08, which keeps
// "archived", "not deleted", modified and private. Its category cannot be stored beside the archive
// flag and reads back as 0; so does the category of a deleted record.
std::uint8_t PackRecordAttributes(std::uint8_t attributes, std::uint8_t category);
// The reverse: kRec* bits and the category of a record-list attribute byte.
void UnpackRecordAttributes(std::uint8_t packed, std::uint8_t* attributes, std::uint8_t* category);

// The folder of .pdb files that stands for the handheld's memory.
class HandheldFolder {
 public:
  explicit HandheldFolder(std::string folder);

  const std::string& Folder() const { return folder_; }
  std::string PathOf(const std::string& databaseName) const;
  std::vector<std::string> List() const;  // database names, sorted
  bool Exists(const std::string& databaseName) const;
  std::optional<PalmDatabase> Load(const std::string& databaseName, std::string* error) const;
  // Writes a temporary file and renames it over the old one, so an interrupted save leaves the
  // previous file intact.
  bool Save(const PalmDatabase& database, std::string* error) const;
  bool Remove(const std::string& databaseName) const;
  // Creates the folder (and missing parents) when it does not exist.
  bool CreateFolder(std::string* error) const;
  // A name that can be a file name in the folder: 1 to 31 characters, none of them a control
  // character or one of \ / : * ? " < > |, and not ending with a dot or a space.
  static bool IsStorableName(const std::string& databaseName);

 private:
  std::string folder_;
};

}  // namespace korvet::sim
