#include "conduit/sync/settings_file_store.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "conduit/base/ansi_text.h"
#include "conduit/store/desktop_path.h"
#include "conduit/store/status_codes.h"
#include "conduit/sync/record_layout.h"

namespace korvet {

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
  *out++ = record_layout::kSeparator;
  out = std::copy_n(text ? text : "", textLength, out);
  *out = record_layout::kSettingsEnd;
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

void SettingsFileStore::RetrieveReports(const std::string& folder, ReportPass& pass) {
  // One writer for the pass: its staging folder goes when the pass lets go of it.
  auto writer = std::make_shared<ReportFolderWriter>(folder, *fileSteps_);
  writer->RemoveLeftovers();
  pass.Retrieve([this, writer](const std::vector<std::uint8_t>& record, std::vector<std::string>& log) {
    return WriteReportFile(*writer, record, log);
  });
}

ReportSave SettingsFileStore::WriteReportFile(ReportFolderWriter& writer, const std::vector<std::uint8_t>& record,
                                              std::vector<std::string>& log) {
  const TraverseReport report = TraverseReport::FromRecord(record);
  return writer.Save(report.name, report.text, log);
}

void SettingsFileStore::DeleteReports(ReportPass& pass) { pass.DeleteSaved(); }

}  // namespace korvet
