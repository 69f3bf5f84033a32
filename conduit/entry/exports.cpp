// The six exports of Korv.dll that HotSync Manager calls.
#include <windows.h>

#include <cstring>

#include "conduit/base/allocation.h"
#include "conduit/entry/conduit_exports.h"
#include "conduit/entry/config_dialog.h"
#include "conduit/entry/export_guard.h"
#include "conduit/entry/module_state.h"
#include "conduit/entry/session_driver.h"
#include "conduit/platform/conduit_records.h"
#include "conduit/store/string_ids.h"
#include "korvet_version.h"

extern "C" long GetConduitInfo(long kind, void* request, void* out, std::uint32_t* outSize);

namespace korvet {
namespace {

// Result codes of the entry points.
constexpr long kUnknownInfoKind = 4208;
constexpr long kNoOutputBuffer = 4209;
constexpr long kWrongOutputSize = 4211;
constexpr long kNoRequestRecord = 4212;
constexpr long kBadRequestRecord = 4213;
constexpr long kNameNotLoaded = 4214;
constexpr long kNoOutputSize = 4215;
constexpr long kNoSizePointer = 4216;
constexpr long kUnknownRequestKind = 4217;
constexpr long kWrongRecordSize = 4218;
constexpr long kWrongRecordVersion = 4219;

// Major version in the high byte, minor in the low byte: the same version as every file's properties.
constexpr std::uint32_t kConduitVersion = (KORVET_VERSION_MAJOR << 8) | KORVET_VERSION_MINOR;
constexpr std::uint32_t kConduitInfoValue = 0x10000000;

// Loads the conduit's name cut to the capacity; false when nothing could be loaded. A capacity of 0
// is refused: LoadString would then hand out a pointer instead of text.
bool LoadConduitName(char* buffer, std::uint32_t capacity) {
  if (buffer == nullptr || capacity == 0) return false;
  int cap = capacity > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(capacity);
  return LoadStringA(ConduitModule(), IDS_CONDUIT_NAME, buffer, cap) > 0;
}

long ConfigureWithOldRecord(void* oldRecord) {
  if (oldRecord == nullptr) return -1;
  auto* old = static_cast<OldConfigRecord*>(oldRecord);
  ConfigRequest request;
  std::memset(&request, 0, sizeof request);
  request.version = 1;
  request.size = sizeof(ConfigRequest);
  request.defaultAction = request.nextAction = request.chosenAction = old->action;
  request.defaultChoice = 2;
  if (RunConfigDialog(kOldConfigDialogTemplate, &request) != 0) return -1;
  old->action = request.chosenAction;
  old->defaultChoice = request.defaultChoice;
  return 0;
}

long ConfigureWithRequest(long kind, void* request, std::uint32_t* size) {
  auto* record = static_cast<ConfigRequest*>(request);
  if (record == nullptr) return kNoRequestRecord;
  if (size == nullptr) return kNoSizePointer;
  if (*size != sizeof(ConfigRequest)) return kWrongRecordSize;
  if (kind != 0) return kUnknownRequestKind;
  if (record->version != 1) return kWrongRecordVersion;

  ConduitInfoRequest info;
  std::memset(&info, 0, sizeof info);
  info.version = 1;
  info.size = sizeof(ConduitInfoRequest);
  info.value8 = record->userKnown;
  info.value12 = record->passThrough;
  std::memcpy(info.userName, record->userName, sizeof info.userName);
  char name[256] = {};
  std::uint32_t nameSize = sizeof name;
  if (long error = ::GetConduitInfo(0, &info, name, &nameSize)) return error;

  RunConfigDialog(kConfigDialogTemplate, record);
  return 0;
}

}  // namespace
}  // namespace korvet

using namespace korvet;

extern "C" {

long OpenConduit(void* hotsync, SyncProperties* properties) {
  const base::EnvironmentAllocationFailure allocationSeam;  // a sweep's, see allocation.h
  return Guarded("OpenConduit", [&] { return RunHotSyncSession(hotsync, properties, DefaultSessionServices()); });
}

long GetConduitName(char* buffer, std::uint16_t capacity) { return LoadConduitName(buffer, capacity) ? 0 : -1; }

std::uint32_t GetConduitVersion() { return kConduitVersion; }

long GetConduitInfo(long kind, void* request, void* out, std::uint32_t* outSize) {
  if (out == nullptr) return kNoOutputBuffer;
  if (outSize == nullptr) return kNoOutputSize;
  switch (kind) {
    case 0: {
      auto* info = static_cast<ConduitInfoRequest*>(request);
      if (info == nullptr) return kNoRequestRecord;
      if (info->version != 1 || info->size != sizeof(ConduitInfoRequest)) return kBadRequestRecord;
      return LoadConduitName(static_cast<char*>(out), *outSize) ? 0 : kNameNotLoaded;
    }
    case 1:
    case 2: {
      if (*outSize != 4) return kWrongOutputSize;
      const std::uint32_t value = kind == 1 ? kConduitInfoValue : 0;
      std::memcpy(out, &value, sizeof value);
      return 0;
    }
    default:
      return kUnknownInfoKind;
  }
}

long ConfigureConduit(void* oldRecord) {
  return Guarded("ConfigureConduit", [&] { return ConfigureWithOldRecord(oldRecord); });
}

long CfgConduit(long kind, void* request, std::uint32_t* size) {
  return Guarded("CfgConduit", [&] { return ConfigureWithRequest(kind, request, size); });
}

}  // extern "C"
