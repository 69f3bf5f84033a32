#include "tests/sweep/sweep_bench.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>

#include "common/paths.h"
#include "common/unique_handle.h"
#include "common/win_file.h"
#include "conduit/entry/conduit_exports.h"
#include "sim/hslog20/hslog20_control.h"
#include "sim/pdb/palm_database.h"
#include "sim/support/sim_files.h"
#include "sim/support/win_handles.h"
#include "sim/sync20/sync20_control.h"
#include "sim/synchost/sync_properties_builder.h"
#include "tests/sweep/crash_reporting.h"

namespace korvet::sweep {
namespace {

// 2020-01-02 03:04:05 UTC: every file the scene writes carries this time, so a rewrite shows.
constexpr std::uint64_t kSceneFileTime = 132224054450000000ull;

bool EndsWithProgram(const std::string& name) {
  const std::string upper = Upper(name);
  return upper.size() > 4 && (upper.ends_with(".EXE") || upper.ends_with(".DLL"));
}

void RemoveTree(const std::string& folder, bool keepPrograms) {
  {
    sim::FileSearch search(folder + "\\*");
    if (search.Valid()) {
      do {
        const std::string name = search.Current().cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = JoinPath(folder, name);
        if (search.Current().dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(path, false);
          RemoveDirectoryA(path.c_str());
        } else if (!(keepPrograms && EndsWithProgram(name))) {
          SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileA(path.c_str());
        }
      } while (search.Next());
    }
  }
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  WinFile file = WinFile::CreateAlways(path);
  const FILETIME time{static_cast<DWORD>(kSceneFileTime & 0xFFFFFFFFu), static_cast<DWORD>(kSceneFileTime >> 32)};
  return file.Write(bytes) && file.SetLastWriteTime(time);
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (std::uint8_t byte : bytes) {
    text.push_back(digits[byte >> 4]);
    text.push_back(digits[byte & 15]);
  }
  return text.empty() ? "-" : text;
}

struct SessionCall {
  OpenConduitFn openConduit = nullptr;
  SyncProperties properties{};
  long result = 0;
};

// Sessions run one after the other on one worker thread, so that the caller can give up on one that
// hangs (the process then ends: the thread cannot be stopped safely).
class SessionWorker {
 public:
  SessionWorker()
      : start_(CreateEventA(nullptr, FALSE, FALSE, nullptr)), done_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    thread_.Reset(CreateThread(nullptr, 0, Loop, this, 0, nullptr));
  }
  // False when the call has not returned within the limit.
  bool Run(SessionCall* call, unsigned timeLimitMs) {
    call_ = call;
    SetEvent(start_.Get());
    return WaitForSingleObject(done_.Get(), timeLimitMs) == WAIT_OBJECT_0;
  }

 private:
  static DWORD WINAPI Loop(void* argument) {
    auto* self = static_cast<SessionWorker*>(argument);
    static char context[16] = "sweep";  // OpenConduit only tests its first argument for null
    for (;;) {
      WaitForSingleObject(self->start_.Get(), INFINITE);
      self->call_->result = self->call_->openConduit(context, &self->call_->properties);
      SetEvent(self->done_.Get());
    }
  }
  UniqueKernelHandle start_, done_, thread_;
  SessionCall* call_ = nullptr;
};

}  // namespace

std::string DuplicateKey(const std::string& record) { return record.substr(0, record.find(',')); }

std::vector<Report> ReportsThatMustSurvive(const std::vector<std::string>& records) {
  std::map<std::string, std::size_t> newest;
  for (std::size_t i = 0; i < records.size(); ++i) newest[DuplicateKey(records[i])] = i;
  std::vector<Report> reports;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const std::string& record = records[i];
    if (record.empty() || record[0] != '$' || newest[DuplicateKey(record)] != i) continue;
    Report report{record, {}, {}};
    std::size_t at = std::min<std::size_t>(8, record.size());
    while (at < record.size() && record[at] != ',' && record[at] != '\0') report.name.push_back(record[at++]);
    for (++at; at < record.size() && record[at] != '\0'; ++at) report.text.push_back(record[at]);
    reports.push_back(std::move(report));
  }
  return reports;
}

SweepBench::SweepBench(std::string root, std::string korv, std::string pdbArchive)
    : root_(std::move(root)), korvPath_(std::move(korv)), pdbArchive_(std::move(pdbArchive)) {}

