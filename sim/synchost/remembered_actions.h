// The sync actions chosen with configure, kept per conduit and user in Actions.txt in the
// installation:
//
//   ; Sync actions chosen with configure: creator<TAB>action<TAB>user
//   KRVT	3	HotSync User
//
// Lines end with CR LF (a reader also takes LF alone); ';' starts a comment line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvet::hotsync {

inline constexpr const char* kActionsFileName = "Actions.txt";

struct RememberedAction {
  std::string creator{};
  std::string user{};
  std::int32_t action = 0;

  bool operator==(const RememberedAction&) const = default;
};

class RememberedActions {
 public:
  std::optional<std::int32_t> Find(std::string_view creator, std::string_view user) const;
  void Set(const std::string& creator, const std::string& user, std::int32_t action);
  const std::vector<RememberedAction>& Entries() const { return entries_; }

  std::string Serialize() const;
  // Nothing when a line is damaged; *error names it.
  static std::optional<RememberedActions> Parse(std::string_view text, std::string* error);

  // The installation's file; a missing file holds no actions.
  static std::optional<RememberedActions> Load(const std::string& folder, std::string* error);
  bool Save(const std::string& folder, std::string* error) const;

 private:
  std::vector<RememberedAction> entries_;
};

}  // namespace korvet::hotsync
