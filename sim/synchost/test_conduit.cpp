// A tiny conduit for synchost's end-to-end test. It exports the six conduit functions, writes what
// it receives to received.txt beside itself, appends a HotSync log line and writes one record to the
// handheld database named first in the sync properties, leaving that database open so that only the
// host's end of session writes it back.
//   TEST_CONDUIT_OPEN_RESULT, TEST_CONDUIT_CFG_RESULT: results to answer instead of 0.
#include <cstdlib>
#include <cstring>
#include <string>

#include <windows.h>

#include "common/paths.h"
#include "common/win_library.h"
#include "conduit/platform/conduit_records.h"
#include "conduit/platform/sync_manager.h"
#include "conduit/platform/sync_properties.h"
#include "sim/support/sim_files.h"

namespace {

using korvet::ConduitInfoRequest;
using korvet::ConfigRequest;
using korvet::SyncProperties;

constexpr const char* kName = "Test Conduit";

void Record(const std::string& text) {
  static const char anchor = 0;
  korvet::sim::AppendToFile(korvet::JoinPath(korvet::FolderOfModuleContaining(&anchor), "received.txt"), text);
}

long ResultFromEnvironment(const char* name) {
  char value[32] = {};
  if (GetEnvironmentVariableA(name, value, sizeof value) == 0) return 0;
  return std::strtol(value, nullptr, 10);
}

std::string FourChars(std::uint32_t code) {
  return {static_cast<char>(code >> 24), static_cast<char>(code >> 16), static_cast<char>(code >> 8),
          static_cast<char>(code)};
}

// Appends one record to the database; the database stays open.
long WriteRecord(const SyncProperties& properties, const std::string& text) {
  std::uint32_t session = 0;
  if (long result = OpenSyncSession(&session)) return result;
  std::uint8_t handle = 0;
  long result = OpenHandheldDatabase(properties.remoteNames[0], 0, &handle, korvet::handheld::kOpenReadWrite);
  if (result == korvet::handheld::kSyncNotFound) {
    korvet::handheld::DatabaseCreationBlock create{};
    create.creator = properties.creator;
    create.type = properties.databaseType;
    std::memcpy(create.name, properties.remoteNames[0], sizeof create.name);
    create.name[sizeof create.name - 1] = 0;
    result = CreateHandheldDatabase(&create);
    handle = create.handle;
  }
  if (result) return result;
  std::string data = text;
  korvet::handheld::RecordTransferBlock block{};
  block.handle = handle;
  block.attributes = korvet::handheld::kHandheldModified;
  block.dataSize = static_cast<std::uint32_t>(data.size());
  block.capacity = static_cast<std::uint16_t>(data.size());
  block.data = reinterpret_cast<std::uint8_t*>(data.data());
  return WriteHandheldRecord(&block);
}

}  // namespace

extern "C" {

long OpenConduit(void* hotsync, SyncProperties* properties) {
  std::string text = "OpenConduit\n";
  text += std::string("first argument: ") + (hotsync ? "set" : "null") + "\n";
  if (!properties) {
    Record(text + "properties: null\n");
    return -1;
  }
  const SyncProperties& p = *properties;
  text += "sync type: " + std::to_string(p.syncType) + "\n";
  text += "local directory: " + std::string(p.localDirectory) + "\n";
  text += "local name: " + std::string(p.localName) + "\n";
  text += "remote count: " + std::to_string(p.remoteCount) + "\n";
  text += "remote name: " + std::string(p.remoteNames[0]) + "\n";
  text += "second remote name: \"" + std::string(p.remoteNames[1]) + "\"\n";
  text += std::string("remote descriptors: ") + (p.remoteDescriptors ? "set" : "null") + "\n";
  text += "creator: " + FourChars(p.creator) + "\n";
  text += "database type: " + FourChars(p.databaseType) + "\n";
  text += "category mode: " + std::to_string(p.categoryMode) + "\n";
  text += "user: " + std::string(p.userName) + "\n";
  text += "log state before: " + std::to_string(QueryHotSyncLogState()) + "\n";
  AppendHotSyncLog(("Test conduit: sync type " + std::to_string(p.syncType) + " of " + p.remoteNames[0]).c_str(), -1,
                   0);
  text += std::string("log state after: ") + (QueryHotSyncLogState() ? "set" : "0") + "\n";
  text += "record written: " +
          std::to_string(WriteRecord(p, "from the test conduit, sync type " + std::to_string(p.syncType))) + "\n";
  Record(text);
  return ResultFromEnvironment("TEST_CONDUIT_OPEN_RESULT");
}

long GetConduitName(char* buffer, std::uint16_t capacity) {
  if (!buffer || capacity == 0) return -1;
  std::strncpy(buffer, kName, capacity - 1);
  buffer[capacity - 1] = 0;
  return 0;
}

std::uint32_t GetConduitVersion() { return 0x101; }

long GetConduitInfo(long kind, void* request, void* out, std::uint32_t* outSize) {
  if (!out) return 4209;
  if (!outSize) return 4215;
  if (kind != 0) return 4208;
  auto* info = static_cast<ConduitInfoRequest*>(request);
  if (!info) return 4212;
  if (info->version != 1 || info->size != sizeof(ConduitInfoRequest)) return 4213;
  std::string answer = std::string(kName) + " for " + info->userName;
  std::strncpy(static_cast<char*>(out), answer.c_str(), *outSize - 1);
  static_cast<char*>(out)[*outSize - 1] = 0;
  return 0;
}

long ConfigureConduit(void*) { return -1; }

// Chooses the next action of the cycle 0, 3, 2, 6, 0 and sets it as default.
long CfgConduit(long kind, void* request, std::uint32_t* size) {
  auto* record = static_cast<ConfigRequest*>(request);
  std::string text = "CfgConduit\nkind: " + std::to_string(kind) + "\n";
  text += "size: " + (size ? std::to_string(*size) : std::string("null")) + "\n";
  if (record && size && *size == sizeof(ConfigRequest)) {
    text += "version: " + std::to_string(record->version) + "\n";
    text += "record size: " + std::to_string(record->size) + "\n";
    text += "user known: " + std::to_string(record->userKnown) + "\n";
    text += "user: " + std::string(record->userName) + "\n";
    text += "default action: " + std::to_string(record->defaultAction) + "\n";
    text += "next action: " + std::to_string(record->nextAction) + "\n";
    text += "chosen action: " + std::to_string(record->chosenAction) + "\n";
    text += "default choice: " + std::to_string(record->defaultChoice) + "\n";
  }
  Record(text);
  if (!record) return 4212;
  if (!size) return 4216;
  if (*size != sizeof(ConfigRequest)) return 4218;
  if (kind != 0) return 4217;
  if (long result = ResultFromEnvironment("TEST_CONDUIT_CFG_RESULT")) return result;
  switch (record->nextAction) {
    case 0:
      record->chosenAction = 3;
      break;
    case 3:
      record->chosenAction = 2;
      break;
    case 2:
      record->chosenAction = 6;
      break;
    default:
      record->chosenAction = 0;
      break;
  }
  record->defaultChoice = 1;
  return 0;
}

}  // extern "C"
