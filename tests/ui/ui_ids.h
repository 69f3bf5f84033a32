// The control identifiers the UI tests press and read, from the headers the dialogs are built with.
#pragma once

#include "common/settings_control_ids.h"
#include "conduit/entry/config_dialog_ids.h"
#include "tools/folderpicker/folder_picker_ids.h"
#include "tools/listeditor/list_editor_ids.h"

namespace korvet::ui {

// Conduit dialog 101 and the settings panel.
inline constexpr int kOk = 1, kCancel = 2;
inline constexpr int kActionSynchronize = IDC_ACTION_SYNCHRONIZE, kActionDoNothing = IDC_ACTION_DO_NOTHING;
inline constexpr int kSetAsDefault = IDC_SET_AS_DEFAULT, kUserGroup = IDC_USER_GROUP;
inline constexpr int kDefaultActionText = IDC_DEFAULT_ACTION_TEXT, kNextActionText = IDC_NEXT_ACTION_TEXT;
inline constexpr int kChangeFolder = IDC_CHANGE_FOLDER, kSettingsList = IDC_SETTINGS_LIST;
inline constexpr int kReportFolder = IDC_REPORT_FOLDER, kAddRemove = IDC_ADD_REMOVE, kPurgeList = IDC_PURGE_LIST;
inline constexpr int kDoNotRetrieve = IDC_DO_NOT_RETRIEVE, kDeleteReports = IDC_DELETE_REPORTS;
// The list editor.
inline constexpr int kEditorAdd = IDC_ADD, kEditorRemove = IDC_REMOVE, kEditorList = IDC_FILE_LIST;
// The folder picker.
inline constexpr int kPickerFolder = IDC_FOLDER, kPickerBrowse = IDC_BROWSE, kPickerOk = IDC_PICKER_OK;

inline constexpr const char* kPanelCaption = "Setpanel";
inline constexpr const char* kEditorCaption = "Xembra Settings Files";
inline constexpr const char* kPickerCaption = "Path";
inline constexpr const char* kConduitCaption = "Korvet";
inline constexpr const char* kLauncherCaption = "Setpanelrun";

}  // namespace korvet::ui
