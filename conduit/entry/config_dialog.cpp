#include "conduit/entry/config_dialog.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/dialog_items.h"
#include "common/paths.h"
#include "common/settings_controls.h"
#include "common/win_library.h"
#include "common/win_resources.h"
#include "conduit/entry/config_dialog_ids.h"
#include "conduit/entry/module_state.h"
#include "conduit/store/string_ids.h"

namespace korvet {
namespace {

constexpr DWORD kHelpContext = 0x2018F;
constexpr const char* kHelpFile = "hotsyncd.hlp";

// The radio button that shows a sync action: 1 reads like 0, anything unknown like "do nothing".
int ButtonForAction(std::int32_t action) {
  switch (action) {
    case kActionSynchronize:
    case 1:
      return IDC_ACTION_SYNCHRONIZE;
    case kActionDesktopOverwrites:
      return IDC_ACTION_DESKTOP_OVERWRITES;
    case kActionHandheldOverwrites:
      return IDC_ACTION_HANDHELD_OVERWRITES;
    default:
      return IDC_ACTION_DO_NOTHING;
  }
}

UINT ActionTextFor(int button) {
  switch (button) {
    case IDC_ACTION_SYNCHRONIZE:
      return IDS_ACTION_SYNCHRONIZE;
    case IDC_ACTION_DESKTOP_OVERWRITES:
      return IDS_ACTION_DESKTOP_OVERWRITES;
    case IDC_ACTION_HANDHELD_OVERWRITES:
      return IDS_ACTION_HANDHELD_OVERWRITES;
    default:
      return IDS_ACTION_DO_NOTHING;
  }
}

std::int32_t ChosenAction(HWND dialog) {
  if (IsItemChecked(dialog, IDC_ACTION_SYNCHRONIZE)) return kActionSynchronize;
  if (IsItemChecked(dialog, IDC_ACTION_DESKTOP_OVERWRITES)) return kActionDesktopOverwrites;
  if (IsItemChecked(dialog, IDC_ACTION_HANDHELD_OVERWRITES)) return kActionHandheldOverwrites;
  return kActionDoNothing;
}

std::string Text(UINT id) { return LoadResourceText(ConduitModule(), id); }

void LoadBitmaps(HWND dialog) {
  static constexpr int kPictures[][2] = {{IDB_ACTION_SYNCHRONIZE, IDC_PICTURE_SYNCHRONIZE},
                                         {IDB_ACTION_DESKTOP_TO_HANDHELD, IDC_PICTURE_DESKTOP_TO_HANDHELD},
                                         {IDB_ACTION_HANDHELD_TO_DESKTOP, IDC_PICTURE_HANDHELD_TO_DESKTOP},
                                         {IDB_ACTION_DO_NOTHING, IDC_PICTURE_DO_NOTHING}};
  for (const auto& [bitmap, picture] : kPictures)
    ShowPictureBitmap(dialog, picture, LoadButtonFaceBitmap(ConduitModule(), bitmap));
}

void ClearBitmaps(HWND dialog) {
  for (int picture = IDC_PICTURE_SYNCHRONIZE; picture <= IDC_PICTURE_DO_NOTHING; ++picture)
    ShowPictureBitmap(dialog, picture, WinBitmap());
}

// The help file lies beside the conduit library.
void OpenHelp(HWND dialog) {
  const std::string folder = ModuleFolder(ConduitModule());
  if (folder.empty()) return;
  WinHelpA(dialog, JoinPath(folder, kHelpFile).c_str(), HELP_CONTEXT, kHelpContext);
}

ConfigRequest* RecordOf(HWND dialog) { return reinterpret_cast<ConfigRequest*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

void Initialise(HWND dialog, ConfigRequest* record) {
  if (record == nullptr) return;
  SetItemText(dialog, IDC_ACTION_GROUP, Text(IDS_ACTION_GROUP));
  SetWindowTextA(dialog, Text(IDS_CONDUIT_NAME).c_str());
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(record));

  const int next = ButtonForAction(record->nextAction);
  CheckRadioButton(dialog, IDC_ACTION_SYNCHRONIZE, IDC_ACTION_DO_NOTHING, next);
  if (record->userKnown != 0) {
    SetItemText(dialog, IDC_NEXT_ACTION_TEXT, Text(ActionTextFor(next)));
    SetItemText(dialog, IDC_DEFAULT_ACTION_TEXT, Text(ActionTextFor(ButtonForAction(record->defaultAction))));
    char user[sizeof record->userName + 1] = {};
    std::memcpy(user, record->userName, sizeof record->userName);  // terminated even when the record's is not
    char heading[512] = {};
    std::snprintf(heading, sizeof heading, Text(IDS_CURRENT_SETTINGS).c_str(), user);
    SetItemText(dialog, IDC_USER_GROUP, heading);
  }
  LoadBitmaps(dialog);
  settings_controls::ShowLists(dialog);
  settings_controls::SetInitialChecks(dialog);
}

void Confirm(HWND dialog) {
  if (ConfigRequest* record = RecordOf(dialog)) {
    record->chosenAction = ChosenAction(dialog);
    record->defaultChoice = IsItemChecked(dialog, IDC_SET_AS_DEFAULT) ? 1 : 2;
  }
  settings_controls::WriteFlags(dialog);
  EndDialog(dialog, 0);
}

// The whole command value is compared with the identifiers, so only click notifications act.
bool Command(HWND dialog, WPARAM command) {
  switch (command) {
    case IDC_ACTION_SYNCHRONIZE:
    case IDC_ACTION_DESKTOP_OVERWRITES:
    case IDC_ACTION_HANDHELD_OVERWRITES:
    case IDC_ACTION_DO_NOTHING:
      CheckRadioButton(dialog, IDC_ACTION_SYNCHRONIZE, IDC_ACTION_DO_NOTHING, static_cast<int>(command));
      return true;
    case IDOK:
      Confirm(dialog);
      return true;
    case IDCANCEL:
      EndDialog(dialog, 1);
      return true;
    case IDC_HELP_BUTTON:
      OpenHelp(dialog);
      return true;
    default:
      return settings_controls::HandleToolCommand(dialog, command);
  }
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Initialise(dialog, reinterpret_cast<ConfigRequest*>(lParam));
      return TRUE;
    case WM_COMMAND:
      return Command(dialog, wParam) ? TRUE : FALSE;
    case WM_HELP:
      OpenHelp(dialog);
      return TRUE;
    case WM_SYSCOLORCHANGE:
      LoadBitmaps(dialog);
      return FALSE;
    case WM_DESTROY:
      ClearBitmaps(dialog);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

long RunConfigDialog(int templateId, ConfigRequest* record) {
  return static_cast<long>(DialogBoxParamA(ConduitModule(), MAKEINTRESOURCEA(templateId), GetForegroundWindow(),
                                           ConfigDialogProc, reinterpret_cast<LPARAM>(record)));
}

}  // namespace korvet
