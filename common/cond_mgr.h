// The Conduit Manager operations (CondMgr.dll). No program links the library: each loads it at run
// time by name and fetches these functions by name.
#pragma once

#include <cstdint>

namespace korvet {

inline constexpr const char* kCondMgrLibrary = "CondMgr.dll";
inline constexpr const char* kCreatorId = "KRVT";

extern "C" {
using CmGetCorePathFn = long (*)(char* buffer, std::int32_t* capacity);
using CmInstallCreatorFn = long (*)(const char* creator, std::int32_t* conduitType);
using CmSetCreatorTextFn = long (*)(const char* creator, const char* text);  // Name, Directory, File, Remote, Title
using CmSetCreatorPriorityFn = long (*)(const char* creator, std::int32_t* priority);
using CmSetCreatorInfoFn = long (*)(const char* creator, const char* info);
using CmRemoveConduitByCreatorIDFn = long (*)(const char* creator);
}

}  // namespace korvet
