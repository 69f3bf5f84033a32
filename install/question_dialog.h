// The one question the installer and the remover ask before they touch HotSync Manager's
// registrations: a small Yes/No dialog from the program's resources.
#pragma once

#include <windows.h>

namespace korvet {

// Button identifiers of the question dialogs, which are also the dialog's results.
inline constexpr INT_PTR kAnswerYes = IDOK;     // 1
inline constexpr INT_PTR kAnswerNo = IDCANCEL;  // 2; Escape and closing the window mean "No" too

// Shows the dialog modally and returns the button that closed it, or -1 when it could not be shown.
// A quit message left in the thread's queue when the dialog ends is removed, so that the message
// boxes that follow still appear.
INT_PTR AskQuestion(HINSTANCE instance, int dialogId);

}  // namespace korvet
