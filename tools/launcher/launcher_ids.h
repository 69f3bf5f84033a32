// Identifiers of the launcher's dialog.
#pragma once

#define IDD_LAUNCHER 100
