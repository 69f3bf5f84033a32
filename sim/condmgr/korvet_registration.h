// Korvet's registration as the installer makes it, for the stand-ins' tests.
#pragma once

#include <string>

#include "sim/condmgr/registrations.h"

namespace korvet::hotsync {

inline ConduitRegistration KorvetRegistration(const std::string& directory = "") {
  return {.creator = "KRVT",
          .type = 1,
          .library = "C:\\Korvet\\Korv.dll",
          .directory = directory,
          .file = "dummy.qzl",
          .remote = "KORVETDatabaseDB",
          .title = "Korvet",
          .priority = 2,
          .info = ""};
}

}  // namespace korvet::hotsync
