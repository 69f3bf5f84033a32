// The exports of the stand-in CondMgr.dll. The HotSync core directory is the folder this library was
// loaded from; the registrations live in a file there.
#include <type_traits>

#include "common/cond_mgr.h"
#include "sim/condmgr/conduit_manager.h"
#include "sim/support/module_folder.h"

using korvet::hotsync::ConduitManager;
using korvet::hotsync::CreatorField;

namespace {

std::string CoreFolder() {
  static const char anchor = 0;
  return korvet::sim::FolderOfModuleContaining(&anchor);
}

ConduitManager Manager() { return ConduitManager(CoreFolder()); }

}  // namespace

extern "C" {

long CmGetCorePath(char* buffer, std::int32_t* capacity) {
  return korvet::hotsync::CopyCorePath(CoreFolder(), buffer, capacity);
}

long CmInstallCreator(const char* creator, std::int32_t* conduitType) {
  return Manager().InstallCreator(creator, conduitType);
}

long CmSetCreatorName(const char* creator, const char* library) {
  return Manager().SetText(creator, CreatorField::kLibrary, library);
}

long CmSetCreatorDirectory(const char* creator, const char* directory) {
  return Manager().SetText(creator, CreatorField::kDirectory, directory);
}

long CmSetCreatorFile(const char* creator, const char* file) {
  return Manager().SetText(creator, CreatorField::kFile, file);
}

long CmSetCreatorRemote(const char* creator, const char* remote) {
  return Manager().SetText(creator, CreatorField::kRemote, remote);
}

long CmSetCreatorTitle(const char* creator, const char* title) {
  return Manager().SetText(creator, CreatorField::kTitle, title);
}

long CmSetCreatorInfo(const char* creator, const char* info) {
  return Manager().SetText(creator, CreatorField::kInfo, info);
}

long CmSetCreatorPriority(const char* creator, std::int32_t* priority) {
  return Manager().SetPriority(creator, priority);
}

long CmRemoveConduitByCreatorID(const char* creator) { return Manager().Remove(creator); }

}  // extern "C"

// The exports match the types through which the callers fetch them.
static_assert(std::is_same_v<decltype(&CmGetCorePath), korvet::CmGetCorePathFn>);
static_assert(std::is_same_v<decltype(&CmInstallCreator), korvet::CmInstallCreatorFn>);
static_assert(std::is_same_v<decltype(&CmSetCreatorName), korvet::CmSetCreatorTextFn>);
static_assert(std::is_same_v<decltype(&CmSetCreatorPriority), korvet::CmSetCreatorPriorityFn>);
static_assert(std::is_same_v<decltype(&CmSetCreatorInfo), korvet::CmSetCreatorInfoFn>);
static_assert(std::is_same_v<decltype(&CmRemoveConduitByCreatorID), korvet::CmRemoveConduitByCreatorIDFn>);
