// An in-process HotSync bench for sweeps of many sessions: one program in a scratch HotSync
// installation loads the stand-in Sync Manager, the HotSync log and Korv.dll once and runs every
// session through OpenConduit, so that what one session leaves in the library meets the next. Between sessions the
// installation is put back into a chosen state.
//
// Layout under the root folder:
//   hotsync\    the program, sync20.dll, hslog20.dll, CondMgr.dll (the core directory with both list
//               files, HotSync.log and the handheld folder Handheld\)
//   Settings\   settings files and their .BAK and .ARC copies
//   Reports\    the report folder
//   cwd\        the current folder during sessions, so that relative paths land where they are seen
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/paths.h"
#include "common/win_library.h"
#include "tests/sweep/tree_snapshot.h"

namespace korvet::sweep {

inline constexpr const char* kDatabaseName = "KORVETDatabaseDB";

// What the installation holds before a session.
struct Scene {
  // KORVETDatabaseDB's records in index order, marked modified as the device leaves them; no database
  // at all when absent.
  std::optional<std::vector<std::string>> records = std::vector<std::string>{};
  // Records the user deleted on the device, by index: deleted ones (their data already gone, so empty
  // in `records`) and archived ones (deleted with a copy for the desktop, data kept).
  std::map<std::size_t, std::uint8_t> deviceDeleted;
  // Files by path relative to the root (list files, settings files, .BAK and .ARC copies).
  std::map<std::string, std::string> files;
  // The files whose bytes and time the session must keep (settings files).
  std::vector<std::string> keptFiles;
  std::int32_t syncType = 0;
};

// A traverse report as the session reads it: the name from offset 8 to the first comma or zero byte,
// the text from the byte after that to the next zero byte or the record's end.
struct Report {
  std::string record;
  std::string name;
  std::string text;
};
// The reports among the records that duplicate removal keeps: the newest copy of each key.
std::vector<Report> ReportsThatMustSurvive(const std::vector<std::string>& records);
// The duplicate key: the bytes up to the first comma.
std::string DuplicateKey(const std::string& record);

struct SessionOutcome {
  bool finished = false;  // false: still running after the time limit
  long result = 0;
};

class SweepBench {
 public:
  // root: the scratch root (its hotsync folder holds this program); korv: the conduit library;
  // pdbArchive: where handheld files are copied for the Palm::PDB check (a folder outside root).
  SweepBench(std::string root, std::string korv, std::string pdbArchive);

  const std::string& Root() const { return root_; }
  std::string Path(const std::string& relative) const { return JoinPath(root_, relative); }

  // Empties the installation (the programs stay) and writes the scene.
  void Restore(const Scene& scene);
  // One HotSync with Korv.dll loaded for it; failures given with SimInjectFault before count from
  // the start of the session.
  SessionOutcome RunSession(std::int32_t syncType, unsigned timeLimitMs);

  // The records of KORVETDatabaseDB that hold data (live and archived ones) as the stand-in loads them;
  // nothing when the database is absent.
  // Every database file of the handheld must load (else *problem says which) and is archived for the
  // Palm::PDB check.
  std::optional<std::vector<std::string>> LoadHandheld(std::vector<std::string>* problems);
  std::size_t ArchivedFiles() const { return archived_; }

  // The file's bytes, or nothing when it cannot be read.
  std::optional<std::string> Read(const std::string& path) const;

 private:
  std::string root_;
  std::string korvPath_;
  // Loaded at the first session and kept, as a HotSync Manager that stays running keeps them: a MinGW
  // library loaded and freed again leaves thread-local slots behind each time (Korv.dll three, the
  // stand-in CondMgr.dll, which the conduit loads and frees in every session, one), and the process
  // runs out of them after some hundreds of loads.
  WinLibrary conduitManager_;
  WinLibrary korv_;
  std::string pdbArchive_;
  std::size_t archived_ = 0;
  std::map<std::size_t, std::vector<std::string>> archivedHashes_;
};

}  // namespace korvet::sweep
