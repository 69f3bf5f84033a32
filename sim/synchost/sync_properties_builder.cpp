#include "sim/synchost/sync_properties_builder.h"

#include <cstring>

namespace korvet::hotsync {
namespace {

template <std::size_t N>
bool CopyField(char (&field)[N], const std::string& value, const char* what, std::string* error) {
  if (value.size() >= N) {
    *error = std::string(what) + " \"" + value + "\" is longer than " + std::to_string(N - 1) + " bytes";
    return false;
  }
  std::memcpy(field, value.c_str(), value.size() + 1);
  return true;
}

}  // namespace

std::uint32_t FourCharValue(const std::string& text) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | (i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
  return value;
}

std::optional<SyncProperties> BuildSyncProperties(const ConduitRegistration& conduit, std::int32_t syncType,
                                                  const std::string& user, std::string* error) {
  SyncProperties properties;
  std::memset(&properties, 0, sizeof properties);
  properties.syncType = syncType;
  if (!CopyField(properties.localDirectory, conduit.directory, "directory", error) ||
      !CopyField(properties.localName, conduit.file, "file", error) ||
      !CopyField(properties.remoteNames[0], conduit.remote, "remote database", error) ||
      !CopyField(properties.userName, user, "user name", error))
    return std::nullopt;
  properties.remoteDescriptors = nullptr;
  properties.remoteCount = 1;
  properties.creator = FourCharValue(conduit.creator);
  properties.databaseType = FourCharCode("DATA");
  properties.categoryMode = 0;
  return properties;
}

}  // namespace korvet::hotsync
