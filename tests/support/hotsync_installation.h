// What the end-to-end tests of the programs share: a scratch HotSync installation made from the built
// stand-ins and the product's binaries, and the programs started in it, each ended if a test leaves
// it open.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/paths.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_process.h"

namespace korvet::testing {

class Installation {
 public:
  // The folder holds synchost.exe with the stand-in libraries and Handheld\, Korv.dll and the
  // named product files (e.g. "Setpanel.exe", "Xembrafilepath.dll"). With a `subfolder` ("Hot Sync")
  // the installation lies in that folder of the scratch folder, and Outside() names what lies beside it.
  explicit Installation(const std::vector<std::string>& productFiles, bool withConduitManager = true,
                        const std::string& subfolder = "");

  const std::string& Folder() const { return folder_; }
  std::string File(const std::string& name) const { return JoinPath(folder_, name); }
  std::string Read(const std::string& name) const { return ScratchFolder::ReadPath(File(name)); }
  std::string Write(const std::string& name, const std::string& bytes) const {
    return ScratchFolder::WritePath(File(name), bytes);
  }
  bool Exists(const std::string& name) const {
    return GetFileAttributesA(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  const ScratchFolder& Outside() const { return scratch_; }
  std::string MakeFolder(const std::string& name) const;

  // Starts a program of the installation, e.g. Start("Setpanel.exe").
  // The program runs in a job of its own and is ended with everything it started when the object
  // goes, so that a failed test leaves no window behind for the next one.
  std::optional<TestProcess> Start(const std::string& program, const std::string& arguments = "") const;
  // Runs synchost.exe with the arguments to its end; its exit code, or nothing after a minute.
  std::optional<DWORD> Host(const std::string& arguments) const;
  // Registers Korv.dll of the installation as the installer does.
  bool RegisterConduit() const;

 private:
  ScratchFolder scratch_;
  std::string folder_;
};

// The folder of the built binaries (the parent of the test program's folder).
std::string BuildFolder();

// Keeps the product's and the stand-ins' build folders off the search path, so that every program
// finds only what its own folder holds; restored when the object goes.
class IsolatedSearchPath {
 public:
  IsolatedSearchPath();
  ~IsolatedSearchPath();

 private:
  std::string saved_;
};

}  // namespace korvet::testing
