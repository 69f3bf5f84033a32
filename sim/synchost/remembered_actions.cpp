#include "sim/synchost/remembered_actions.h"

#include <algorithm>
#include <charconv>

#include "sim/condmgr/registrations.h"
#include "sim/support/line_files.h"

namespace korvet::hotsync {

std::optional<std::int32_t> RememberedActions::Find(std::string_view creator, std::string_view user) const {
  for (const RememberedAction& entry : entries_)
    if (entry.creator == creator && entry.user == user) return entry.action;
  return std::nullopt;
}

void RememberedActions::Set(const std::string& creator, const std::string& user, std::int32_t action) {
  auto found = std::find_if(entries_.begin(), entries_.end(), [&](const RememberedAction& entry) {
    return entry.creator == creator && entry.user == user;
  });
  if (found != entries_.end())
    found->action = action;
  else
    entries_.push_back({creator, user, action});
}

std::string RememberedActions::Serialize() const {
  std::string text = "; Sync actions chosen with configure: creator<TAB>action<TAB>user\r\n";
  for (const RememberedAction& entry : entries_)
    text += entry.creator + "\t" + std::to_string(entry.action) + "\t" + entry.user + "\r\n";
  return text;
}

std::optional<RememberedActions> RememberedActions::Parse(std::string_view text, std::string* error) {
  RememberedActions actions;
  auto parseLine = [&](std::string_view line, std::string* why) {
    std::size_t first = line.find('\t');
    std::size_t second = first == std::string_view::npos ? first : line.find('\t', first + 1);
    std::int32_t action = 0;
    bool ok = second != std::string_view::npos && IsValidCreator(line.substr(0, first));
    if (ok) {
      std::string_view number = line.substr(first + 1, second - first - 1);
      auto [at, failure] = std::from_chars(number.data(), number.data() + number.size(), action);
      ok = !number.empty() && failure == std::errc() && at == number.data() + number.size();
    }
    std::string_view user = ok ? line.substr(second + 1) : std::string_view();
    if (!ok || user.empty() || user.find('\t') != std::string_view::npos) {
      *why = "not creator<TAB>action<TAB>user";
      return false;
    }
    actions.Set(std::string(line.substr(0, first)), std::string(user), action);
    return true;
  };
  if (!sim::ParseLines(text, parseLine, error)) return std::nullopt;
  return actions;
}

std::optional<RememberedActions> RememberedActions::Load(const std::string& folder, std::string* error) {
  return sim::LoadLineFile(JoinPath(folder, kActionsFileName), Parse, error);
}

bool RememberedActions::Save(const std::string& folder, std::string* error) const {
  return sim::WriteFileAtomically(JoinPath(folder, kActionsFileName), Serialize(), error);
}

}  // namespace korvet::hotsync
