#include "bench/scenario.h"

#include <cstdio>
#include <cstring>

#include "bench/bench_support.h"
#include "common/paths.h"
#include "conduit/platform/sync_manager.h"
#include "conduit/platform/sync_properties.h"
#include "sim/sync20/sync20_control.h"
#include "tests/support/report_file.h"

namespace korvet::bench {
namespace {

constexpr std::size_t kReportTextBytes = 1000;
constexpr std::size_t kSettingsTextBytes = 400;

// Which report the nth record is: every tenth repeats the one five places before it.
int OriginalOf(int n) { return n % 10 == 9 ? n - 5 : n; }

long WriteReports(std::uint8_t handle, int reports) {
  for (int n = 0; n < reports; ++n) {
    std::string data = ReportRecord(n);
    handheld::RecordTransferBlock block;
    std::memset(&block, 0, sizeof block);
    block.handle = handle;
    block.attributes = handheld::kHandheldModified;
    block.dataSize = static_cast<std::uint32_t>(data.size());
    block.capacity = static_cast<std::uint16_t>(data.size());
    block.data = reinterpret_cast<std::uint8_t*>(data.data());
    if (long status = WriteHandheldRecord(&block)) return status;
  }
  return 0;
}

}  // namespace

std::string ReportRecord(int n) {
  const int report = OriginalOf(n);
  char head[64];
  std::snprintf(head, sizeof head, "$%07dTraverse%05d,Station,Northing,Easting\r\n", report % 10000000, report);
  std::string record = head;
  for (int station = 1; record.size() < kReportTextBytes; ++station) {
    char line[64];
    std::snprintf(line, sizeof line, "P%03d,%d.%03d,%d.%03d\r\n", station, 5000 + report % 997, station * 7 % 1000,
                  1000 + station, report * 13 % 1000);
    record += line;
  }
  return record;
}

std::string SettingsFileName(int n) {
  char name[32];
  std::snprintf(name, sizeof name, "site%02d.qzl", n + 1);
  return name;
}

std::string SettingsFileText(int n) {
  std::string text = "Ko" + std::to_string(n + 1) + "\r\n";
  for (int key = 1; text.size() < kSettingsTextBytes; ++key) {
    char line[48];
    std::snprintf(line, sizeof line, "setting%02d=%d\r\n", key, (n + 1) * 100 + key);
    text += line;
  }
  return text.substr(0, kSettingsTextBytes);
}

bool Prepare(const std::string& installation, const Scenario& scenario, std::string* error) {
  if (long status = SimSetInstallDirectory(installation.c_str())) {
    *error = "the stand-in cannot use " + installation + " (" + std::to_string(status) + ")";
    return false;
  }
  handheld::DatabaseCreationBlock create;
  std::memset(&create, 0, sizeof create);
  create.creator = FourCharCode("KRVT");
  create.type = FourCharCode("DATA");
  std::strcpy(create.name, kKorvetDatabase);
  if (long status = CreateHandheldDatabase(&create)) {
    *error = "cannot create " + std::string(kKorvetDatabase) + " (" + std::to_string(status) + ")";
    return false;
  }
  long status = WriteReports(create.handle, scenario.reports);
  const long closed = CloseHandheldDatabase(create.handle);
  const long ended = SimEndSession();
  if (status != 0 || closed != 0 || ended != 0) {
    *error = "cannot write the reports (" + std::to_string(status) + ", " + std::to_string(closed) + ", " +
             std::to_string(ended) + ")";
    return false;
  }

  std::string list;
  for (int n = 0; n < scenario.settingsFiles; ++n) {
    const std::string name = SettingsFileName(n);
    if (!WriteFileBytes(JoinPath(scenario.settingsFolder, name), SettingsFileText(n))) {
      *error = "cannot write " + JoinPath(scenario.settingsFolder, name);
      return false;
    }
    list += scenario.settingsFolder + "\\," + name + "*";
  }
  if (!WriteFileBytes(JoinPath(installation, "Xembrafilepath.dat"), list + "@$") ||
      !WriteFileBytes(JoinPath(installation, "Cardoon.dat"), scenario.reportFolder + "\\@$#")) {
    *error = "cannot write the list files in " + installation;
    return false;
  }
  return true;
}

bool ReportsArrived(const std::string& reportFolder, int reports, std::string* error) {
  for (int n = 0; n < reports; ++n) {
    if (OriginalOf(n) != n) continue;
    const std::string record = ReportRecord(n);
    const std::size_t comma = record.find(',');
    const std::string path = JoinPath(reportFolder, testing::ReportFile(record.substr(8, comma - 8)));
    std::string bytes;
    if (!ReadFileBytes(path, &bytes) || bytes != record.substr(comma + 1)) {
      *error = path + " is missing or differs from its report";
      return false;
    }
  }
  return true;
}

}  // namespace korvet::bench
