#include "common/win_process.h"

#include <utility>
#include <vector>

namespace korvet {

namespace {
std::string QuotedCommandLine(const std::string& programPath) { return '"' + programPath + '"'; }
}  // namespace

std::optional<WinProcess> WinProcess::Start(const std::string& programPath) {
  // CreateProcessA may write into its command line, so it gets a copy of its own.
  const std::string commandLine = QuotedCommandLine(programPath);
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(programPath.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return std::nullopt;
  WinProcess process;
  process.process_.Reset(info.hProcess);
  process.thread_.Reset(info.hThread);
  return process;
}

void WinProcess::WaitForExit() const {
  if (process_) WaitForSingleObject(process_.Get(), INFINITE);
}

void WinProcess::Close() {
  thread_.Reset();
  process_.Reset();
}

}  // namespace korvet
