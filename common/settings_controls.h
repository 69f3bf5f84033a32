// What the conduit's configuration dialog and the settings panel do alike with the list-file controls
// they share (common/settings_control_ids.h).
#pragma once

#include <windows.h>

#include <string>

#include "common/list_writers.h"
#include "common/settings_control_ids.h"

namespace korvet::settings_controls {

inline constexpr int kReportFolderEdit = IDC_REPORT_FOLDER;
inline constexpr int kChangeFolder = IDC_CHANGE_FOLDER;
inline constexpr int kSettingsListEdit = IDC_SETTINGS_LIST;
inline constexpr int kAddRemove = IDC_ADD_REMOVE;
inline constexpr int kPurgeList = IDC_PURGE_LIST;
inline constexpr int kDoNotRetrieve = IDC_DO_NOT_RETRIEVE;
inline constexpr int kDeleteReports = IDC_DELETE_REPORTS;

// Shows both list files (each created empty when missing) in their edit boxes.
void ShowLists(HWND dialog);

// The check boxes are not loaded from the files: purge starts checked, the report ones unchecked.
void SetInitialChecks(HWND dialog);

// "Change..." and "Add\Remove...": runs the tool, then shows its file again. The whole command value
// is compared, so only click notifications act. False for any other command.
bool HandleToolCommand(HWND dialog, WPARAM command);

// OK: the report folder file gets the flags of its two check boxes, then the settings-file list that
// of the purge check box. A check box the dialog lacks counts as unchecked. A write that fails is
// told in a message box ("Error") owned by the dialog; that file keeps its old content.
void WriteFlags(HWND dialog);

// The message box for a list file that is there but could not be written; nothing otherwise. True
// when it was shown: an editor then stays open, so that the user's choices are not lost with it.
bool TellIfFailed(HWND owner, const std::string& path, ListWrite written);

}  // namespace korvet::settings_controls
