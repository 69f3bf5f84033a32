#include "install/question_dialog.h"

namespace korvet {
namespace {

INT_PTR CALLBACK QuestionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == kAnswerYes || LOWORD(wParam) == kAnswerNo)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

INT_PTR AskQuestion(HINSTANCE instance, int dialogId) {
  INT_PTR answer = DialogBoxParamA(instance, MAKEINTRESOURCEA(dialogId), nullptr, QuestionProc, 0);
  // A message box ends at once while WM_QUIT waits in the queue.
  MSG pending;
  PeekMessageA(&pending, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  return answer;
}

}  // namespace korvet
