// The exports of the stand-in CondMgr.dll. The HotSync core directory is the folder this library was
// loaded from; the registrations live in a file there. When a file CondMgrCalls.txt lies beside it
// (a test puts it there, empty), every call is appended to it with its arguments and result, e.g.
//   CmSetCreatorName("KRVT", "C:\Korvet\Korv.dll") = 0
// so that the test sees which calls a program made, in which order and with which values.
#include <string>
#include <type_traits>

#include "common/cond_mgr.h"
#include "common/paths.h"
#include "common/win_library.h"
#include "sim/condmgr/conduit_manager.h"
#include "sim/support/sim_files.h"

using korvet::hotsync::ConduitManager;
using korvet::hotsync::ConduitRegistration;
using korvet::hotsync::CreatorField;

namespace {

std::string CoreFolder() {
  static const char anchor = 0;
  return korvet::FolderOfModuleContaining(&anchor);
}

ConduitManager Manager() { return ConduitManager(CoreFolder()); }

std::string Quoted(const char* text) { return text ? "\"" + std::string(text) + "\"" : "null"; }
std::string Number(const std::int32_t* value) { return value ? std::to_string(*value) : "null"; }

long Logged(const char* function, const std::string& arguments, long result) {
  const std::string log = korvet::JoinPath(CoreFolder(), "CondMgrCalls.txt");
  if (korvet::FileExists(log))
    korvet::sim::AppendToFile(log, std::string(function) + "(" + arguments + ") = " + std::to_string(result) + "\r\n");
  return result;
}

long SetTextLogged(const char* function, const char* creator, CreatorField field, const char* value) {
  return Logged(function, Quoted(creator) + ", " + Quoted(value), Manager().SetText(creator, field, value));
}

}  // namespace

extern "C" {

long CmGetCorePath(char* buffer, std::int32_t* capacity) {
  const std::string given = Number(capacity);
  return Logged("CmGetCorePath", given, korvet::hotsync::CopyCorePath(CoreFolder(), buffer, capacity));
}

long CmInstallCreator(const char* creator, std::int32_t* conduitType) {
  return Logged("CmInstallCreator", Quoted(creator) + ", " + Number(conduitType),
                Manager().InstallCreator(creator, conduitType));
}

long CmSetCreatorName(const char* creator, const char* library) {
  return SetTextLogged("CmSetCreatorName", creator, &ConduitRegistration::library, library);
}

long CmSetCreatorDirectory(const char* creator, const char* directory) {
  return SetTextLogged("CmSetCreatorDirectory", creator, &ConduitRegistration::directory, directory);
}

long CmSetCreatorFile(const char* creator, const char* file) {
  return SetTextLogged("CmSetCreatorFile", creator, &ConduitRegistration::file, file);
}

long CmSetCreatorRemote(const char* creator, const char* remote) {
  return SetTextLogged("CmSetCreatorRemote", creator, &ConduitRegistration::remote, remote);
}

long CmSetCreatorTitle(const char* creator, const char* title) {
  return SetTextLogged("CmSetCreatorTitle", creator, &ConduitRegistration::title, title);
}

long CmSetCreatorInfo(const char* creator, const char* info) {
  return SetTextLogged("CmSetCreatorInfo", creator, &ConduitRegistration::info, info);
}

long CmSetCreatorPriority(const char* creator, std::int32_t* priority) {
  return Logged("CmSetCreatorPriority", Quoted(creator) + ", " + Number(priority),
                Manager().SetPriority(creator, priority));
}

long CmRemoveConduitByCreatorID(const char* creator) {
  return Logged("CmRemoveConduitByCreatorID", Quoted(creator), Manager().Remove(creator));
}

}  // extern "C"

// The exports match the types through which the callers fetch them.
static_assert(std::is_same_v<decltype(&CmGetCorePath), korvet::CmGetCorePathFn>);
static_assert(std::is_same_v<decltype(&CmInstallCreator), korvet::CmInstallCreatorFn>);
static_assert(std::is_same_v<decltype(&CmSetCreatorName), korvet::CmSetCreatorTextFn>);
static_assert(std::is_same_v<decltype(&CmSetCreatorPriority), korvet::CmSetCreatorPriorityFn>);
static_assert(std::is_same_v<decltype(&CmSetCreatorInfo), korvet::CmSetCreatorInfoFn>);
static_assert(std::is_same_v<decltype(&CmRemoveConduitByCreatorID), korvet::CmRemoveConduitByCreatorIDFn>);
