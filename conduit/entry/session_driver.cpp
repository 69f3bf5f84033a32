#include "conduit/entry/session_driver.h"

#include <cctype>
#include <cstring>
#include <set>

#include "common/list_format.h"
#include "common/list_location.h"
#include "common/paths.h"
#include "common/report_folder_reader.h"
#include "common/settings_list_reader.h"
#include "common/win_file.h"
#include "conduit/base/ansi_text.h"
#include "conduit/platform/hotsync_log.h"
#include "conduit/store/status_codes.h"
#include "conduit/sync/duplicate_removal.h"
#include "conduit/sync/report_pass.h"
#include "conduit/sync/settings_file_store.h"

namespace korvet {
namespace {

constexpr long kCorePathCapacity = 256;

template <std::size_t N>
void CopyField(char (&field)[N], const std::string& text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

// Report files are named folder + report name + ".csv": only a full path that ends in a backslash
// keeps them inside the chosen folder. A relative one would put them wherever HotSync Manager happens
// to run, one without its backslash beside the folder under names that begin with its last part.
bool IsUsableReportFolder(const std::string& folder) {
  if (folder.empty() || folder.back() != '\\') return false;
  const bool drive = folder.size() >= 3 && std::isalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':' &&
                     folder[2] == '\\';
  const bool network = folder.size() >= 3 && folder[0] == '\\' && folder[1] == '\\' && folder[2] != '\\';
  return drive || network;
}

// The session's result: 0 only when every listed file meant to be sent was sent, else the code of the
// first that was not, so that a failure is never hidden behind a later success. With nothing to send,
// a list that stopped before its end marker gives 0 and one that ended at it -1.
class SessionResult {
 public:
  void Add(long run) {
    if (!anyEntry_ || firstFailure_ == 0) firstFailure_ = run;
    anyEntry_ = true;
  }
  long Value(bool stoppedEarly) const {
    if (anyEntry_) return firstFailure_;
    return stoppedEarly ? 0 : -1;
  }

 private:
  bool anyEntry_ = false;
  long firstFailure_ = 0;
};

// Logged when there is no memory to send a listed file; a fixed text, since memory is short.
constexpr char kNoMemoryForFileText[] = "Out of memory, an Ostrel settings file was not sent";

// Duplicate removal, retrieval and deletion share one pass over the handheld database, which runs
// once the report folder file said what it is to do; it also does the purge that the settings-file
// synchronizers left to it.
void RemoveDuplicatesAndRetrieveReports(const std::string& coreDirectory, bool purgeDeleted) {
  ReportPass pass;
  RemoveDuplicateRecords(pass);
  if (purgeDeleted) pass.PurgeDeleted();
  // The folder file stays open, unshared, until the reports are retrieved and deleted, so that no
  // tool rewrites it in the middle of the session.
  WinFile file = WinFile::OpenForReading(JoinPath(coreDirectory, lists::kReportFolderFile));
  ReportFolderSettings settings = ReadReportFolderSettings(file);
  SettingsFileStore store;
  if (settings.folderTooLong) {
    LogLine("Report folder too long, traverse reports not retrieved: " + settings.folder);
  } else if (settings.retrieve && !IsUsableReportFolder(settings.folder)) {
    LogLine("Report folder not a full folder path ending in a backslash, traverse reports not retrieved: " +
            settings.folder);
  } else if (settings.retrieve) {
    store.RetrieveReports(settings.folder, pass);
    if (settings.deleteReports) store.DeleteReports(pass);
  }
  pass.Run();
}

}  // namespace

SessionServices DefaultSessionServices() {
  return {[] { return QueryHotSyncCorePath(kCorePathCapacity); }, DefaultSynchronizerFactory()};
}

long RunHotSyncSession(void* hotsync, SyncProperties* properties, const SessionServices& services) {
  LogLine("Starting Sync with KorvIR");
  if (hotsync == nullptr || properties == nullptr) return -1;

  std::optional<std::string> coreDirectory = services.corePath();
  const std::string listPath = coreDirectory ? JoinPath(*coreDirectory, lists::kSettingsListFile) : std::string();
  WinFile list;
  if (coreDirectory) list = WinFile::OpenForReading(listPath);
  if (!list) {
    LogLine("Unable To Find Xembrafilepath.dat Ostrel settings location file");
    return -1;
  }

  SettingsListReader reader(list);
  SessionResult result;
  // Each file is sent once per session: a list that names one file many times (a damaged or
  // runaway list of a megabyte holds tens of thousands of entries) would otherwise run a
  // synchronizer for every copy and hold the HotSync for many minutes, sending the same record.
  std::set<std::string> sent;
  bool purgeLeft = false;
  while (!reader.Ended()) {
    SettingsListEntry entry = reader.ReadEntry();
    SyncYieldCycles(1);
    switch (entry.kind) {
      case SettingsListEntry::Kind::kSend: {
        if (!sent.insert(base::ToUpperCase((entry.directory + '\\' + entry.fileName).c_str())).second) break;
        CopyField(properties->localDirectory, entry.directory);
        CopyField(properties->localName, entry.fileName);
        if (auto synchronizer = services.makeSynchronizer(*properties, kSettingsSyncOptions)) {
          result.Add(synchronizer->Run());
          purgeLeft = purgeLeft || synchronizer->LeftPurgeToSession();
        } else {
          LogLine(kNoMemoryForFileText);
          result.Add(store::kOutOfMemory);
        }
        break;
      }
      case SettingsListEntry::Kind::kEmptyDirectory:
        CopyField(properties->localDirectory, "No Path Name Selected ");
        CopyField(properties->localName, "No File Name Selected ");
        break;
      case SettingsListEntry::Kind::kRejected:
        LogLine(entry.reason);
        result.Add(store::kDesktopFileNotFound);
        break;
      case SettingsListEntry::Kind::kNotSent:
        break;
    }
  }
  list.Close();
  if (reader.TruncateList()) WinFile::OpenTruncated(listPath).Close();

  RemoveDuplicatesAndRetrieveReports(*coreDirectory, purgeLeft);

  LogLine("KorvIR Sync OK...Complete");
  return result.Value(reader.StoppedEarly());
}

}  // namespace korvet
