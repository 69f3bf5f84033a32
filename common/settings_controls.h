// The list-file controls that the conduit's configuration dialog and the settings panel share: the
// settings-file list (edit 1009, "Add\Remove..." 1023, purge check box 1025) and the report folder
// (edit 1012, "Change..." 1007, check boxes 1026 and 1027).
#pragma once

#include <windows.h>

#include <string>

#include "common/list_writers.h"

namespace korvet::settings_controls {

inline constexpr int kReportFolderEdit = 1012;
inline constexpr int kChangeFolder = 1007;
inline constexpr int kSettingsListEdit = 1009;
inline constexpr int kAddRemove = 1023;
inline constexpr int kPurgeList = 1025;
inline constexpr int kDoNotRetrieve = 1026;
inline constexpr int kDeleteReports = 1027;

// Shows both list files (each created empty when missing) in their edit boxes.
void ShowLists(HWND dialog);

// The check boxes are not loaded from the files: purge starts checked, the report ones unchecked.
void SetInitialChecks(HWND dialog);

// "Change..." and "Add\Remove...": runs the tool, then shows its file again. The whole command value
// is compared, so only click notifications act. False for any other command.
bool HandleToolCommand(HWND dialog, WPARAM command);

// OK: the report folder file gets the flags of 1026 and 1027, then the settings-file list the flag of
// 1025. A check box the dialog lacks counts as unchecked. A write that fails is told in a message box
// ("Error") owned by the dialog; that file keeps its old content.
void WriteFlags(HWND dialog);

// The message box for a list file that is there but could not be written; nothing otherwise. True
// when it was shown: an editor then stays open, so that the user's choices are not lost with it.
bool TellIfFailed(HWND owner, const std::string& path, ListWrite written);

}  // namespace korvet::settings_controls
