#include "common/win_process.h"

#include <utility>
#include <vector>

namespace korvet {

std::optional<std::string> FindOnSearchPath(const char* fileName) {
  char found[256] = {};
  DWORD length = SearchPathA(nullptr, fileName, nullptr, sizeof found, found, nullptr);
  if (length == 0 || length >= sizeof found) return std::nullopt;
  return std::string(found, length);
}

WinProcess::~WinProcess() { Close(); }

WinProcess::WinProcess(WinProcess&& other) noexcept : info_(std::exchange(other.info_, PROCESS_INFORMATION{})) {}

WinProcess& WinProcess::operator=(WinProcess&& other) noexcept {
  if (this != &other) {
    Close();
    info_ = std::exchange(other.info_, PROCESS_INFORMATION{});
  }
  return *this;
}

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
  WinProcess process;
  if (!CreateProcessA(programPath.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process.info_))
    return std::nullopt;
  return process;
}

void WinProcess::WaitForExit() const {
  if (info_.hProcess) WaitForSingleObject(info_.hProcess, INFINITE);
}

void WinProcess::Close() {
  if (info_.hThread) CloseHandle(std::exchange(info_.hThread, nullptr));
  if (info_.hProcess) CloseHandle(std::exchange(info_.hProcess, nullptr));
}

}  // namespace korvet
