#include "sim/support/test_files.h"

#include <windows.h>

#include "sim/support/sim_files.h"
#include "sim/support/win_handles.h"

namespace korvet::sim {

void RemoveFolderTree(const std::string& folder) {
  {
    FileSearch search(folder + "\\*");
    for (bool more = search.Valid(); more; more = search.Next()) {
      const std::string name = search.Current().cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = JoinPath(folder, name);
      if (search.Current().dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveFolderTree(path);
      else
        DeleteFileA(path.c_str());
    }
  }  // the search is closed before the folder goes
  RemoveDirectoryA(folder.c_str());
}

std::string FileText(const std::string& path) {
  std::string text, error;
  bool missing = false;
  ReadTextFile(path, &text, &missing, &error);
  return text;
}

ScratchFolder::ScratchFolder(const std::string& prefix) {
  static int created = 0;
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH + 1, temp);
  path_ = std::string(temp) + prefix + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(created++);
  RemoveFolderTree(path_);  // left over from an earlier run with the same process ID
  CreateDirectoryA(path_.c_str(), nullptr);
}

}  // namespace korvet::sim
