// The two common dialogs the tools show: the file-open dialog of the list editor and the shell
// folder browser of the folder picker.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace korvet {

struct ChosenFile {
  std::string path;      // the full path
  std::string fileName;  // the name part the dialog reports
};

// A file-open dialog owned by `owner`: single selection, no default extension, no initial name.
// `filter` is in the "Text|pattern|Text|pattern||" form. Nothing when the user cancels.
std::optional<ChosenFile> ChooseFileToOpen(HWND owner, const std::string& filter);

// The shell folder browser owned by `owner`, limited to file-system folders no deeper than the
// network domain, without title, root or callback. Nothing when the user cancels or the choice has
// no file-system path. A path longer than the system's usual limit still comes back whole, so that
// the caller can refuse it with a message instead of dropping the choice without a word.
std::optional<std::string> ChooseFolder(HWND owner);

}  // namespace korvet
