// A conduit library loaded by its registered path, with its six exports.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/win_library.h"
#include "conduit/entry/conduit_exports.h"

namespace korvet::hotsync {

struct ConduitExports {
  OpenConduitFn openConduit = nullptr;
  GetConduitNameFn getConduitName = nullptr;
  GetConduitVersionFn getConduitVersion = nullptr;
  GetConduitInfoFn getConduitInfo = nullptr;
  ConfigureConduitFn configureConduit = nullptr;
  CfgConduitFn cfgConduit = nullptr;
};

class ConduitLibrary {
 public:
  // Nothing when the library does not load or lacks one of the six exports; *error says which.
  static std::optional<ConduitLibrary> Load(const std::string& path, std::string* error);

  const ConduitExports& Exports() const { return exports_; }
  // "name \"Korvet\", version 0x102, info \"Korvet\"", with a failing call shown by its result.
  std::string Describe(const std::string& user) const;

 private:
  WinLibrary library_;
  ConduitExports exports_;
};

}  // namespace korvet::hotsync
