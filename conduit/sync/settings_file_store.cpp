#include "conduit/sync/settings_file_store.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "common/win_file.h"
#include "conduit/platform/hotsync_log.h"
#include "conduit/store/desktop_path.h"
#include "conduit/store/status_codes.h"
#include "conduit/base/ansi_text.h"
#include "conduit/sync/report_database.h"
#include "conduit/sync/report_file_name.h"

namespace korvet {
namespace {

constexpr std::uint8_t kReportMark = '$';
constexpr std::size_t kNameOffset = 8;        // "$" and seven bytes the device writes
constexpr std::size_t kMaxReportPath = 255;

bool IsReport(const HandheldRecord& record) { return !record.data.empty() && record.data[0] == kReportMark; }

constexpr char kSeparator = ',';
constexpr char kTerminator = '*';

}  // namespace

SettingsFileStore& SharedSettingsFileStore() {
  static SettingsFileStore shared;
  return shared;
}

namespace store {
SettingsRecordSource& SharedSettingsRecordSource() { return SharedSettingsFileStore(); }
}  // namespace store

SettingsFileStore::SettingsFileStore() = default;

SettingsFileStore::~SettingsFileStore() = default;

// A new file starts with no record text, so that a file refused later can never carry the text of the
// one before it.
long SettingsFileStore::SetFileName(const char* path) {
  fileName_.fill('\0');
  recordText_.fill('\0');
  const std::string name = store::NamePart(path ? path : "");
  nameRefused_ = name.size() >= kFileNameSize;
  if (nameRefused_) return store::kValueTooLarge;
  std::copy(name.begin(), name.end(), fileName_.begin());
  return store::kOk;
}

long SettingsFileStore::BuildRecordText(const char* text) {
  recordText_.fill('\0');
  if (nameRefused_) return store::kValueTooLarge;
  const std::size_t nameLength = std::strlen(fileName_.data());
  // Name, comma, text, asterisk and the NUL share the buffer; the text gets what the rest leaves.
  const std::size_t room = kRecordTextSize - 1 - nameLength - 2;
  const std::size_t textLength = std::strlen(text ? text : "");
  // A settings file cut short would reach the device as other settings than the user's.
  if (textLength > room) return store::kValueTooLarge;
  char* out = std::copy_n(fileName_.data(), nameLength, recordText_.data());
  *out++ = kSeparator;
  out = std::copy_n(text ? text : "", textLength, out);
  *out = kTerminator;
  return store::kOk;
}

bool SettingsFileStore::FillRecord(store::SyncRecord& record) const {
  record.SetId(0);
  record.SetCategory(0);
  record.SetPrivate(private_ != 0);
  record.SetNew(false);
  record.SetDeleted(false);
  record.SetArchived(false);
  record.SetModified(true);
  const std::size_t length = strnlen(recordText_.data(), recordText_.size());
  if (length == 0) {
    record.SetData(0, nullptr);
    record.SetDeleted(true);
    return true;
  }
  return record.SetData(static_cast<std::uint32_t>(length), recordText_.data()) == store::kOk;
}

void SettingsFileStore::RetrieveReports(const std::string& folder) {
  KorvetDatabase database;
  if (database.Open() != 0 && database.ReopenAfterEarlierPass() != 0) return;
  std::uint16_t count = 0;
  if (CountRecords(database.Handle(), count) != 0) return;
  // Only the newest copy of a report (the last record with its key) is exported. Were an older copy
  // exported while duplicate removal had not run to its end, it would take the report's file name, the
  // newest copy could never be written and would stay on the handheld for good. So every key is read
  // first; a failed read exports nothing.
  std::unordered_map<std::string, std::uint16_t> newest;
  HandheldRecord record;
  for (std::uint16_t index = 0; index < count; ++index) {
    if (ReadRecordByIndex(database.Handle(), index, record) != 0) return;
    if (IsReport(record)) newest[DuplicateKey(record.data)] = index;
  }
  std::vector<std::uint16_t> toExport;
  for (const auto& [key, index] : newest) toExport.push_back(index);
  std::sort(toExport.begin(), toExport.end());
  for (std::uint16_t index : toExport) {
    if (ReadRecordByIndex(database.Handle(), index, record) != 0) return;
    if (IsReport(record) && WriteReportFile(folder, record.data)) exportedReports_.insert(record.id);
  }
}

bool SettingsFileStore::WriteReportFile(const std::string& folder, const std::vector<std::uint8_t>& record) {
  SyncYieldCycles(1);

  // The name runs from offset 8 to the first comma or zero byte; the text from the byte after that
  // to the next zero byte or the record's end.
  const std::size_t nameStart = std::min(kNameOffset, record.size());
  std::size_t end = nameStart;
  while (end < record.size() && record[end] != ',' && record[end] != 0) ++end;
  const std::string name(record.begin() + nameStart, record.begin() + end);
  std::size_t textStart = std::min(end + 1, record.size());
  std::size_t textEnd = textStart;
  while (textEnd < record.size() && record[textEnd] != 0) ++textEnd;
  const std::string text(record.begin() + textStart, record.begin() + textEnd);

  const std::string path = folder + name + ".csv";
  auto refuse = [&path] {
    LogLine("Filename already exist");
    LogLine(path);
    return false;
  };
  if (!IsSafeReportName(name) || path.size() > kMaxReportPath) return refuse();

  WinFile file = WinFile::CreateNew(path);
  if (!file) {
    refuse();
    // The report counts as exported when an earlier session wrote exactly these bytes.
    auto existing = ReadWholeFile(path);
    return existing && std::string(existing->begin(), existing->end()) == text;
  }
  if (!file.Write(text)) {
    // A half-written report file is removed; the report stays on the handheld for the next session.
    file.Close();
    DeleteFileA(path.c_str());
    return false;
  }
  return true;
}

// The exported reports are known by their record IDs: nothing needs reading again to delete them.
void SettingsFileStore::DeleteReports() {
  KorvetDatabase database;
  if (database.Open() != 0) return;
  for (std::uint32_t id : exportedReports_) {
    if (DeleteRecordById(database.Handle(), id) != 0) return;
  }
}

}  // namespace korvet
