#include "tests/support/hotsync_installation.h"

#include <vector>

#include "common/paths.h"
#include "common/win_library.h"

namespace korvet::testing {

std::string BuildFolder() {
  const std::string tests = ModuleFolder(nullptr);
  return ParentFolder(tests);
}

namespace {

bool CopyInto(const std::string& from, const std::string& folder, const std::string& name) {
  return CopyFileA(JoinPath(from, name).c_str(), JoinPath(folder, name).c_str(), FALSE) != 0;
}

}  // namespace

Installation::Installation(const std::vector<std::string>& productFiles, bool withConduitManager,
                           const std::string& subfolder)
    : folder_(subfolder.empty() ? scratch_.Path() : scratch_.File(subfolder)) {
  CreateDirectoryA(folder_.c_str(), nullptr);
  const std::string build = BuildFolder();
  std::vector<std::string> host = {"synchost.exe", "sync20.dll", "hslog20.dll"};
  if (withConduitManager) host.push_back("CondMgr.dll");
  for (const std::string& name : host) CopyInto(JoinPath(build, "hotsync"), Folder(), name);
  CreateDirectoryA(File("Handheld").c_str(), nullptr);
  for (const std::string& name : productFiles) CopyInto(JoinPath(build, "korvet"), Folder(), name);
}

std::string Installation::MakeFolder(const std::string& name) const {
  std::string path = File(name);
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

std::optional<TestProcess> Installation::Start(const std::string& program, const std::string& arguments) const {
  std::string line = "\"" + File(program) + "\"";
  if (!arguments.empty()) line += " " + arguments;
  StartOptions options;
  options.folder = Folder();
  options.ownJob = true;
  return TestProcess::Start(line, options);
}

std::optional<DWORD> Installation::Host(const std::string& arguments) const {
  std::optional<TestProcess> host = Start("synchost.exe", arguments);
  return host ? host->Wait() : std::nullopt;
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

}  // namespace korvet::testing
