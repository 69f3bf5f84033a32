// The steps of writing a new file that can fail for reasons outside the program (a full disk, a
// network folder gone, a close that reports a write the system held back): a test puts its own in
// their place.
#pragma once

#include <string>

#include "common/win_file.h"

namespace korvet {

// What Create does with a file that is there already: refuse it, or empty it.
enum class ExistingFile { kRefuse, kEmpty };

class FileSteps {
 public:
  virtual ~FileSteps() = default;
  virtual WinFile Create(const std::string& path, ExistingFile existing) {
    return existing == ExistingFile::kRefuse ? WinFile::CreateNew(path) : WinFile::CreateAlways(path);
  }
  virtual bool Write(WinFile& file, const std::string& text) { return file.Write(text); }
  virtual bool Flush(WinFile& file) { return file.Flush(); }
  virtual bool Close(WinFile& file) { return file.Close(); }
};

// The steps as they are: what every program uses.
FileSteps& PlainFileSteps();

}  // namespace korvet
