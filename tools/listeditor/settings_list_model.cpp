#include "tools/listeditor/settings_list_model.h"

#include "common/chosen_path_check.h"
#include "common/list_display.h"
#include "common/list_format.h"
#include "common/paths.h"

namespace korvet {
namespace {

// A line's entry: ',' after its last backslash, '*' at the end.
std::string EntryOf(const std::string& line) {
  const std::size_t slash = LastSeparator(line);
  std::size_t split = slash == std::string::npos ? 0 : slash + 1;
  return line.substr(0, split) + lists::kSeparator + line.substr(split) + lists::kEntryEnd;
}

}  // namespace

SettingsListModel::SettingsListModel(const std::string& listText) {
  SettingsListEditorView view = SettingsListEditorLines(listText);
  entryText_ = view.entryText;
  lines_ = view.lines;
}

std::optional<std::string> SettingsListModel::Add(const std::string& fullPath, const std::string& fileName) {
  const std::size_t slash = LastSeparator(fullPath);
  std::string directory = slash == std::string::npos ? std::string() : fullPath.substr(0, slash + 1);
  // The name after the last backslash is the file's own, even when a folder carries the same name.
  std::string name = slash == std::string::npos ? fileName : fullPath.substr(slash + 1);
  if (std::optional<std::string> refusal = SettingsFileRefusal(directory, name)) return refusal;
  lines_.push_back(directory + name);
  entryText_ += directory + lists::kSeparator + name + lists::kEntryEnd;
  unchanged_ = false;
  return std::nullopt;
}

void SettingsListModel::Remove(std::size_t index) {
  if (index >= lines_.size()) return;
  const std::string entry = EntryOf(lines_[index]);
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
  unchanged_ = false;
  // Only whole entries match: at the start of the text or right after another entry's '*'.
  for (std::size_t at = entryText_.find(entry); at != std::string::npos; at = entryText_.find(entry, at + 1)) {
    if (at == 0 || entryText_[at - 1] == lists::kEntryEnd) {
      entryText_.erase(at, entry.size());
      return;
    }
  }
}

}  // namespace korvet
