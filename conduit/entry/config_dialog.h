// The configuration dialogs that CfgConduit (template 101) and ConfigureConduit (template 399) run
// modally with the configuration request record as their initialisation value.
#pragma once

#include "conduit/entry/conduit_records.h"

namespace korvet {

inline constexpr int kConfigDialogTemplate = 101;
inline constexpr int kOldConfigDialogTemplate = 399;

// Returns the dialog's end value: 0 for OK, anything else for Cancel.
using ConfigDialogRunner = long (*)(int templateId, ConfigRequest* record);

long RunConfigDialog(int templateId, ConfigRequest* record);

// Replaces the dialog, for tests that must not open windows; null restores the real one.
void SetConfigDialogRunner(ConfigDialogRunner runner);

}  // namespace korvet
