// Identifiers of the settings-file list editor's dialog.
#pragma once

#define IDD_LIST_EDITOR 100
#define IDC_HIDDEN_EDIT 1000
#define IDC_ADD 1002
#define IDC_REMOVE 1003
#define IDC_FILE_LIST 1028
