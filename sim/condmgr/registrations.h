// The conduit registrations of the stand-in HotSync installation, kept as readable text in the file
// Conduits.txt beside CondMgr.dll:
//
//   ; Conduits registered with the stand-in HotSync Manager.
//   [KRVT]
//   Type=1
//   Library=C:\Korvet\Korv.dll
//   Directory=
//   File=dummy.qzl
//   Remote=KORVETDatabaseDB
//   Title=Korvet
//   Priority=2
//   Info=
//
// One section per creator ID, in order of registration; every value is the text after '=' up to the
// line end, byte for byte. Lines end with CR LF; a reader also takes LF alone. Lines starting with ';'
// and empty lines are ignored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvet::hotsync {

inline constexpr const char* kRegistrationFileName = "Conduits.txt";

struct ConduitRegistration {
  std::string creator{};  // four printable characters
  std::int32_t type = 0;
  std::string library{};
  std::string directory{};
  std::string file{};
  std::string remote{};
  std::string title{};
  std::int32_t priority = 0;
  std::string info{};

  bool operator==(const ConduitRegistration&) const = default;
};

using Registrations = std::vector<ConduitRegistration>;

// Four bytes, each printable ASCII.
bool IsValidCreator(std::string_view creator);
// A value fits on one line: no CR, LF or NUL.
bool IsValidValue(std::string_view value);

std::string SerializeRegistrations(const Registrations& registrations);
// Nothing when the text is damaged (unknown key, bad number, line outside a section, duplicate
// creator); *error then names the line.
std::optional<Registrations> ParseRegistrations(std::string_view text, std::string* error);

// The registrations of the installation folder; a missing file is an empty list.
std::optional<Registrations> LoadRegistrations(const std::string& folder, std::string* error);
bool SaveRegistrations(const std::string& folder, const Registrations& registrations, std::string* error);

ConduitRegistration* FindRegistration(Registrations& registrations, std::string_view creator);
const ConduitRegistration* FindRegistration(const Registrations& registrations, std::string_view creator);
// Lowest priority value first; equal priorities keep their registration order.
Registrations InPriorityOrder(Registrations registrations);

}  // namespace korvet::hotsync
