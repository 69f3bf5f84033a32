#include "tests/sweep/tree_snapshot.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "sim/support/sim_files.h"
#include "sim/support/win_handles.h"

namespace korvet::sweep {
namespace {

std::string ReadBytes(const std::string& path) {
  std::string bytes, error;
  bool missing = false;
  return sim::ReadTextFile(path, &bytes, &missing, &error) ? bytes : "<unreadable>";
}

void Walk(const std::string& root, const std::string& relative, TreeSnapshot& snapshot) {
  const std::string folder = relative.empty() ? root : JoinPath(root, relative);
  sim::FileSearch search(folder + "\\*");
  if (!search.Valid()) return;
  do {
    const WIN32_FIND_DATAA& found = search.Current();
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = relative.empty() ? name : JoinPath(relative, name);
    FileState state;
    state.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!state.folder) {
      state.writeTime = (static_cast<std::uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                        found.ftLastWriteTime.dwLowDateTime;
      state.bytes = ReadBytes(JoinPath(root, path));
    }
    snapshot[path] = std::move(state);
    if (snapshot[path].folder) Walk(root, path, snapshot);
  } while (search.Next());
}

}  // namespace

TreeSnapshot TakeSnapshot(const std::string& root) {
  TreeSnapshot snapshot;
  Walk(root, "", snapshot);
  return snapshot;
}

std::vector<std::string> UnexpectedChanges(
    const TreeSnapshot& before, const TreeSnapshot& after,
    const std::function<bool(const std::string&, const FileState*, const FileState*)>& allowed) {
  std::vector<std::string> changes;
  for (const auto& [path, state] : before) {
    auto now = after.find(path);
    if (now == after.end()) {
      if (!allowed(path, &state, nullptr)) changes.push_back("removed " + path);
    } else if (!(now->second == state) && !allowed(path, &state, &now->second)) {
      changes.push_back((now->second.bytes == state.bytes ? "touched " : "changed ") + path);
    }
  }
  for (const auto& [path, state] : after) {
    if (before.count(path) == 0 && !allowed(path, nullptr, &state)) changes.push_back("added " + path);
  }
  return changes;
}

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

}  // namespace korvet::sweep
