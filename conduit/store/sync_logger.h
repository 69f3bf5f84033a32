// SyncLogger: turns sync events and failures into lines of the HotSync log. Templates come from the
// conduit library's string table exactly as stored and are filled with wsprintfA; each line goes to
// AppendHotSyncLog with an activity code that selects the kind of log entry. One logger exists per
// synchronizer, which owns it; the database managers hold a pointer to it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace korvet::store {

class SyncRecord;

// "Side" arguments: the handheld (remote) side is 1, any other value is the desktop (local) side.
inline constexpr long kSideHandheld = 1;
inline constexpr long kSideDesktop = 0;

// Activity code of a plain text line.
inline constexpr long kActivityText = -1;

// Longest line the logger appends, in bytes; longer texts are cut on a character boundary.
inline constexpr std::size_t kMaxLogLine = 511;

class SyncLogger {
 public:
  // module: the library whose string table holds the templates (null: the conduit library).
  SyncLogger(HMODULE module, const char* conduitName);
  SyncLogger(const SyncLogger&) = delete;
  SyncLogger& operator=(const SyncLogger&) = delete;
  virtual ~SyncLogger();

  // Virtual operations in their slot order.
  virtual void ReportErrorWithValues(long error, long value1, long value2);
  virtual void ReportError(long error);
  virtual void WriteSeparators();
  virtual void WriteConduitName(bool flag);
  virtual void ReportRecordError(long error, const SyncRecord& record, bool fullWarning);
  virtual void WriteHeading();
  virtual void ReportAddFailure(long error, const SyncRecord& record, long side);
  virtual void ReportReadFailure(long error, const SyncRecord& record, long side);
  virtual void ReportCreateFailure(long error, const char* databaseName, long side);
  virtual void ReportPurgeFailure(long error, long side);
  virtual void ReportSaveFailure(long error);
  virtual void ReportCloseFailure(long error, long side);
  virtual void ReportClearFlagsFailure(long error, long side);
  virtual void ReportDoubleModify(const SyncRecord& record);
  virtual void ReportModifyDeleteConflict(const SyncRecord& record);
  virtual void ReportCategoryDeleted(const char* categoryName, long side);
  virtual void ReportMoveToUnfiledFailure(const char* categoryName, long side);
  virtual void ReportTooManyCategories(const char* categoryName, long side);
  // Fills buffer (size bytes, NUL included) with the database's description; returns its length. No
  // log line.
  virtual long FormatDatabaseInfo(char* buffer, long size, const char* name, std::uint32_t creator, std::uint32_t type,
                                  std::uint16_t flags, std::uint16_t version);
  virtual void WriteText(const char* text);
  virtual void WriteWarningText(const char* text);
  virtual const char* DescribeRecord(const SyncRecord& record);
  virtual const char* LoadMessage(unsigned id);
  // The template and activity for an error code; the framework reports every code as a fatal error.
  virtual unsigned MapError(long error, long* activity);
  virtual unsigned MapErrorAgain(long error, long* activity);
  virtual const char* HexText(std::uint32_t value);

  // Non-zero: FormatDatabaseInfo uses the long template.
  void SetDetail(std::uint16_t detail) { detail_ = detail; }
  std::uint16_t GetDetail() const { return detail_; }
  const char* Message() const { return message_.c_str(); }
  const char* RecordText() const { return recordText_.c_str(); }
  const char* CodeText() const { return codeText_.c_str(); }
  const char* ConduitName() const { return conduitName_.c_str(); }

 private:
  // Starts an error report: the heading, then the error's template in message_ and its activity in
  // *activity. False when the error is fatal: its template, filled with the code alone, is the report.
  bool StartErrorReport(long error, long* activity);
  void ReportNamed(unsigned id, const char* name, long activity);
  void ReportCode(unsigned id, long error, long activity);
  void ReportRecordWithError(unsigned id, const SyncRecord& record, long error, long activity);

  std::uint16_t detail_ = 0;
  HMODULE module_;
  std::string recordText_;  // at most 255 characters
  std::uint32_t reserved_ = 0;
  std::string codeText_;
  std::string message_;      // at most 511 characters
  std::string conduitName_;  // at most 127 characters
};

// The template with each "%l" that lacks a conversion letter made a signed 32-bit decimal ("%ld"),
// the conversion wsprintfA understands; everything else stays as it is.
std::string CompleteLongConversions(const char* pattern);

}  // namespace korvet::store
