// The description of the handheld database being synchronized, as HotSync Manager may hand it over
// ready-made in the sync properties or as the synchronizer builds it from them.
#pragma once

#include <cstdint>

namespace korvet::sync {

#pragma pack(push, 1)
struct RemoteDatabaseDescriptor {
  std::int32_t card;
  std::uint16_t flags;
  std::uint32_t type;
  char name[32];
  std::uint32_t creator;
  std::uint16_t version;
  std::uint32_t modificationNumber;
  std::uint32_t creationTime;
  std::uint32_t modificationTime;
  std::uint32_t backupTime;
  std::uint8_t reserved[14];
};
#pragma pack(pop)
static_assert(sizeof(RemoteDatabaseDescriptor) == 78);

}  // namespace korvet::sync
