#include "common/settings_controls.h"

#include <optional>
#include <string>

#include "common/dialog_items.h"
#include "common/list_display.h"
#include "common/list_format.h"
#include "common/list_location.h"
#include "common/list_writers.h"
#include "common/listed_file.h"
#include "common/report_folder_reader.h"
#include "common/tool_start.h"

namespace korvet::settings_controls {
namespace {

void ShowSettingsList(HWND dialog) {
  std::optional<std::string> path = FindToolListFile(lists::kSettingsListTool);
  std::optional<std::string> text = path ? ReadListText(*path) : std::nullopt;
  SetItemText(dialog, kSettingsListEdit, text ? ListedFiles::Parse(*text).Shown() : std::string());
}

void ShowReportFolder(HWND dialog) {
  std::optional<std::string> path = FindToolListFile(lists::kReportFolderTool);
  std::optional<std::string> text = path ? ReadListText(*path) : std::nullopt;
  SetItemText(dialog, kReportFolderEdit, text ? ReportFolderSettings::ShownFolder(*text) : std::string());
}

}  // namespace

bool TellIfFailed(HWND owner, const std::string& path, ListWrite written) {
  if (!written.Failed()) return false;
  ShowMessage(owner, ListWriteFailureText(path), "Error");
  return true;
}

void ShowLists(HWND dialog) {
  ShowSettingsList(dialog);
  ShowReportFolder(dialog);
}

void SetInitialChecks(HWND dialog) {
  SetItemChecked(dialog, kPurgeList, true);
  SetItemChecked(dialog, kDoNotRetrieve, false);
  SetItemChecked(dialog, kDeleteReports, false);
}

bool HandleToolCommand(HWND dialog, WPARAM command) {
  if (command == static_cast<WPARAM>(kChangeFolder)) {
    if (RunToolAndWait(dialog, lists::kReportFolderTool)) ShowReportFolder(dialog);
    return true;
  }
  if (command == static_cast<WPARAM>(kAddRemove)) {
    if (RunToolAndWait(dialog, lists::kSettingsListTool)) ShowSettingsList(dialog);
    return true;
  }
  return false;
}

void WriteFlags(HWND dialog) {
  if (std::optional<std::string> path = FindToolListFile(lists::kReportFolderTool))
    TellIfFailed(
        dialog, *path,
        RewriteReportFolderFlags(*path, IsItemChecked(dialog, kDoNotRetrieve), IsItemChecked(dialog, kDeleteReports)));
  if (std::optional<std::string> path = FindToolListFile(lists::kSettingsListTool))
    TellIfFailed(dialog, *path, RewriteSettingsListFlag(*path, IsItemChecked(dialog, kPurgeList)));
}

}  // namespace korvet::settings_controls
