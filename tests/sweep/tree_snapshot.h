// What a folder tree holds, file by file, so that a session's writes can be found afterwards.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace korvet::sweep {

struct FileState {
  bool folder = false;
  std::uint64_t writeTime = 0;  // last write, in file-time ticks
  std::string bytes;            // files only
  bool operator==(const FileState&) const = default;
};

// Paths relative to the snapshot's root, with backslashes, e.g. "hotsync\Handheld\x.pdb".
using TreeSnapshot = std::map<std::string, FileState>;

TreeSnapshot TakeSnapshot(const std::string& root);

// One line per path that was added, removed or changed and that `allowed` does not accept; `allowed`
// gets the relative path and the states before and after (null where there is none).
std::vector<std::string> UnexpectedChanges(
    const TreeSnapshot& before, const TreeSnapshot& after,
    const std::function<bool(const std::string&, const FileState*, const FileState*)>& allowed);

// Upper-cased, for comparing Windows paths.
std::string Upper(std::string text);

}  // namespace korvet::sweep
