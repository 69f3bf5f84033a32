// Identifiers of the settings panel's dialog; the list-file controls share theirs with the
// conduit's configuration dialog (common/settings_controls.h).
#pragma once

#define IDD_PANEL 100
#define IDC_CHANGE_FOLDER 1007
#define IDC_SETTINGS_LIST 1009
#define IDC_REPORT_FOLDER 1012
#define IDC_ADD_REMOVE 1023
#define IDC_PURGE_LIST 1025
#define IDC_DO_NOT_RETRIEVE 1026
#define IDC_DELETE_REPORTS 1027
