// The list editor's working state: the entries of Xembrafilepath.dat before its end marker, one line
// of the list box each.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "common/listed_file.h"

namespace korvet {

class SettingsListModel {
 public:
  static constexpr std::size_t kMaxFiles = 50;

  // From the file's text before its first '@'.
  explicit SettingsListModel(const std::string& listText);

  // The entries to write back, those the list held and the editor kept first, in their order.
  std::string EntryText() const { return list_.Text(); }
  const std::vector<ListedFile>& Files() const { return list_.files; }
  bool Full() const { return list_.files.size() >= kMaxFiles; }
  bool Unchanged() const { return unchanged_; }

  // Adds the file chosen in the file dialog: the directory is the path up to and including its last
  // backslash. A file already listed is added again. Returns the message that refuses a path the list
  // cannot hold (reserved byte, too long), or nothing when it was added.
  std::optional<std::string> Add(const std::string& fullPath, const std::string& fileName);

  // Removes the entry of the line at `index`.
  void Remove(std::size_t index);

 private:
  ListedFiles list_;
  bool unchanged_ = true;
};

}  // namespace korvet
