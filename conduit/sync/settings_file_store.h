// The settings-file store. Its report operations write every traverse report of "KORVETDatabaseDB"
// as a .csv file into the chosen folder and delete the exported reports on the handheld.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace korvet {

class SettingsFileStore {
 public:
  SettingsFileStore() = default;
  virtual ~SettingsFileStore() = default;

  // Every record that starts with "$" becomes <folder><report name>.csv; the folder ends with a
  // backslash.
  void RetrieveReports(const std::string& folder);
  // Writes one report record. True when the report is safely on the desktop: its file was written
  // whole in this call, or a file of that name already holds exactly the same bytes.
  bool WriteReportFile(const std::string& folder, const std::vector<std::uint8_t>& record);
  // Deletes on the handheld the reports that RetrieveReports put safely on the desktop; a report that
  // was not exported stays on the handheld.
  void DeleteReports();

 private:
  std::set<std::uint32_t> exportedReports_;
};

}  // namespace korvet
