// The control identifiers the UI tests press and read, as the dialogs define them.
#pragma once

namespace korvet::ui {

// Conduit dialog 101 and the settings panel.
inline constexpr int kOk = 1, kCancel = 2;
inline constexpr int kActionSynchronize = 404, kActionDoNothing = 407, kSetAsDefault = 411;
inline constexpr int kUserGroup = 1006, kDefaultActionText = 1004, kNextActionText = 1005;
inline constexpr int kChangeFolder = 1007, kSettingsList = 1009, kReportFolder = 1012, kAddRemove = 1023;
inline constexpr int kPurgeList = 1025, kDoNotRetrieve = 1026, kDeleteReports = 1027;
// The list editor.
inline constexpr int kEditorAdd = 1002, kEditorRemove = 1003, kEditorList = 1028;
// The folder picker.
inline constexpr int kPickerFolder = 1000, kPickerBrowse = 1001, kPickerOk = 1002;

inline constexpr const char* kPanelCaption = "Setpanel";
inline constexpr const char* kEditorCaption = "Xembra Settings Files";
inline constexpr const char* kPickerCaption = "Path";
inline constexpr const char* kConduitCaption = "Korvet";
inline constexpr const char* kLauncherCaption = "Setpanelrun";

}  // namespace korvet::ui
