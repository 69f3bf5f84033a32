#include "conduit/store/sync_logger.h"

#include <array>
#include <cstring>

#include "common/error_text.h"
#include "conduit/base/ansi_text.h"
#include "conduit/base/conduit_module.h"
#include "conduit/platform/sync_manager.h"
#include "conduit/store/string_ids.h"
#include "conduit/store/sync_record.h"

namespace korvet::store {

namespace {

// Activity codes, by the kind of entry they mark in the HotSync log.
constexpr long kActivityDoubleModify = 0;
constexpr long kActivityModifyDelete = 2;
constexpr long kActivityTooManyCategories = 3;
constexpr long kActivityCategoryDeleted = 4;
constexpr long kActivityMoveToUnfiled = 7;
constexpr long kActivityHandheldRead = 8;
constexpr long kActivityHandheldAdd = 9;
constexpr long kActivityHandheldPurge = 10;
constexpr long kActivityDesktopAdd = 13;
constexpr long kActivityLocalDatabase = 17;
constexpr long kActivityHandheldClearFlags = 18;
constexpr long kActivitySeparator = 19;
constexpr long kActivityName = 20;
constexpr long kActivityNameFlagged = 21;
constexpr long kActivityWarning = 22;

constexpr std::size_t kMessageSize = 512;
constexpr std::size_t kRecordTextSize = 256;
constexpr std::size_t kMaxConduitName = 127;
// Texts filled into a template are bounded so that no template of the string table, filled with
// its at most five values, can outgrow the scratch buffer (wsprintfA takes no buffer size).
constexpr std::size_t kMaxArgument = 255;
constexpr std::size_t kScratchSize = 2048;

std::string Bounded(const char* text, std::size_t limit) {
  if (text == nullptr) return {};
  return std::string(text, base::BoundedLength(text, limit));
}

// A value for a %s conversion: never null, never longer than kMaxArgument.
class TextArgument {
 public:
  explicit TextArgument(const char* text) : text_(Bounded(text, kMaxArgument)) {}
  const char* get() const { return text_.c_str(); }

