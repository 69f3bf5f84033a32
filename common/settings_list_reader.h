// Reads the settings-file list the way the HotSync session does: the list's grammar, from a file opened
// without sharing (or, for tests, from the bytes themselves), and the desktop's path rules for every
// complete entry.
#pragma once

#include "common/settings_list_grammar.h"

namespace korvet {

class SettingsListReader : public SettingsListGrammar {
 public:
  using SettingsListGrammar::SettingsListGrammar;

  // The next entry; one whose directory is no full path, or whose path or .BAK copy's path is longer
  // than the stores keep, is refused. Call while !Ended().
  SettingsListEntry ReadEntry();
};

}  // namespace korvet
