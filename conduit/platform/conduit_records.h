// The records that cross the conduit's exports: the configuration request record that HotSync Manager
// passes to CfgConduit, the conduit information request record of GetConduitInfo, and the old-style
// configuration record of ConfigureConduit.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvet {

#pragma pack(push, 1)
struct ConduitInfoRequest {
  std::uint32_t version;  // 1
  std::uint32_t size;     // 80
  std::int32_t value8;
  std::int32_t value12;
  char userName[64];
};

struct ConfigRequest {
  std::uint32_t version;  // 1
  std::uint32_t size;     // 352
  std::int32_t userKnown;
  std::int32_t passThrough;
  char userName[64];
  char hotsyncPath[256];
  std::int32_t defaultAction;
  std::int32_t nextAction;
  std::int32_t chosenAction;
  std::int32_t defaultChoice;  // 1: "Set as default" checked, 2: not
};

// Only two fields of the old-style record are used; the rest belongs to HotSync Manager.
struct OldConfigRecord {
  std::uint8_t before[516];
  std::int32_t defaultChoice;
  std::int32_t action;
};
#pragma pack(pop)

static_assert(sizeof(ConduitInfoRequest) == 80);
static_assert(sizeof(ConfigRequest) == 352);
static_assert(offsetof(ConfigRequest, hotsyncPath) == 80);
static_assert(offsetof(ConfigRequest, defaultAction) == 336);
static_assert(offsetof(ConfigRequest, defaultChoice) == 348);
static_assert(offsetof(OldConfigRecord, defaultChoice) == 516);
static_assert(offsetof(OldConfigRecord, action) == 520);

// Sync actions chosen in the configuration dialog.
inline constexpr std::int32_t kActionSynchronize = 0;
inline constexpr std::int32_t kActionHandheldOverwrites = 2;
inline constexpr std::int32_t kActionDesktopOverwrites = 3;
inline constexpr std::int32_t kActionDoNothing = 6;

}  // namespace korvet
