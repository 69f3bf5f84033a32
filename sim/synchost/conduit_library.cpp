#include "sim/synchost/conduit_library.h"

#include <cstdio>
#include <cstring>

#include "conduit/platform/conduit_records.h"
#include "sim/support/win_handles.h"
#include "sim/synchost/record_escape.h"

namespace korvet::hotsync {

std::optional<ConduitLibrary> ConduitLibrary::Load(const std::string& path, std::string* error) {
  ConduitLibrary conduit;
  conduit.library_ = sim::LoadLibraryOrExplain(path, error);
  if (!conduit.library_.IsLoaded()) return std::nullopt;
  ConduitExports& exports = conduit.exports_;
  const WinLibrary& library = conduit.library_;
  exports.openConduit = library.Get<OpenConduitFn>("OpenConduit");
  exports.getConduitName = library.Get<GetConduitNameFn>("GetConduitName");
  exports.getConduitVersion = library.Get<GetConduitVersionFn>("GetConduitVersion");
  exports.getConduitInfo = library.Get<GetConduitInfoFn>("GetConduitInfo");
  exports.configureConduit = library.Get<ConfigureConduitFn>("ConfigureConduit");
  exports.cfgConduit = library.Get<CfgConduitFn>("CfgConduit");
  const std::pair<const char*, bool> found[] = {
      {"OpenConduit", exports.openConduit != nullptr},
      {"GetConduitName", exports.getConduitName != nullptr},
      {"GetConduitVersion", exports.getConduitVersion != nullptr},
      {"GetConduitInfo", exports.getConduitInfo != nullptr},
      {"ConfigureConduit", exports.configureConduit != nullptr},
      {"CfgConduit", exports.cfgConduit != nullptr},
  };
  for (const auto& [name, present] : found) {
    if (!present) {
      *error = path + " does not export " + name;
      return std::nullopt;
    }
  }
  return conduit;
}

std::string ConduitLibrary::Describe(const std::string& user) const {
  // One spare byte beyond the capacity given, so an unterminated answer still ends.
  char name[257] = {};
  long nameResult = exports_.getConduitName(name, 256);
  std::uint32_t version = exports_.getConduitVersion();

  ConduitInfoRequest request{};
  request.version = 1;
  request.size = sizeof request;
  request.value8 = 1;  // a HotSync user is known
  std::strncpy(request.userName, user.c_str(), sizeof request.userName - 1);
  char info[257] = {};
  std::uint32_t infoSize = 256;
  long infoResult = exports_.getConduitInfo(0, &request, info, &infoSize);

  char versionText[16];
  std::snprintf(versionText, sizeof versionText, "0x%X", static_cast<unsigned>(version));
  std::string text =
      nameResult == 0 ? "name \"" + EscapeBytes(name) + "\"" : "name failed (" + std::to_string(nameResult) + ")";
  text += ", version ";
  text += versionText;
  text +=
      infoResult == 0 ? ", info \"" + EscapeBytes(info) + "\"" : ", info failed (" + std::to_string(infoResult) + ")";
  return text;
}

}  // namespace korvet::hotsync
