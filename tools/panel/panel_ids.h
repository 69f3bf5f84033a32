// Identifiers of the settings panel's dialog; the list-file controls share theirs with the
// conduit's configuration dialog.
#pragma once

#include "common/settings_control_ids.h"

#define IDD_PANEL 100
