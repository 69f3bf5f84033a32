#include "tests/sweep/allocation_sweep.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim/pdb/palm_database.h"
#include "sim/sync20/sync20_control.h"
#include "tests/sweep/session_checks.h"

namespace korvet::sweep {
namespace {

// Korv.dll's own seam: the allocation to fail, and the number the session made.
constexpr char kFailVariable[] = "KORVET_FAIL_ALLOCATION";
constexpr char kMadeVariable[] = "KORVET_ALLOCATIONS_MADE";

const std::vector<std::pair<std::string, std::string>>& SettingsFiles() {
  static const std::vector<std::pair<std::string, std::string>> files = {{"site1.qzl", "Ko site one\r\nunits=m\r\n"},
                                                                         {"site2.qzl", "Ko site two"}};
  return files;
}

std::string ReportRecord(const std::string& name, const std::string& text) { return "$0000001" + name + "," + text; }

// Two listed settings files (one with an older copy on the handheld), three reports of which one has a
// newer copy, and one report the user deleted on the device with a copy kept for the desktop.
Scene SmallScene(const SweepBench& bench) {
  Scene scene;
  std::string list;
  for (const auto& [name, text] : SettingsFiles()) {
    scene.files["Settings\\" + name] = text;
    scene.keptFiles.push_back("Settings\\" + name);
    list += bench.Path("Settings") + "\\," + name + "*";
  }
  scene.files["hotsync\\Xembrafilepath.dat"] = list + "@";
  scene.files["hotsync\\Cardoon.dat"] = bench.Path("Reports") + "\\@$#";
  std::vector<std::string>& records = *scene.records;
  records.push_back("site2.qzl,Ko older two*");
  records.push_back(ReportRecord("T1", "Station,N,E\r\nP1,5000.000,1000.000\r\n"));
  records.push_back(ReportRecord("T2", "Station,N,E\r\nP2,5001.000,1001.000\r\n"));
  records.push_back(ReportRecord("T2", "Station,N,E\r\nrevised\r\n"));
  scene.deviceDeleted[records.size()] = sim::kRecDeleted | sim::kRecArchived;
  records.push_back(ReportRecord("T3", "Station,N,E\r\nkept for the desktop\r\n"));
  return scene;
}

// A session that returned 0 did all it was asked: each settings file on the handheld once and whole,
// each report in its file and gone from the handheld.
void CheckSuccessIsTrue(const std::vector<Report>& reports, const SessionFindings& findings,
                        std::vector<std::string>* problems) {
  if (findings.result != 0) return;
  const std::vector<std::string> none;
  const std::vector<std::string>& records = findings.handheld ? *findings.handheld : none;
  for (const auto& [name, text] : SettingsFiles()) {
    const auto copies = std::count(records.begin(), records.end(), name + "," + text + "*");
    if (copies != 1)
      problems->push_back("result 0, but settings file " + name + " is on the handheld whole " +
                          std::to_string(copies) + " times");
  }
  for (const Report& report : reports) {
    std::optional<std::string> file = SavedReport(findings, report);
    if (!file || *file != report.text) problems->push_back("result 0, but report " + report.name + " not saved");
    if (std::find(records.begin(), records.end(), report.record) != records.end())
      problems->push_back("result 0, but report " + report.name + " still on the handheld");
  }
}

long AllocationsMade() {
  char made[32] = {};
  if (GetEnvironmentVariableA(kMadeVariable, made, sizeof made) == 0) return -1;
  return std::strtol(made, nullptr, 10);
}

}  // namespace

int RunAllocationSweep(SweepBench& bench, unsigned timeLimitMs, std::optional<long> only) {
  const Scene scene = SmallScene(bench);
  const std::vector<Report> reports = ReportsThatMustSurvive(*scene.records);
  int failures = 0;
  std::size_t reportsChecked = 0;
  auto report = [&failures](const std::string& what, const std::vector<std::string>& problems) {
    if (PrintProblems(what, problems)) ++failures;
  };
  auto session = [&](const std::string& what, long nth) {
    bench.Restore(scene);
    SessionFindings findings = RunCheckedSession(bench, scene, reports, what, timeLimitMs, [nth] {
      SetEnvironmentVariableA(kMadeVariable, nullptr);
      SetEnvironmentVariableA(kFailVariable, std::to_string(nth).c_str());
    });
    SetEnvironmentVariableA(kFailVariable, nullptr);
    CheckSuccessIsTrue(reports, findings, &findings.problems);
    reportsChecked += findings.reportsChecked;
    report(what, findings.problems);
    return findings;
  };

  const SessionFindings clean = session("the clean session", 0);
  const long total = AllocationsMade();
  if (clean.result != 0) report("the clean session", {"result " + std::to_string(clean.result)});
  if (total <= 0) {
    std::printf("FAILED: Korv.dll reported no allocation count (%s unset)\n", kMadeVariable);
    return failures + 1;
  }

  long failedSessions = 0;
  for (long nth = 1; nth <= total; ++nth) {
    if (only && nth != *only) continue;
    char what[96];
    std::snprintf(what, sizeof what, "allocation %ld of %ld (KORVET_FAIL_ALLOCATION=%ld)", nth, total, nth);
    if (session(what, nth).result != 0) ++failedSessions;
  }
  std::printf(
      "allocation sweep: %ld allocations in the clean session, each failed once (%ld sessions then failed, the "
      "others succeeded whole), %zu reports checked, %d failed\n",
      total, failedSessions, reportsChecked, failures);
  return failures;
}

}  // namespace korvet::sweep
