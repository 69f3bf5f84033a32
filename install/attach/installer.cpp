#include "install/attach/installer.h"

#include <cstdint>
#include <optional>
#include <string>

#include "common/cond_mgr.h"
#include "common/dialog_items.h"
#include "common/paths.h"
#include "common/win_copy.h"
#include "common/win_file.h"
#include "common/win_library.h"
#include "install/attach/list_file_access.h"

namespace korvet::attach {
namespace {

constexpr std::int32_t kCorePathCapacity = 512;
constexpr const char* kConduitLibrary = "Korv.dll";

struct ToolFile {
  const char* name;
  const char* copyFailure;
};

// The desktop tools, in the order they are copied. They carry their C and C++ runtime inside them,
// so no runtime library travels with them and nothing is written into the Windows system folder.
// Korv.dll and Setpanelrun.exe stay where they are: the conduit is registered where it is found.
constexpr ToolFile kToolFiles[] = {
    {"Xembrafilepath.dll", "Unable to copy Xembrafilepath.dll to the Hotsync directory"},
    {"Cardoon.dll", "Unable to copy Cardoon.dll to the Hotsync directory"},
    {"Setpanel.exe", "Unable to copy Setpanel.exe to the Hotsync directory"},
};

// Message boxes of the installer have no owner window.
void Show(const std::string& text, const char* caption) { ShowMessage(nullptr, text, caption); }

void ShowConduitManagerMissing() { Show("Cannot find CondMgr.dll", "error"); }

// What the installer installs lies beside it, and nowhere else: not in the HotSync folder it copies
// into, not where the user happened to start it.
std::optional<std::string> BesideInstaller(const char* fileName) {
  const std::string path = JoinPath(ModuleFolder(nullptr), fileName);
  if (!FileExists(path)) return std::nullopt;
  return path;
}

// Each tool is looked up beside the installer; a tool that is
// missing or cannot be copied is reported and the next one is still copied.
void CopyTools(const std::string& coreDirectory) {
  for (const ToolFile& tool : kToolFiles) {
    std::optional<std::string> found = BesideInstaller(tool.name);
    if (!found || !CopyFileReplacing(*found, JoinPath(coreDirectory, tool.name))) Show(tool.copyFailure, "Error");
  }
}

// The registration results are not checked: the Conduit Manager keeps what it can.
void Register(const WinLibrary& condMgr) {
  auto installCreator = condMgr.Get<CmInstallCreatorFn>("CmInstallCreator");
  auto setName = condMgr.Get<CmSetCreatorTextFn>("CmSetCreatorName");
  auto setDirectory = condMgr.Get<CmSetCreatorTextFn>("CmSetCreatorDirectory");
  auto setFile = condMgr.Get<CmSetCreatorTextFn>("CmSetCreatorFile");
  auto setRemote = condMgr.Get<CmSetCreatorTextFn>("CmSetCreatorRemote");
  auto setTitle = condMgr.Get<CmSetCreatorTextFn>("CmSetCreatorTitle");
  auto setPriority = condMgr.Get<CmSetCreatorPriorityFn>("CmSetCreatorPriority");
  if (!installCreator || !setName || !setDirectory || !setFile || !setRemote || !setTitle || !setPriority) {
    ShowConduitManagerMissing();
    return;
  }
  // Looked up before the first call, so that a conduit that cannot be found leaves no half-made
  // registration behind.
  std::optional<std::string> conduit = BesideInstaller(kConduitLibrary);
  if (!conduit) {
    Show(std::string("Cannot locate file ") + kConduitLibrary, "Error");
    return;
  }
  std::int32_t conduitType = 1;
  installCreator(kCreatorId, &conduitType);
  setName(kCreatorId, conduit->c_str());
  setDirectory(kCreatorId, "");
  setFile(kCreatorId, "dummy.qzl");
  setRemote(kCreatorId, "KORVETDatabaseDB");
  setTitle(kCreatorId, "Korvet");
  std::int32_t priority = 2;
  setPriority(kCreatorId, &priority);
}

}  // namespace

void InstallConduit() {
  WinLibrary found(kCondMgrLibrary);
  auto getCorePath = found.Get<CmGetCorePathFn>("CmGetCorePath");
  if (!getCorePath) {
    ShowConduitManagerMissing();
    return;
  }
  // One byte more than the capacity given keeps the text terminated whatever the library writes.
  char core[kCorePathCapacity + 1] = {};
  std::int32_t capacity = kCorePathCapacity;
  if (getCorePath(core, &capacity) != 0) {
    Show("Unable to find the Hotsync directory\n Conduit may not be registered correctly", "Error");
    return;
  }
  const std::string coreDirectory = core;
  // The Conduit Manager of the HotSync installation itself keeps the registrations; the copy found
  // by name may be another one. Without it, the copy found by name registers.
  WinLibrary installed(JoinPath(coreDirectory, kCondMgrLibrary));
  CopyTools(coreDirectory);
  PrepareListFiles(coreDirectory);
  if (installed) {
    found.Free();
    Register(installed);
  } else {
    Register(found);
  }
}

}  // namespace korvet::attach
