// DesktopDatabaseManager: the desktop side of the database interface. It keeps the records of a
// desktop file in memory, with the file's path and open handle, the header and the two information
// blocks of the generic desktop data file, whole-file load and save, and the serialization primitives
// that derived stores use for formats of their own.
//
// The desktop side never writes through a database manager: every save path ends in WriteBytes, which
// accepts its bytes and writes nothing, so a sync never changes the user's files. A settings file is
// not parsed as a data file: Open reads its leading text and hands it to the shared settings-file
// store, and LoadContents takes the one record that store builds from it.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "common/win_file.h"
#include "conduit/base/text_buffer.h"
#include "conduit/store/database_manager.h"
#include "conduit/store/desktop_data_file.h"
#include "conduit/store/desktop_info_block.h"

namespace korvet::store {

class SyncLogger;

// Open modes.
inline constexpr long kOpenModeRead = 0;
inline constexpr long kOpenModeWrite = 1;
inline constexpr long kOpenModeReadWrite = 2;
inline constexpr long kOpenModeClosed = 3;

// The leading text of a desktop file holds at most this many characters.
inline constexpr std::size_t kLeadingTextLimit = 511;

// What Open leaves in the HotSync log, before the path, when the file cannot be opened for reading.
inline constexpr char kSettingsFileMissingText[] = "Unable To Find Settings File";
// What Open logs, before the path, for a settings file whose record it cannot build: nothing of such a
// file is sent.
inline constexpr char kSettingsNameTooLongText[] = "Ostrel settings file name longer than 29 characters, not sent: ";
inline constexpr char kSettingsTextTooLongText[] = "Ostrel settings file too long for its record, not sent: ";
inline constexpr char kNotASettingsFileText[] = "Not an Ostrel settings file, not sent: ";
inline constexpr char kSettingsFileUnreadableText[] = "Ostrel settings file could not be read, not sent: ";
// A settings file is text: a zero byte in it (a file saved as UTF-16, a damaged one) would cut it.
inline constexpr char kSettingsFileDamagedText[] = "Ostrel settings file damaged (it holds a zero byte), not sent: ";

class DesktopDatabaseManager : public DatabaseManager {
 public:
  // An empty path and name, option bits 0, sync type 6 (do nothing).
  DesktopDatabaseManager();
  // The path is the directory and file name as BuildDesktopPath makes it; a path of 256 characters or
  // more is refused (the manager has no path). A remote database name is cut to 31 characters.
  DesktopDatabaseManager(SyncLogger* logger, std::uint32_t options, long syncType, const char* remoteName,
                         const char* fileName, const char* directory);
  ~DesktopDatabaseManager() override;

  // DatabaseManager operations that the desktop side gives a behaviour of its own.
  long Open(long mode) override;
  long OpenForSync() override;
  long Close(long flag) override;
  long ReadFirstNewRecord(SyncRecord& record) override;
  long LoadContents() override;
  long FinishSync() override;
  long LoadCategories() override;
  long SaveCategories() override;
  long RemapCategories(const long* table) override;
  long GetSortInfo(DatabaseInfoBlock* info) override;
  long SetSortInfo(DatabaseInfoBlock* info) override;
  long GetAppInfo(DatabaseInfoBlock* info) override;
  long SetAppInfo(DatabaseInfoBlock* info) override;
  bool HasAppSpecificInfo() const override;
  long SetAppSpecificInfo(std::uint32_t size, const void* data) override;
  long GetAppSpecificInfo(void* buffer, std::uint32_t* size) const override;
  const std::uint8_t* AppSpecificInfoData() const override;
  std::uint32_t AppSpecificInfoSize() const override;
  long SetDatabaseInfo(const char* name, std::uint16_t flags, std::uint32_t type, std::uint32_t creator,
                       std::uint16_t version, std::uint32_t modificationNumber, std::uint32_t creationTime,
                       std::uint32_t modificationTime, std::uint32_t backupTime) override;
  long BuildCategoryList() override;
  long StoreCategoryList() override;
  long NextUnmatched(SyncRecord& record) override;

