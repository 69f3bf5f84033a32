#include "tests/ui/ui_session.h"

#include <vector>

namespace korvet::ui {

StartedProgram::StartedProgram(const std::string& commandLine, const std::string& folder) {
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  // The program and whatever it starts run in a job of their own, so that a failed test can end
  // them all (a tool started by the panel included).
  job_ = CreateJobObjectA(nullptr, nullptr);
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, folder.c_str(),
                      &startup, &info_)) {
    info_ = PROCESS_INFORMATION{};
    return;
  }
  if (job_) AssignProcessToJobObject(job_, info_.hProcess);
  ResumeThread(info_.hThread);
}

StartedProgram::~StartedProgram() {
  if (job_) {
    TerminateJobObject(job_, 99);
    CloseHandle(job_);
  }
  if (!info_.hProcess) return;
  if (Running()) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 10000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

std::optional<DWORD> StartedProgram::WaitForExit(DWORD timeoutMs) {
  if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

bool StartedProgram::Running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::string BuildFolder() {
  char module[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, module, sizeof module);
  std::string path = module;
  path = path.substr(0, path.rfind('\\'));  // ...\tests
  return path.substr(0, path.rfind('\\'));
}

namespace {

bool CopyInto(const std::string& from, const std::string& folder, const std::string& name) {
  return CopyFileA((from + "\\" + name).c_str(), (folder + "\\" + name).c_str(), FALSE) != 0;
}

}  // namespace

Installation::Installation(const std::vector<std::string>& productFiles, bool withConduitManager,
                           const std::string& subfolder)
    : folder_(subfolder.empty() ? scratch_.Path() : scratch_.File(subfolder)) {
  CreateDirectoryA(folder_.c_str(), nullptr);
  const std::string build = BuildFolder();
  std::vector<std::string> host = {"synchost.exe", "sync20.dll", "hslog20.dll"};
  if (withConduitManager) host.push_back("CondMgr.dll");
  for (const std::string& name : host) CopyInto(build + "\\hotsync", Folder(), name);
  CreateDirectoryA(File("Handheld").c_str(), nullptr);
  for (const std::string& name : productFiles) CopyInto(build + "\\korvet", Folder(), name);
}

std::string Installation::MakeFolder(const std::string& name) const {
  std::string path = File(name);
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

std::unique_ptr<StartedProgram> Installation::Start(const std::string& program, const std::string& arguments) const {
  std::string line = "\"" + File(program) + "\"";
  if (!arguments.empty()) line += " " + arguments;
  return std::make_unique<StartedProgram>(line, Folder());
}

std::optional<DWORD> Installation::Host(const std::string& arguments) const {
  return Start("synchost.exe", arguments)->WaitForExit();
}

bool Installation::RegisterConduit() const {
  return Host("register KRVT \"" + File("Korv.dll") +
              "\" --remote KORVETDatabaseDB --file dummy.qzl --title Korvet --priority 2") == 0u;
}

IsolatedSearchPath::IsolatedSearchPath() {
  char path[32768] = {};
  GetEnvironmentVariableA("PATH", path, sizeof path);
  saved_ = path;
  SetEnvironmentVariableA("PATH", "C:\\windows\\system32;C:\\windows");
}

IsolatedSearchPath::~IsolatedSearchPath() { SetEnvironmentVariableA("PATH", saved_.c_str()); }

}  // namespace korvet::ui
