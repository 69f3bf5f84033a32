// Every way the desktop programs write the list files. Each writer opens its file for update without
// sharing and holds it from the read to the write; the new content replaces the old in one step,
// keeping the file's access list, or where the folder takes no new file is written in place with its
// length reserved first (ReplaceFileContent), so a failed write (a full disk) never leaves a list
// empty or cut.
#pragma once

#include <string>

namespace korvet {

// What a writer did: written; not opened (missing or held by another program: nothing written, as
// the tools have always done silently); or not written although the file is there (not writable,
// or the write failed), the old content kept, which the program tells the user
// (ListWriteFailureText).
struct ListWrite {
  enum Outcome { kWritten, kNotOpened, kFailed };
  Outcome outcome;
  explicit operator bool() const { return outcome == kWritten; }
  bool Failed() const { return outcome == kFailed; }
};

// The message for a write that failed, naming the file.
std::string ListWriteFailureText(const std::string& path);

// The list editor's OK: its entry text and '@', then the purge flag that followed the old '@' (the
// editor never decides it), and nothing more; an entry text shorter than 4 characters empties the
// file instead. Only an existing file is written.
ListWrite WriteSettingsListEntries(const std::string& path, const std::string& entryText);

// The folder picker's OK: the folder text, then "\@", then the flags that followed the old '@', and
// nothing more. Only an existing file is written.
ListWrite WriteReportFolder(const std::string& path, const std::string& folderText);

// The configuration dialog's and the panel's OK. The kept text is the bytes up to and including the
// first '@'; when the file holds no '@' the kept text is the whole file and no flag is added. The file
// is emptied and the result written only when it is long enough to hold an entry (more than 6
// characters for the list, more than 3 for the folder file); otherwise it is left empty.
ListWrite RewriteSettingsListFlag(const std::string& path, bool purgeAfterHotSync);
ListWrite RewriteReportFolderFlags(const std::string& path, bool doNotRetrieve, bool deleteOnHandheld);

}  // namespace korvet