void SweepBench::Restore(const Scene& scene) {
  RemoveTree(JoinPath(root_, "hotsync"), true);
  {
    // Everything else in the root goes: the folders of the last scene and whatever a session left.
    sim::FileSearch search(root_ + "\\*");
    std::vector<std::string> strays;
    if (search.Valid()) {
      do {
        const std::string name = search.Current().cFileName;
        if (name != "." && name != ".." && Upper(name) != "HOTSYNC") strays.push_back(name);
      } while (search.Next());
    }
    for (const std::string& name : strays) {
      RemoveTree(Path(name), false);
      RemoveDirectoryA(Path(name).c_str());
      DeleteFileA(Path(name).c_str());
    }
  }
  for (const char* folder : {"hotsync\\Handheld", "Settings", "Reports", "cwd"})
    CreateDirectoryA(Path(folder).c_str(), nullptr);
  for (const auto& [relative, bytes] : scene.files) {
    if (!WriteBytes(Path(relative), bytes)) std::fprintf(stderr, "cannot write %s\n", Path(relative).c_str());
  }
  if (scene.records) {
    sim::PalmDatabase database;
    database.name = kDatabaseName;
    database.type = hotsync::FourCharValue("DATA");
    database.creator = hotsync::FourCharValue("KRVT");
    for (const std::string& data : *scene.records) {
      sim::PalmRecord record;
      record.id = database.NewUniqueId();
      const auto deleted = scene.deviceDeleted.find(database.records.size());
      record.attributes = sim::kRecModified | (deleted != scene.deviceDeleted.end() ? deleted->second : 0);
      record.data.assign(data.begin(), data.end());
      database.records.push_back(std::move(record));
    }
    std::string error;
    if (!sim::HandheldFolder(Path("hotsync\\Handheld")).Save(database, &error))
      std::fprintf(stderr, "cannot write the handheld database: %s\n", error.c_str());
  }
}

SessionOutcome SweepBench::RunSession(std::int32_t syncType, unsigned timeLimitMs) {
  SimEndSession();
  SimSetInstallDirectory(Path("hotsync").c_str());
  SimLogSetFile(Path("hotsync\\HotSync.log").c_str());
  SimLogBeginConduit();
  SetCurrentDirectoryA(Path("cwd").c_str());

  if (!korv_.IsLoaded()) {
    conduitManager_ = WinLibrary(Path("hotsync\\CondMgr.dll"));
    korv_ = WinLibrary(korvPath_);
    if (!korv_.Get<OpenConduitFn>("OpenConduit")) Die(("no OpenConduit in " + korvPath_).c_str(), 2);
  }
  auto* call = new SessionCall;  // a hung session keeps it: the process ends without freeing it
  call->openConduit = korv_.Get<OpenConduitFn>("OpenConduit");
  hotsync::ConduitRegistration conduit;
  conduit.creator = "KRVT";
  conduit.library = korvPath_;
  conduit.file = "dummy.qzl";
  conduit.remote = kDatabaseName;
  conduit.title = "Korvet";
  conduit.priority = 2;
  std::string error;
  std::optional<SyncProperties> properties = hotsync::BuildSyncProperties(conduit, syncType, "HotSync User", &error);
  if (!properties) Die(error.c_str(), 2);
  call->properties = *properties;

  SessionOutcome outcome;
  static SessionWorker* worker = new SessionWorker;  // never destroyed: it may hold a hung session
  if (!worker->Run(call, timeLimitMs)) return outcome;
  outcome.finished = true;
  outcome.result = call->result;
  delete call;
  SimEndSession();
  SetCurrentDirectoryA(root_.c_str());
  return outcome;
}

std::optional<std::vector<std::string>> SweepBench::LoadHandheld(std::vector<std::string>* problems) {
  std::optional<std::vector<std::string>> records;
  sim::HandheldFolder folder(Path("hotsync\\Handheld"));
  for (const std::string& name : folder.List()) {
    std::string error;
    std::optional<sim::PalmDatabase> database = folder.Load(name, &error);
    if (!database) {
      problems->push_back("the handheld database " + name + " does not load: " + error);
      continue;
    }
    if (name == kDatabaseName) {
      records.emplace();
      for (const sim::PalmRecord& record : database->records) {
        const bool dataGone = (record.attributes & sim::kRecDeleted) && !(record.attributes & sim::kRecArchived);
        if (!dataGone) records->emplace_back(record.data.begin(), record.data.end());
      }
    }
    // Each distinct file once: Palm::PDB must read the same records from it.
    std::optional<std::string> bytes = Read(folder.PathOf(name));
    if (!bytes) continue;
    const std::size_t hash = std::hash<std::string>{}(*bytes);
    std::vector<std::string>& same = archivedHashes_[hash];
    if (std::find(same.begin(), same.end(), *bytes) != same.end()) continue;
    same.push_back(*bytes);
    const std::string base = JoinPath(pdbArchive_, std::to_string(++archived_));
    std::string listing = "name " + database->name + "\n";
    for (const sim::PalmRecord& record : database->records) {
      char id[16];
      std::snprintf(id, sizeof id, "%06x", static_cast<unsigned>(record.id));
      listing += std::string("record ") + id + " " + Hex(record.data) + "\n";
    }
    WriteBytes(base + ".pdb", *bytes);
    WriteBytes(base + ".txt", listing);
  }
  return records;
}

std::optional<std::string> SweepBench::Read(const std::string& path) const {
  std::string bytes, error;
  bool missing = false;
  if (!sim::ReadTextFile(path, &bytes, &missing, &error)) return std::nullopt;
  return bytes;
}

}  // namespace korvet::sweep
