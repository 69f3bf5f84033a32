// One benchmark scenario's starting point: traverse reports on the emulated handheld as the device
// stores them, settings files on the desktop, and the two list files as the dialogs leave them.
#pragma once

#include <string>

namespace korvet::bench {

struct Scenario {
  int reports = 0;  // every tenth is a second copy of an earlier one
  int settingsFiles = 0;
  std::string settingsFolder;  // Windows paths, without a trailing backslash
  std::string reportFolder;
};

// The record of the nth report (from 0): "$", seven bytes, the report name, a comma, about 1 KB of text.
std::string ReportRecord(int n);
// The nth settings file's name and its text of about 400 bytes (a settings record must fit 511 bytes).
std::string SettingsFileName(int n);
std::string SettingsFileText(int n);

// Creates "KORVETDatabaseDB" on the emulated handheld of the installation with the scenario's reports
// (marked modified, as the device leaves new records), writes the settings files, Xembrafilepath.dat
// (purge flag off) and Cardoon.dat (retrieve and delete). False with *error set on a failure.
bool Prepare(const std::string& installation, const Scenario& scenario, std::string* error);

// True when every report of a scenario with that many reports lies in the folder as its .csv file,
// byte for byte; else *error names the first that does not.
bool ReportsArrived(const std::string& reportFolder, int reports, std::string* error);

}  // namespace korvet::bench
