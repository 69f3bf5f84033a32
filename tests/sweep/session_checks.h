// What must hold after every session, faulty or hostile: the handheld's files load, no report was
// lost, the settings files are untouched, and nothing was written outside the report folder, the
// settings files' .BAK copies, the handheld and the HotSync log.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/sweep/sweep_bench.h"

namespace korvet::sweep {

struct SessionFindings {
  std::vector<std::string> problems;                 // empty: all held
  std::optional<std::vector<std::string>> handheld;  // KORVETDatabaseDB's live records afterwards
  TreeSnapshot after;                                // the scratch root afterwards
  std::size_t reportsChecked = 0;
  long result = 0;  // what OpenConduit returned
};

// before: the tree before the session; reports: those that must not be lost.
SessionFindings CheckSession(SweepBench& bench, const Scene& scene, const TreeSnapshot& before,
                             const std::vector<Report>& reports);

// One session on the installation as it stands, under the checks above: the failure counters are
// reset, `injectFailures` (if any) asks the stand-in for its failures, then the session runs. A
// session still running after the time limit ends the process (exit code 5) after printing `what`.
SessionFindings RunCheckedSession(SweepBench& bench, const Scene& scene, const std::vector<Report>& reports,
                                  const std::string& what, unsigned timeLimitMs,
                                  const std::function<void()>& injectFailures = {});

// Prints each problem as "FAILED: what: problem"; true when there was one.
bool PrintProblems(const std::string& what, const std::vector<std::string>& problems);

// The bytes of a report's file under the report folder Reports\ after the session; nothing when there
// is no such file.
std::optional<std::string> SavedReport(const SessionFindings& findings, const Report& report);
// How many files the report folder holds after the session.
std::size_t ReportFolderFiles(const SessionFindings& findings);

}  // namespace korvet::sweep
