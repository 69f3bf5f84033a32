#include "tests/sweep/session_checks.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "common/paths.h"
#include "sim/sync20/sync20_control.h"
#include "tests/support/report_file.h"
#include "tests/sweep/crash_reporting.h"

namespace korvet::sweep {
namespace {

constexpr char kReportFolder[] = "Reports";  // beside hotsync\ in the scratch root

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// The changes a session may make.
bool Allowed(const std::string& path, const FileState* before, const FileState* after) {
  const std::string upper = Upper(path);
  if (StartsWith(upper, "REPORTS\\") || StartsWith(upper, "HOTSYNC\\HANDHELD\\") || upper == "HOTSYNC\\HANDHELD" ||
      upper == "HOTSYNC\\HOTSYNC.LOG")
    return true;
  if (StartsWith(upper, "SETTINGS\\") && upper.ends_with(".BAK") && (!after || !after->folder)) return true;
  // The session empties the settings-file list when it asks for that (or has no end marker).
  if (upper == "HOTSYNC\\XEMBRAFILEPATH.DAT" && before && after && after->bytes.empty()) return true;
  // A folder's own entry changes with what it holds.
  if (before && after && before->folder && after->folder) return true;
  return false;
}

}  // namespace

bool PrintProblems(const std::string& what, const std::vector<std::string>& problems) {
  for (const std::string& problem : problems) std::printf("FAILED: %s: %s\n", what.c_str(), problem.c_str());
  return !problems.empty();
}

std::optional<std::string> SavedReport(const SessionFindings& findings, const Report& report) {
  const auto file = findings.after.find(JoinPath(kReportFolder, testing::ReportFile(report.name)));
  if (file == findings.after.end() || file->second.folder) return std::nullopt;
  return file->second.bytes;
}

std::size_t ReportFolderFiles(const SessionFindings& findings) {
  const std::string prefix = std::string(kReportFolder) + "\\";
  return std::count_if(findings.after.begin(), findings.after.end(),
                       [&](const auto& entry) { return !entry.second.folder && StartsWith(entry.first, prefix); });
}

SessionFindings CheckSession(SweepBench& bench, const Scene& scene, const TreeSnapshot& before,
                             const std::vector<Report>& reports) {
  SessionFindings findings;
  findings.handheld = bench.LoadHandheld(&findings.problems);
  findings.after = TakeSnapshot(bench.Root());
  const TreeSnapshot& after = findings.after;
  for (const std::string& change : UnexpectedChanges(before, after, Allowed))
    findings.problems.push_back("unexpected write: " + change);
  for (const std::string& kept : scene.keptFiles) {
    auto was = before.find(kept), is = after.find(kept);
    if (was != before.end() && (is == after.end() || !(is->second == was->second)))
      findings.problems.push_back("settings file changed: " + kept);
  }
  for (const Report& report : reports) {
    ++findings.reportsChecked;
    const bool onHandheld = findings.handheld && std::find(findings.handheld->begin(), findings.handheld->end(),
                                                           report.record) != findings.handheld->end();
    if (onHandheld) continue;
    std::optional<std::string> file = SavedReport(findings, report);
    if (!file || *file != report.text)
      findings.problems.push_back("report lost: \"" + report.name + "\" (" + std::to_string(report.record.size()) +
                                  " bytes) is neither on the handheld nor in its .csv file");
  }
  return findings;
}

SessionFindings RunCheckedSession(SweepBench& bench, const Scene& scene, const std::vector<Report>& reports,
                                  const std::string& what, unsigned timeLimitMs,
                                  const std::function<void()>& injectFailures) {
  SetCurrentCase(what);
  SimClearFailures();
  SimResetCallCounts();
  if (injectFailures) injectFailures();
  const TreeSnapshot before = TakeSnapshot(bench.Root());
  const SessionOutcome outcome = bench.RunSession(scene.syncType, timeLimitMs);
  if (!outcome.finished) {
    std::printf("FAILED: %s: HANG, the session did not end within %u ms\n", what.c_str(), timeLimitMs);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), kExitHang);
  }
  SessionFindings findings = CheckSession(bench, scene, before, reports);
  findings.result = outcome.result;
  return findings;
}

}  // namespace korvet::sweep
