// A small UI robot for the tests: finds dialogs and message boxes by caption, reads control texts and
// check states, clicks buttons, answers message boxes, and fills the common file-open dialog and the
// shell folder browser. Everything goes through Win32 messages, so it works under Xvfb, in this
// program or in another one. Every wait has a time limit: a missing window fails the test instead of
// hanging it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace korvet::robot {

inline constexpr DWORD kWaitMs = 20000;

// A visible top-level dialog window (class #32770) with exactly this caption; null after the time limit.
HWND WaitForDialog(const std::string& caption, DWORD timeoutMs = kWaitMs);
// True when no visible dialog with this caption is left (or the window is gone) within the limit.
bool WaitUntilGone(HWND window, DWORD timeoutMs = kWaitMs);
// Whether such a dialog is there now, without waiting.
HWND FindDialog(const std::string& caption);

std::string Caption(HWND window);
std::string Text(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
bool IsVisible(HWND dialog, int id);
bool Exists(HWND dialog, int id);
std::vector<std::string> ListBoxLines(HWND dialog, int id);
void SelectListBoxLine(HWND dialog, int id, int index);

// Presses the button as a user would: the button itself reports the click to its dialog. Posted, so
// a click that opens a modal window or ends the dialog does not block the robot.
void Click(HWND dialog, int id);
// Waits until the control's text is `text` (the program may still be refreshing it).
bool WaitForText(HWND dialog, int id, const std::string& text, DWORD timeoutMs = kWaitMs);

struct SeenMessage {
  std::string caption;
  std::string text;
  bool owned = false;                // it has an owner window
  std::vector<std::string> buttons;  // the texts of its buttons
};
// The owner and the buttons of a message box, into `seen`.
void ReadMessageBoxFrame(HWND box, SeenMessage& seen);
// Waits for a message box with this caption, records its caption and text, and presses its OK button.
std::optional<SeenMessage> AnswerMessageBox(const std::string& caption, DWORD timeoutMs = kWaitMs);

// Waits for the file-open dialog (caption "Open"), types the path into its file name box and
// confirms; false when the dialog does not come.
bool FillFileOpen(const std::string& path, DWORD timeoutMs = kWaitMs);
bool CancelFileOpen(DWORD timeoutMs = kWaitMs);

// Waits for the shell folder browser ("Browse for Folder"), selects the folder and confirms. The
// path is written into the browser's own process first when it belongs to another one.
bool FillFolderBrowser(const std::string& path, DWORD timeoutMs = kWaitMs);
bool CancelFolderBrowser(DWORD timeoutMs = kWaitMs);

}  // namespace korvet::robot
