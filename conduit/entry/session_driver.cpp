#include "conduit/entry/session_driver.h"

#include <cstring>
#include <new>
#include <set>

#include "common/error_text.h"
#include "common/list_format.h"
#include "common/list_location.h"
#include "common/paths.h"
#include "common/report_folder_reader.h"
#include "common/settings_list_reader.h"
#include "common/win_file.h"
#include "conduit/base/ansi_text.h"
#include "conduit/entry/session_result.h"
#include "conduit/platform/hotsync_log.h"
#include "conduit/store/status_codes.h"
#include "conduit/sync/duplicate_removal.h"
#include "conduit/sync/report_pass.h"
#include "conduit/sync/settings_file_store.h"

namespace korvet {
namespace {

constexpr long kCorePathCapacity = 256;

// Fixed texts for the lines written when memory runs out, which need no memory of their own.
constexpr char kNoMemoryForFileText[] = "Out of memory, an Ostrel settings file was not sent";
constexpr char kNoMemoryForListText[] = "Out of memory, the rest of Xembrafilepath.dat was not read";
constexpr char kNoMemoryForReportsText[] =
    "Out of memory, traverse reports not all retrieved, the others stay on the handheld";
constexpr char kProblemsText[] = "KorvIR Sync finished with problems";

template <std::size_t N>
void CopyField(char (&field)[N], const std::string& text) {
  std::memset(field, 0, N);
  std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

// Report files are named folder + report name + ".csv": only a full path that ends in a backslash
// keeps them inside the chosen folder. A relative one would put them wherever HotSync Manager happens
// to run, one without its backslash beside the folder under names that begin with its last part.
bool IsUsableReportFolder(const std::string& folder) { return EndsWithBackslash(folder) && IsFullPath(folder); }

// Runs the synchronizer of one listed file; what it returns, or why it could not run.
long SendListedFile(const SettingsListEntry& entry, SyncProperties& properties, const SessionServices& services,
                    bool& purgeLeft) {
  try {
    CopyField(properties.localDirectory, entry.directory);
    CopyField(properties.localName, entry.fileName);
    auto synchronizer = services.makeSynchronizer(properties, kSettingsSyncOptions);
    if (!synchronizer) {
      LogLine(kNoMemoryForFileText);
      return store::kOutOfMemory;
    }
    const long run = synchronizer->Run();
    purgeLeft = purgeLeft || synchronizer->LeftPurgeToSession();
    if (run == store::kOutOfMemory)
      LogLine("Out of memory, Ostrel settings file not sent whole: " + JoinPath(entry.directory, entry.fileName));
    return run;
  } catch (const std::bad_alloc&) {
    LogLine(kNoMemoryForFileText);
    return store::kOutOfMemory;
  }
}

// Why the list stopped before its end, when that cost entries.
void ReportDamagedList(const SettingsListReader& reader, SessionResult& result) {
  if (reader.SkippedByteOrderMark()) LogLine("Xembrafilepath.dat starts with a byte order mark, which was skipped");
  if (reader.CutByZeroByte()) {
    LogLine("Xembrafilepath.dat holds a zero byte at offset " + std::to_string(reader.StopOffset()) +
            ": the entries after it were not sent, and the list was kept");
    result.AddUnreadList(kSettingsListUnread);
  } else if (reader.ReadFailed()) {
    LogLine("Xembrafilepath.dat could not be read to its end (" + FileErrorText(reader.ReadError()) +
            "): the entries after offset " + std::to_string(reader.StopOffset()) +
            " were not sent, and the list was kept");
    result.AddUnreadList(kSettingsListUnread);
  }
}

// What the report folder file asks of the pass. When it gives no usable choice, a line says why, and
// unless no folder was ever chosen (no file, an empty one) the reports on the handheld count as not
// retrieved: they may have been wanted.
void AskForReports(WinFile& file, ReportPass& pass, SettingsFileStore& store) {
  const std::string name = lists::kReportFolderFile;
  constexpr char kNotRetrieved[] = ", traverse reports not retrieved";
  auto cannot = [&](const std::string& cause, const std::string& detail) {
    LogLine(cause + kNotRetrieved + detail);
    pass.CannotRetrieve(cause);
  };
  if (!file) {
    const DWORD error = file.OpenError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
      LogLine(name + " not found" + kNotRetrieved);
    } else if (error == ERROR_SHARING_VIOLATION) {
      cannot(name + " in use by another program", "");
    } else {
      cannot(name + " could not be opened (" + FileErrorText(error) + ")", "");
    }
    return;
  }
  const ReportFolderSettings settings = ReadReportFolderSettings(file);
  using Ending = ReportFolderSettings::Ending;
  if (settings.ending == Ending::kReadFailed) {
    cannot(name + " could not be read (" + FileErrorText(settings.readError) + ")", "");
  } else if (settings.ending == Ending::kEmpty) {
    LogLine(name + " holds no report folder" + kNotRetrieved);
  } else if (settings.ending == Ending::kCut) {
    cannot(name + " is damaged (no complete report folder choice)", "");
  } else if (settings.folderTooLong) {
    cannot("Report folder too long", ": " + settings.folder);
  } else if (settings.retrieve && !IsUsableReportFolder(settings.folder)) {
    cannot("Report folder not a full folder path ending in a backslash", ": " + settings.folder);
  } else if (settings.retrieve) {
    store.RetrieveReports(settings.folder, pass);
    if (settings.deleteReports) store.DeleteReports(pass);
  }
}

// Duplicate removal, retrieval and deletion share one pass over the handheld database, which runs
// once the report folder file said what it is to do; it also does the purge that the settings-file
// synchronizers left to it. False when reports that were to be retrieved stay on the handheld.
bool RemoveDuplicatesAndRetrieveReports(const std::string& coreDirectory, bool purgeDeleted,
                                        const KorvetDatabase* sessionDatabase) {
  ReportPass pass;
  pass.UseSessionDatabase(sessionDatabase);
  RemoveDuplicateRecords(pass);
  if (purgeDeleted) pass.PurgeDeleted();
  // The folder file stays open, unshared, until the reports are retrieved and deleted, so that no
  // tool rewrites it in the middle of the session.
  WinFile file = WinFile::OpenForReading(JoinPath(coreDirectory, lists::kReportFolderFile));
  SettingsFileStore store;
  AskForReports(file, pass, store);
  return pass.Run();
}

}  // namespace

SessionServices DefaultSessionServices() {
  auto transfer = std::make_shared<sync::SettingsTransferSession>();
  return {[] { return QueryHotSyncCorePath(kCorePathCapacity); }, DefaultSynchronizerFactory(transfer), transfer};
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
  const bool sendsFiles = SendsSettingsFiles(properties->syncType);
  SessionResult result(sendsFiles);
  bool purgeLeft = false;
  bool listRead = false;
  try {
    // Each file is sent once per session: a list that names one file many times (a damaged or
    // runaway list of a megabyte holds tens of thousands of entries) would otherwise run a
    // synchronizer for every copy and hold the HotSync for many minutes, sending the same record.
    std::set<std::string> sent;
    while (!reader.Ended()) {
      SettingsListEntry entry = reader.ReadEntry();
      SyncYieldCycles(1);
      switch (entry.kind) {
        case SettingsListEntry::Kind::kSend:
          if (!sent.insert(base::ToUpperCase((entry.directory + '\\' + entry.fileName).c_str())).second) break;
          result.AddListedFile(SendListedFile(entry, *properties, services, purgeLeft));
          break;
        case SettingsListEntry::Kind::kEmptyDirectory:
          CopyField(properties->localDirectory, "No Path Name Selected ");
          CopyField(properties->localName, "No File Name Selected ");
          break;
        case SettingsListEntry::Kind::kRejected:
          LogLine(entry.reason);
          // Only a HotSync that sends files fails for an entry it cannot send.
          result.AddListedFile(sendsFiles ? store::kDesktopFileNotFound : 0);
          break;
        case SettingsListEntry::Kind::kNotSent:
          break;
      }
    }
    listRead = true;
    ReportDamagedList(reader, result);
  } catch (const std::bad_alloc&) {
    LogLine(kNoMemoryForListText);
    result.AddUnreadList(store::kOutOfMemory);
  }
  // The runs' Sync Manager session ends where the last run's did.
  if (services.transfer) result.AddSyncSessionEnd(services.transfer->EndSyncSession());
  list.Close();
  // A list that was not read to its end keeps what the session did not see.
  if (listRead && reader.TruncateList()) WinFile::OpenTruncated(listPath).Close();

  try {
    const KorvetDatabase* sessionDatabase = services.transfer ? &services.transfer->database : nullptr;
    if (!RemoveDuplicatesAndRetrieveReports(*coreDirectory, purgeLeft, sessionDatabase)) result.AddReportsLeft();
  } catch (const std::bad_alloc&) {
    LogLine(kNoMemoryForReportsText);
    result.AddReportsLeft();
  }
  if (services.transfer) services.transfer->database.Close();

  // The closing line is the one the log has always ended with; a session that failed says so first.
  const long value = result.Value(reader.StoppedEarly());
  if (value != 0) {
    try {
      LogLine(result.ProblemLine(reader.StoppedEarly()));
    } catch (const std::bad_alloc&) {
      LogLine(kProblemsText);
    }
  }
  LogLine("KorvIR Sync OK...Complete");
  return value;
}

}  // namespace korvet
