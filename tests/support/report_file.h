// Where the conduit saves a traverse report, for every test that looks for one: a change of that
// place is made here and in the report writer, and the tests follow.
#pragma once

#include <string>

namespace korvet::testing {

// The report's file, relative to the report folder.
inline std::string ReportFile(const std::string& reportName) { return reportName + ".csv"; }

}  // namespace korvet::testing
