// The six exports of Korv.dll, as HotSync Manager calls them (plain, undecorated names).
#pragma once

#include <cstdint>

namespace korvet {
struct SyncProperties;
}

extern "C" {
using OpenConduitFn = long (*)(void* hotsync, korvet::SyncProperties* properties);
using GetConduitNameFn = long (*)(char* buffer, std::uint16_t capacity);
using GetConduitVersionFn = std::uint32_t (*)();
using GetConduitInfoFn = long (*)(long kind, void* request, void* out, std::uint32_t* outSize);
using ConfigureConduitFn = long (*)(void* oldRecord);
using CfgConduitFn = long (*)(long kind, void* request, std::uint32_t* size);
}
