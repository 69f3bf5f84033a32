// The sync properties record as HotSync Manager fills it for Korvet: one remote database,
// "KORVETDatabaseDB" of creator "KRVT", pointed at a desktop folder and file.
#pragma once

#include <cstring>
#include <string>

#include "conduit/platform/sync_properties.h"

namespace korvet::testing {

inline SyncProperties KorvetProperties(long syncType, const std::string& directory = "",
                                       const std::string& fileName = "") {
  SyncProperties properties;
  std::memset(&properties, 0, sizeof properties);
  properties.syncType = static_cast<std::int32_t>(syncType);
  std::strcpy(properties.remoteNames[0], "KORVETDatabaseDB");
  properties.remoteCount = 1;
  properties.creator = FourCharCode("KRVT");
  properties.databaseType = FourCharCode("DATA");
  std::strncpy(properties.localDirectory, directory.c_str(), sizeof properties.localDirectory - 1);
  std::strncpy(properties.localName, fileName.c_str(), sizeof properties.localName - 1);
  return properties;
}

}  // namespace korvet::testing