  // Operations that the desktop manager adds, in their slot order.
  virtual long AddPackedRecord(std::span<const std::uint8_t> packed);
  virtual bool IsDirty() const;
  virtual void SetDirty(bool dirty);
  virtual long ReserveAppInfo(std::uint32_t size, bool flag);
  virtual long CloseFile(long ignored);
  virtual long OpenForSyncType();
  virtual long SaveFile();
  virtual long LoadFile();
  // Reads exactly *size bytes; on a short read *size becomes the number of bytes that came.
  virtual long ReadBytesExpecting(void* buffer, std::uint32_t* size);
  virtual long ReadBytes(void* buffer, std::uint32_t size);
  // The Windows file copy.
  virtual bool CopyDesktopFile(const char* source, const char* target, bool failIfExists);
  virtual long NewHeader();
  virtual void Release();
  virtual long UnpackRecord(std::span<const std::uint8_t> packed, SyncRecord& record);
  // The buffer's total-length field (bounded by the buffer itself) gives the room for the record.
  virtual long PackRecord(const SyncRecord& record, std::span<std::uint8_t> packed, bool omitAttributes);
  virtual long WriteU32(std::uint32_t value);
  virtual long WriteU16(std::uint16_t value);
  virtual long WriteU8(std::uint8_t value);
  virtual long WriteString(const char* text);
  virtual long WriteTaggedString(const char* text, std::uint32_t value);
  virtual long WriteTagged6(std::uint32_t value);
  virtual long WriteTagged1(std::uint32_t value);
  virtual long WriteTagged3(std::uint32_t value);
  virtual long WriteU32Again(std::uint32_t value);
  virtual long WriteU32Third(std::uint32_t value);
  // The line-break conversions write into a target that must hold 2 * count + 1 bytes (expanding) or
  // count + 1 bytes (collapsing); the limited form writes at most limit bytes with the NUL.
  virtual long ExpandLineBreaksLimited(const char* source, char* target, long count, long limit);
  virtual long ExpandLineBreaks(const char* source, char* target, long count);
  virtual long CollapseLineBreaks(char* target, const char* source, long count);
  virtual long ReadStringInto(base::TextBuffer& text);
  // *size: the buffer's size in, the text's length out.
  virtual long ReadString(char* buffer, long* size);
  virtual long ReadU8(std::uint8_t* value);
  virtual long ReadU16(std::uint16_t* value);
  virtual long ReadU32(std::uint32_t* value);
  virtual long ReadU32Again(std::uint32_t* value);
  virtual long ReadU32Third(std::uint32_t* value);
  virtual std::uint32_t SwapU32(std::uint32_t* value);
  virtual std::uint16_t SwapU16(std::uint16_t* value);
  // Accepts the bytes and writes nothing: no path of the framework changes a desktop file.
  virtual long WriteBytes(const void* buffer, std::uint32_t length);
  virtual long ClearChangedAttributes();

  const std::string& Path() const { return path_; }
  const std::string& RemoteName() const { return remoteName_; }
  bool IsFileOpen() const { return file_.IsOpen(); }
  // GetLastError() of the last open that failed.
  DWORD OpenError() const { return file_.OpenError(); }
  bool IsLoaded() const { return loaded_; }
  bool IsReadPending() const { return readPending_; }
  const DesktopFileHeader* Header() const { return header_.get(); }
  const DesktopInfoBlock* AppInfoBlock() const { return appInfo_.get(); }
  const DesktopInfoBlock* SortInfoBlock() const { return sortInfo_.get(); }

 protected:
  // Derived stores name their own file (the archive and backup stores change its extension); a path
  // of 256 characters or more is refused as in the constructor.
  void SetPath(const std::string& path);
  void SetLoaded(bool loaded) { loaded_ = loaded; }
  void SetReadPending(bool pending) { readPending_ = pending; }
  // A store that reads a file only for its own state (a backup copy) keeps the leading text to
  // itself instead of handing it to the shared settings-file store.
  void SetSharesLeadingText(bool shares) { sharesLeadingText_ = shares; }
  // A store whose file is all text (a settings file) refuses one with a zero byte, which would cut it.
  void SetRefusesZeroByte(bool refuses) { refusesZeroByte_ = refuses; }
  SyncLogger* Logger() const { return logger_; }
  // The records section of a data file: `count` packed records read from the file position (a yield
  // to HotSync Manager every `yieldEvery` records, 0 for none), or every stored record written.
  long ReadPackedRecords(std::uint32_t count, std::uint32_t yieldEvery);
  long WritePackedRecords(bool omitAttributes);
  // Bytes up to the first NUL or the end of the file, at most 511; kReadFailed when a read fails.
  // Virtual so that a test can fail a read in the middle of a file.
  virtual long ReadLeadingText(std::string& text);

 private:
  // A file that cannot be opened: "Unable To Find Settings File" and the path when it is not there,
  // else (for a settings file) a line with the real reason. A backup copy says its own.
  long ReportNotOpened();
  // A settings file not sent at all: `why` and the path are logged, and the shared store keeps no
  // text of it.
  long Refuse(const char* why);
  long WriteTaggedValue(std::uint32_t tag, std::uint32_t value);
  long GetInfo(const DesktopInfoBlock* block, DatabaseInfoBlock* info, long absent) const;
  long SetInfo(std::unique_ptr<DesktopInfoBlock>& block, const DatabaseInfoBlock* info);
  // Reads an information block of `size` bytes from the file; null when it cannot be read whole or is
  // not a sound block.
  std::unique_ptr<DesktopInfoBlock> ReadInfoBlock(std::uint32_t size);
  std::uint32_t AppSpecificPrefix() const;
  // Bytes left in the open file after the current position.
  std::uint64_t BytesLeft() const;

  SyncLogger* logger_ = nullptr;
  WinFile file_;
  std::string path_;         // at most 255 characters; empty when the manager has no file
  std::string refusedPath_;  // a path that was too long, named in the log when it cannot be opened
  std::unique_ptr<DesktopInfoBlock> sortInfo_;
  std::unique_ptr<DesktopInfoBlock> appInfo_;
  std::unique_ptr<DesktopFileHeader> header_;
  std::string remoteName_;  // at most 31 characters
  bool loaded_ = false;
  bool readPending_ = true;
  bool sharesLeadingText_ = true;
  bool refusesZeroByte_ = false;
  bool leadingTextAtZero_ = false;  // the last leading text ended at a zero byte
};

}  // namespace korvet::store
