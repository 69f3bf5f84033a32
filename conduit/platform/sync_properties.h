// The sync properties record that HotSync Manager passes to OpenConduit. The session writes the
// settings file's folder and name into it before each synchronizer is built; the synchronizer copies
// the first 1198 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/layout.h"

namespace korvet {

// HotSync Manager's sync types.
enum SyncType : std::int32_t {
  kFastSync = 0,
  kSlowSync = 1,
  kHandheldOverwritesDesktop = 2,
  kDesktopOverwritesHandheld = 3,
  kInstallSync = 4,
  kBackupSync = 5,
  kDoNothing = 6,
  kProfileInstall = 7,
};

inline constexpr std::size_t kMaxRemoteDatabases = 12;

#pragma pack(push, 1)
struct SyncProperties {
  std::int32_t syncType;
  char localDirectory[256];
  char localName[256];
  char remoteNames[kMaxRemoteDatabases][32];
  void* remoteDescriptors;  // optional ready-made descriptors; null when HotSync Manager gives none
  std::int16_t remoteCount;
  std::uint16_t reserved0;
  std::uint32_t creator;
  std::uint32_t databaseType;
  std::uint8_t reserved1[10];
  std::int32_t categoryMode;
  char userName[64];
  std::uint8_t reserved2[204];
};
#pragma pack(pop)

KORVET_LAYOUT32(sizeof(SyncProperties) == 1198);
static_assert(offsetof(SyncProperties, localDirectory) == 4);
static_assert(offsetof(SyncProperties, localName) == 260);
static_assert(offsetof(SyncProperties, remoteNames) == 516);
KORVET_LAYOUT32(offsetof(SyncProperties, remoteCount) == 904);
KORVET_LAYOUT32(offsetof(SyncProperties, categoryMode) == 926);

// Four characters as one big-endian 32-bit value, as creator IDs and database types are kept.
constexpr std::uint32_t FourCharCode(const char (&text)[5]) {
  return (std::uint32_t(std::uint8_t(text[0])) << 24) | (std::uint32_t(std::uint8_t(text[1])) << 16) |
         (std::uint32_t(std::uint8_t(text[2])) << 8) | std::uint32_t(std::uint8_t(text[3]));
}

}  // namespace korvet
