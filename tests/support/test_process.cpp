#include "tests/support/test_process.h"

#include <cstring>
#include <utility>
#include <vector>

#include "common/win_file.h"

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

}  // namespace

std::optional<TestProcess> TestProcess::Start(const std::string& commandLine, const StartOptions& options) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  std::vector<char> environment;
  if (!options.searchPath.empty()) environment = EnvironmentWithPath(options.searchPath);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  UniqueFile output;
  if (!options.outputFile.empty()) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    output.Reset(CreateFileA(options.outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output) return std::nullopt;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output.Get();
    startup.hStdError = output.Get();
  }
  TestProcess started;
  // A program in a job of its own is started suspended, so that it starts nothing outside the job.
  if (options.ownJob) started.job_.Reset(CreateJobObjectA(nullptr, nullptr));
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, output.IsValid(), options.ownJob ? CREATE_SUSPENDED : 0,
                      environment.empty() ? nullptr : environment.data(),
                      options.folder.empty() ? nullptr : options.folder.c_str(), &startup, &info)) {
    return std::nullopt;
  }
  started.process_.Reset(info.hProcess);
  UniqueKernelHandle thread(info.hThread);
  started.id_ = info.dwProcessId;
  if (started.job_) AssignProcessToJobObject(started.job_.Get(), info.hProcess);
  if (options.ownJob) ResumeThread(thread.Get());
  return started;
}

TestProcess& TestProcess::operator=(TestProcess&& other) noexcept {
  if (this != &other) {
    End();
    job_ = std::move(other.job_);
    process_ = std::move(other.process_);
    id_ = other.id_;
  }
  return *this;
}

void TestProcess::End() {
  if (job_) TerminateJobObject(job_.Get(), 99);
  if (Running()) {
    TerminateProcess(process_.Get(), 99);
    WaitForSingleObject(process_.Get(), 10000);
  }
  job_.Reset();
  process_.Reset();
}

bool TestProcess::Running() const { return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> TestProcess::Wait(DWORD timeoutMs) const {
  if (!process_ || WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.Get(), &code);
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
  if (std::optional<TestProcess> child = TestProcess::Start(commandLine, withOutput)) {
    result.exitCode = child->Wait(timeoutMs);
  }
  if (auto bytes = ReadWholeFile(withOutput.outputFile)) result.output.assign(bytes->begin(), bytes->end());
  if (options.outputFile.empty()) DeleteFileA(withOutput.outputFile.c_str());
  return result;
}

}  // namespace korvet::testing
