#include "tests/install/child_process.h"

#include <cstring>
#include <utility>
#include <vector>

namespace korvet::testing {
namespace {

bool StartsWithNoCase(const char* text, const char* prefix) {
  return _strnicmp(text, prefix, std::strlen(prefix)) == 0;
}

// The test's environment with PATH replaced. WINEPATH goes too, so that nothing adds to PATH.
std::vector<char> EnvironmentWithPath(const std::string& path) {
  std::vector<char> block;
  char* strings = GetEnvironmentStringsA();
  for (const char* entry = strings; entry && *entry; entry += std::strlen(entry) + 1) {
    if (StartsWithNoCase(entry, "PATH=") || StartsWithNoCase(entry, "WINEPATH=")) continue;
    block.insert(block.end(), entry, entry + std::strlen(entry) + 1);
  }
  if (strings) FreeEnvironmentStringsA(strings);
  std::string own = "PATH=" + path;
  block.insert(block.end(), own.c_str(), own.c_str() + own.size() + 1);
  block.push_back('\0');
  return block;
}

std::string ReadFileText(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
  CloseHandle(file);
  return text;
}

}  // namespace

ChildProcess::~ChildProcess() {
  if (!process_) return;
  if (!HasEnded()) {
    TerminateProcess(process_, 999);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), id_(other.id_) {}

std::optional<ChildProcess> ChildProcess::Start(const std::string& commandLine, const StartOptions& options) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  std::vector<char> environment;
  if (!options.searchPath.empty()) environment = EnvironmentWithPath(options.searchPath);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  HANDLE output = INVALID_HANDLE_VALUE;
  if (!options.outputFile.empty()) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    output = CreateFileA(options.outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) return std::nullopt;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = output;
  }
  PROCESS_INFORMATION info{};
  BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, output != INVALID_HANDLE_VALUE, 0,
                                environment.empty() ? nullptr : environment.data(),
                                options.folder.empty() ? nullptr : options.folder.c_str(), &startup, &info);
  if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
  if (!started) return std::nullopt;
  CloseHandle(info.hThread);
  ChildProcess child;
  child.process_ = info.hProcess;
  child.id_ = info.dwProcessId;
  return child;
}

bool ChildProcess::HasEnded() const { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

std::optional<DWORD> ChildProcess::Wait(DWORD timeoutMs) const {
  if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

ProgramOutput RunProgram(const std::string& commandLine, const StartOptions& options, DWORD timeoutMs) {
  ProgramOutput result;
  StartOptions withOutput = options;
  if (withOutput.outputFile.empty()) {
    char temp[MAX_PATH] = {};
    char file[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    GetTempFileNameA(temp, "out", 0, file);
    withOutput.outputFile = file;
  }
  {
    std::optional<ChildProcess> child = ChildProcess::Start(commandLine, withOutput);
    if (child) result.exitCode = child->Wait(timeoutMs);
  }
  result.output = ReadFileText(withOutput.outputFile);
  if (options.outputFile.empty()) DeleteFileA(withOutput.outputFile.c_str());
  return result;
}

std::string ThisProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\'));
}

}  // namespace korvet::testing
