// Scratch folders and file contents for the stand-ins' tests.
#pragma once

#include <string>

namespace korvet::sim {

// Deletes the folder with everything in it, as far as it can.
void RemoveFolderTree(const std::string& folder);

// The file's bytes as text; empty when it cannot be read (a test compares them with what it expects).
std::string FileText(const std::string& path);

// A fresh empty folder under the temporary folder, "<prefix><process ID>_<number>", removed with
// everything in it when the object goes.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& prefix);
  ~ScratchFolder() { RemoveFolderTree(path_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace korvet::sim
