#include "tools/listeditor/settings_list_model.h"

#include "common/chosen_path_check.h"
#include "common/paths.h"

namespace korvet {

SettingsListModel::SettingsListModel(const std::string& listText) : list_(ListedFiles::Parse(listText)) {}

std::optional<std::string> SettingsListModel::Add(const std::string& fullPath, const std::string& fileName) {
  const std::size_t slash = LastSeparator(fullPath);
  std::string directory = slash == std::string::npos ? std::string() : fullPath.substr(0, slash + 1);
  // The name after the last backslash is the file's own, even when a folder carries the same name.
  std::string name = slash == std::string::npos ? fileName : fullPath.substr(slash + 1);
  if (std::optional<std::string> refusal = SettingsFileRefusal(directory, name)) return refusal;
  // After the last whole entry: bytes that follow it without a '*' stay where they were, after the
  // entries, rather than run into the new entry.
  list_.files.emplace_back(directory, name);
  unchanged_ = false;
  return std::nullopt;
}

void SettingsListModel::Remove(std::size_t index) {
  if (index >= list_.files.size()) return;
  list_.files.erase(list_.files.begin() + static_cast<std::ptrdiff_t>(index));
  unchanged_ = false;
}

}  // namespace korvet