 private:
  std::string text_;
};

// Fills a template with wsprintfA, strictly in order, and bounds the line.
template <typename... Args>
std::string Fill(const std::string& pattern, Args... args) {
  std::array<char, kScratchSize> scratch{};
  const std::string completed = CompleteLongConversions(pattern.c_str());
  wsprintfA(scratch.data(), completed.c_str(), args...);
  return Bounded(scratch.data(), kMaxLogLine);
}

// Names in the lines come from lists and files: control bytes in them are shown, never written raw.
void Append(const std::string& line, long activity) { AppendHotSyncLog(VisibleText(line).c_str(), activity, 0); }

}  // namespace

std::string CompleteLongConversions(const char* pattern) {
  std::string result;
  if (pattern == nullptr) return result;
  for (const char* p = pattern; *p != '\0'; ++p) {
    result += *p;
    if (*p != '%') continue;
    if (p[1] == '%') {
      result += *++p;
      continue;
    }
    // Flags, width and precision, then the size prefix and the conversion letter.
    ++p;
    while (*p != '\0' && std::strchr("-+ #0123456789.", *p) != nullptr) result += *p++;
    if (*p == '\0') break;
    result += *p;
    if ((*p == 'l' || *p == 'L') && (p[1] == '\0' || std::strchr("diuxXcsS", p[1]) == nullptr)) result += 'd';
  }
  return result;
}

SyncLogger::SyncLogger(HMODULE module, const char* conduitName)
    : module_(module != nullptr ? module : base::ConduitModule()),
      conduitName_(Bounded(conduitName, kMaxConduitName)) {}

SyncLogger::~SyncLogger() = default;

bool SyncLogger::StartErrorReport(long error, long* activity) {
  WriteHeading();
  const unsigned id = MapError(error, activity);
  LoadMessage(id);
  if (id != IDS_FATAL_ERROR) return true;
  Append(Fill(message_, error), *activity);
  return false;
}

void SyncLogger::ReportErrorWithValues(long error, long value1, long value2) {
  long activity = kActivityText;
  if (StartErrorReport(error, &activity)) Append(Fill(message_, value1, value2), activity);
}

void SyncLogger::ReportError(long error) {
  long activity = kActivityText;
  if (StartErrorReport(error, &activity)) Append(message_, activity);
}

void SyncLogger::WriteSeparators() {
  Append("", kActivitySeparator);
  Append("", kActivityName);
  Append("", kActivitySeparator);
}

void SyncLogger::WriteConduitName(bool flag) { Append(conduitName_, flag ? kActivityNameFlagged : kActivityName); }

void SyncLogger::ReportRecordError(long error, const SyncRecord& record, bool fullWarning) {
  long activity = kActivityText;
  if (!StartErrorReport(error, &activity)) return;
  DescribeRecord(record);
  Append(Fill(message_, TextArgument(recordText_.c_str()).get()), activity);
  if (fullWarning) {
    LoadMessage(IDS_HANDHELD_FULL);
    Append(message_, kActivityText);
  }
}

void SyncLogger::WriteHeading() {
  // The log answers 0 until the conduit's first line; the heading names the conduit before it.
  if ((QueryHotSyncLogState() & 0xFFFF) != 0) return;
  message_ = "-- " + conduitName_;
  Append(message_, kActivityText);
}

void SyncLogger::ReportRecordWithError(unsigned id, const SyncRecord& record, long error, long activity) {
  WriteHeading();
  DescribeRecord(record);
  LoadMessage(id);
  Append(Fill(message_, TextArgument(recordText_.c_str()).get(), static_cast<unsigned long>(error)), activity);
}

void SyncLogger::ReportAddFailure(long error, const SyncRecord& record, long side) {
  if (side == kSideHandheld) {
    ReportRecordWithError(IDS_HANDHELD_ADD_FAILED, record, error, kActivityHandheldAdd);
  } else {
    ReportRecordWithError(IDS_DESKTOP_ADD_FAILED, record, error, kActivityDesktopAdd);
  }
}

void SyncLogger::ReportReadFailure(long error, const SyncRecord& record, long side) {
  if (side == kSideHandheld) {
    ReportRecordWithError(IDS_HANDHELD_READ_FAILED, record, error, kActivityHandheldRead);
  } else {
    ReportRecordWithError(IDS_DESKTOP_READ_FAILED, record, error, kActivityText);
  }
}

void SyncLogger::ReportCreateFailure(long error, const char* databaseName, long side) {
  WriteHeading();
  LoadMessage(side == kSideHandheld ? IDS_HANDHELD_CREATE_FAILED : IDS_DESKTOP_CREATE_FAILED);
  Append(Fill(message_, TextArgument(databaseName).get(), static_cast<unsigned long>(error)), kActivityText);
}

void SyncLogger::ReportCode(unsigned id, long error, long activity) {
  WriteHeading();
  HexText(static_cast<std::uint32_t>(error));
  LoadMessage(id);
  Append(Fill(message_, codeText_.c_str()), activity);
}

void SyncLogger::ReportPurgeFailure(long error, long side) {
  if (side == kSideHandheld) {
    ReportCode(IDS_HANDHELD_PURGE_FAILED, error, kActivityHandheldPurge);
  } else {
    ReportCode(IDS_DESKTOP_PURGE_FAILED, error, kActivityWarning);
  }
}

void SyncLogger::ReportSaveFailure(long error) { ReportCode(IDS_SAVE_FAILED, error, kActivityLocalDatabase); }

void SyncLogger::ReportCloseFailure(long error, long side) {
  if (side == kSideHandheld) {
    ReportCode(IDS_HANDHELD_CLOSE_FAILED, error, kActivityWarning);
  } else {
    ReportCode(IDS_DESKTOP_CLOSE_FAILED, error, kActivityLocalDatabase);
  }
}

void SyncLogger::ReportClearFlagsFailure(long error, long side) {
  if (side == kSideHandheld) {
    ReportCode(IDS_HANDHELD_CLEAR_FLAGS_FAILED, error, kActivityHandheldClearFlags);
  } else {
    ReportCode(IDS_DESKTOP_CLEAR_FLAGS_FAILED, error, kActivityWarning);
  }
}

void SyncLogger::ReportDoubleModify(const SyncRecord& record) {
  WriteHeading();
  DescribeRecord(record);
  LoadMessage(IDS_DOUBLE_MODIFY);
  Append(Fill(message_, TextArgument(recordText_.c_str()).get()), kActivityDoubleModify);
}

void SyncLogger::ReportModifyDeleteConflict(const SyncRecord& record) {
  WriteHeading();
  DescribeRecord(record);
  LoadMessage(IDS_MODIFY_DELETE_CONFLICT);
  Append(Fill(message_, TextArgument(recordText_.c_str()).get()), kActivityModifyDelete);
}

void SyncLogger::ReportNamed(unsigned id, const char* name, long activity) {
  WriteHeading();
  LoadMessage(id);
  Append(Fill(message_, TextArgument(name).get()), activity);
}

void SyncLogger::ReportCategoryDeleted(const char* categoryName, long side) {
  ReportNamed(side == kSideHandheld ? IDS_HANDHELD_CATEGORY_DELETED : IDS_DESKTOP_CATEGORY_DELETED, categoryName,
              kActivityCategoryDeleted);
}

void SyncLogger::ReportMoveToUnfiledFailure(const char* categoryName, long side) {
  ReportNamed(side == kSideHandheld ? IDS_HANDHELD_MOVE_TO_UNFILED_FAILED : IDS_DESKTOP_MOVE_TO_UNFILED_FAILED,
              categoryName, kActivityMoveToUnfiled);
}

void SyncLogger::ReportTooManyCategories(const char* categoryName, long side) {
  ReportNamed(side == kSideHandheld ? IDS_HANDHELD_TOO_MANY_CATEGORIES : IDS_DESKTOP_TOO_MANY_CATEGORIES, categoryName,
              kActivityTooManyCategories);
}

long SyncLogger::FormatDatabaseInfo(char* buffer, long size, const char* name, std::uint32_t creator,
                                    std::uint32_t type, std::uint16_t flags, std::uint16_t version) {
  char creatorText[16];
  wsprintfA(creatorText, "%lx", static_cast<unsigned long>(creator));
  const TextArgument databaseName(name);
  std::string text;
  if (detail_ != 0) {
    LoadMessage(IDS_DATABASE_INFO_LONG);
    text = Fill(message_, databaseName.get(), creatorText, static_cast<unsigned long>(type), static_cast<int>(flags),
                static_cast<int>(version));
  } else {
    LoadMessage(IDS_DATABASE_INFO_SHORT);
    text = Fill(message_, databaseName.get(), creatorText);
  }
  if (buffer == nullptr || size <= 0) return 0;
  return static_cast<long>(base::CopyBounded(buffer, static_cast<std::size_t>(size), text.c_str()));
}

void SyncLogger::WriteText(const char* text) {
  WriteHeading();
  Append(Bounded(text, kMaxLogLine), kActivityText);
}

void SyncLogger::WriteWarningText(const char* text) {
  WriteHeading();
  Append(Bounded(text, kMaxLogLine), kActivityWarning);
}

const char* SyncLogger::DescribeRecord(const SyncRecord& record) {
  std::array<char, kRecordTextSize> text{};
  long size = static_cast<long>(text.size());
  const long length = record.Describe(text.data(), &size);
  // Describe gives the text's length, or a status when the text did not fit.
  recordText_ = length >= 0 && length < static_cast<long>(text.size()) ? std::string(text.data()) : std::string();
  return recordText_.c_str();
}

const char* SyncLogger::LoadMessage(unsigned id) {
  std::array<char, kMessageSize> text{};
  if (LoadStringA(module_, id, text.data(), static_cast<int>(text.size())) <= 0) text[0] = '\0';
  message_ = text.data();
  return message_.c_str();
}

unsigned SyncLogger::MapError(long /*error*/, long* activity) {
  if (activity != nullptr) *activity = kActivityText;
  return IDS_FATAL_ERROR;
}

unsigned SyncLogger::MapErrorAgain(long error, long* activity) { return MapError(error, activity); }

const char* SyncLogger::HexText(std::uint32_t value) {
  char text[16];
  wsprintfA(text, "%lx", static_cast<unsigned long>(value));
  codeText_ = text;
  return codeText_.c_str();
}

}  // namespace korvet::store
