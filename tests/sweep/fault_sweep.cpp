#include "tests/sweep/fault_sweep.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "sim/pdb/palm_database.h"
#include "sim/sync20/operation_names.h"
#include "sim/sync20/sync20_control.h"
#include "tests/sweep/session_checks.h"
#include "tests/sweep/tree_snapshot.h"

namespace korvet::sweep {
namespace {

constexpr long kCommsError = 0x2004;  // a communications error: bit 0x2000 set
constexpr long kNotFound = 0x4003;

struct SettingsFile {
  std::string name;
  std::string text;
};

const std::vector<SettingsFile>& StandardSettings() {
  static const std::vector<SettingsFile> files = {{"site1.qzl", "Ko site one\r\nunits=m\r\n"},
                                                  {"site2.qzl", "Ko site two"},
                                                  {"site3.qzl", "Ko three, with a comma"}};
  return files;
}

std::string ReportRecord(int number, const std::string& text) {
  char name[16];
  std::snprintf(name, sizeof name, "Traverse%02d", number);
  return "$0000001" + std::string(name) + "," + text;
}

// Three listed settings files (one with an older copy on the handheld), 30 reports of which six are
// newer copies of earlier ones, one the user deleted on the device keeping a desktop copy (archived:
// it must reach its file) and one deleted outright (nothing left to write), retrieval and deletion on.
Scene StandardScene(const SweepBench& bench) {
  Scene scene;
  std::string list;
  for (const SettingsFile& file : StandardSettings()) {
    scene.files["Settings\\" + file.name] = file.text;
    scene.keptFiles.push_back("Settings\\" + file.name);
    list += bench.Path("Settings") + "\\," + file.name + "*";
  }
  scene.files["hotsync\\Xembrafilepath.dat"] = list + "@";
  scene.files["hotsync\\Cardoon.dat"] = bench.Path("Reports") + "\\@$#";
  std::vector<std::string>& records = *scene.records;
  records.push_back("site2.qzl,Ko older two*");
  for (int number = 1; number <= 24; ++number) {
    records.push_back(ReportRecord(number, "Station,N,E\r\nP" + std::to_string(number) + ",5000.000,1000.000\r\n"));
    if (number % 4 == 0)
      records.push_back(ReportRecord(number - 1, "Station,N,E\nrevised " + std::to_string(number) + "\n"));
  }
  scene.deviceDeleted[records.size()] = sim::kRecDeleted | sim::kRecArchived;
  records.push_back(ReportRecord(25, "Station,N,E\r\nkept for the desktop\r\n"));
  scene.deviceDeleted[records.size()] = sim::kRecDeleted;
  records.push_back("");  // Traverse26, its data gone with the delete
  return scene;
}

// After the clean session that follows: every report exported and gone from the handheld, no other
// report file (none for the deleted report), every settings file there exactly once.
void CheckCompleted(const std::vector<Report>& reports, const SessionFindings& findings,
                    std::vector<std::string>* problems) {
  const std::vector<std::string> none;
  const std::vector<std::string>& records = findings.handheld ? *findings.handheld : none;
  for (const Report& report : reports) {
    std::optional<std::string> file = SavedReport(findings, report);
    if (!file || *file != report.text) problems->push_back("report not exported: " + report.name);
    if (std::find(records.begin(), records.end(), report.record) != records.end())
      problems->push_back("exported report still on the handheld: " + report.name);
  }
  const std::size_t files = ReportFolderFiles(findings);
  if (files != reports.size())
    problems->push_back(std::to_string(files) + " report files for " + std::to_string(reports.size()) + " reports");
  for (const SettingsFile& file : StandardSettings()) {
    int copies = 0, exact = 0;
    for (const std::string& record : records) {
      if (DuplicateKey(record) != file.name) continue;
      ++copies;
      if (record == file.name + "," + file.text + "*") ++exact;
    }
    if (copies != 1 || exact != 1)
      problems->push_back("settings file " + file.name + " on the handheld " + std::to_string(copies) + " times, " +
                          std::to_string(exact) + " with its text");
  }
}

}  // namespace

int RunFaultSweep(SweepBench& bench, unsigned timeLimitMs, std::optional<long> only) {
  const Scene scene = StandardScene(bench);
  const std::vector<Report> reports = ReportsThatMustSurvive(*scene.records);
  int failures = 0;
  std::size_t reportsChecked = 0;
  auto report = [&failures](const std::string& what, const std::vector<std::string>& problems) {
    if (PrintProblems(what, problems)) ++failures;
  };
  auto session = [&](const std::string& what, const std::function<void()>& injectFailures) {
    SessionFindings findings = RunCheckedSession(bench, scene, reports, what, timeLimitMs, injectFailures);
    reportsChecked += findings.reportsChecked;
    return findings;
  };

  // The clean session, counted.
  bench.Restore(scene);
  SessionFindings clean = session("the clean session", {});
  std::vector<std::pair<std::string, long>> calls;
  long total = 0;
  for (std::string_view name : sim::kSyncOperationNames) {
    const long count = SimCallCount(std::string(name).c_str());
    if (count > 0) calls.emplace_back(std::string(name), count);
    total += count > 0 ? count : 0;
  }
  CheckCompleted(reports, clean, &clean.problems);
  report("the clean session", clean.problems);
  if (total == 0) {
    std::printf("FAILED: the clean session made no Sync Manager call\n");
    return failures + 1;
  }

  std::size_t faults = 0;
  long index = 0;
  for (const auto& [operation, count] : calls) {
    for (long nth = 1; nth <= count; ++nth) {
      ++index;
      if (only && index != *only) continue;
      for (long code : {kCommsError, kNotFound}) {
        char what[160];
        std::snprintf(what, sizeof what, "fault %ld of %ld (--fail %s:%ld:0x%lx)", index, total, operation.c_str(), nth,
                      static_cast<unsigned long>(code));
        bench.Restore(scene);
        SessionFindings faulty = session(what, [&] { SimInjectFault(kSimFaultFail, operation.c_str(), nth, code); });
        ++faults;
        report(what, faulty.problems);
        SessionFindings completing = session(std::string(what) + ", then a clean session", {});
        CheckCompleted(reports, completing, &completing.problems);
        report(std::string(what) + ", then a clean session", completing.problems);
      }
    }
  }
  std::printf(
      "fault sweep: %ld Sync Manager calls in the clean session, %zu faults injected, %zu reports checked, "
      "%zu handheld files kept for Palm::PDB, %d failed\n",
      total, faults, reportsChecked, bench.ArchivedFiles(), failures);
  return failures;
}

}  // namespace korvet::sweep
