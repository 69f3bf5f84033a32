// The configuration dialogs that CfgConduit (template 101) and ConfigureConduit (template 399) run
// modally with the configuration request record as their initialisation value. One dialog procedure
// serves both.
#pragma once

#include "conduit/platform/conduit_records.h"

namespace korvet {

inline constexpr int kConfigDialogTemplate = 101;
inline constexpr int kOldConfigDialogTemplate = 399;

// Runs the dialog from the conduit library's resources, owned by the current foreground window.
// Returns its end value: 0 after OK (record and list files updated), 1 after Cancel, -1 when the
// dialog could not be shown.
long RunConfigDialog(int templateId, ConfigRequest* record);

}  // namespace korvet
