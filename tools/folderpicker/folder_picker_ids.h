// Identifiers of the report folder picker's dialog.
#pragma once

#define IDD_FOLDER_PICKER 100
#define IDC_FOLDER 1000
#define IDC_BROWSE 1001
#define IDC_PICKER_OK 1002
