// The list editor's working state: the raw entries of Xembrafilepath.dat (each "directory,name*",
// without the end marker) and one line per entry as the list box shows it ("directory" + "name").
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace korvet {

class SettingsListModel {
 public:
  static constexpr std::size_t kMaxFiles = 50;

  // From the file's text before its first '@'.
  explicit SettingsListModel(const std::string& listText);

  const std::string& EntryText() const { return entryText_; }
  const std::vector<std::string>& Lines() const { return lines_; }
  bool Full() const { return lines_.size() >= kMaxFiles; }
  bool Unchanged() const { return unchanged_; }

  // Adds the file chosen in the file dialog: the directory is the path up to and including its last
  // backslash. A file already listed is added again. Returns the message that refuses a path the list
  // cannot hold (reserved byte, too long), or nothing when it was added.
  std::optional<std::string> Add(const std::string& fullPath, const std::string& fileName);

  // Removes the line at `index` and the first entry that matches it.
  void Remove(std::size_t index);

 private:
  std::string entryText_;
  std::vector<std::string> lines_;
  bool unchanged_ = true;
};

}  // namespace korvet
