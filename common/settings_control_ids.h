// The list-file controls that the conduit's configuration dialog and the settings panel share, for
// their resource scripts and their C++ alike: the settings-file list (edit, "Add\Remove...", purge
// check box) and the report folder (edit, "Change...", the two check boxes).
#pragma once

#define IDC_CHANGE_FOLDER 1007
#define IDC_SETTINGS_LIST 1009
#define IDC_REPORT_FOLDER 1012
#define IDC_ADD_REMOVE 1023
#define IDC_PURGE_LIST 1025
#define IDC_DO_NOT_RETRIEVE 1026
#define IDC_DELETE_REPORTS 1027
