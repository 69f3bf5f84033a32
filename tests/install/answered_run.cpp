#include "tests/install/answered_run.h"

namespace korvet::testing {
namespace {

constexpr DWORD kPollMs = 50;

struct Search {
  DWORD process;
  HWND found;
};

// A visible dialog window (class #32770) of the process: its question dialog or a message box.
BOOL CALLBACK MatchProcessDialog(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process || !IsWindowVisible(window)) return TRUE;
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) != "#32770") return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindProcessDialog(DWORD process) {
  Search search{process, nullptr};
  EnumWindows(MatchProcessDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM context) {
  char className[64] = {};
  GetClassNameA(child, className, sizeof className);
  if (std::string(className) != "Static") return TRUE;
  char text[4096] = {};
  SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
  if (text[0]) {
    auto* collected = reinterpret_cast<std::string*>(context);
    if (!collected->empty()) collected->push_back('\n');
    *collected += text;
  }
  return TRUE;
}

std::string StaticText(HWND dialog) {
  std::string text;
  EnumChildWindows(dialog, CollectStaticText, reinterpret_cast<LPARAM>(&text));
  return text;
}

// The next dialog of the process, or null when the process ended first or the limit passed.
HWND WaitForNextDialog(const TestProcess& child, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND dialog = FindProcessDialog(child.Id())) return dialog;
    if (!child.Running() || GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(kPollMs);
  }
}

}  // namespace

AnsweredRun RunAnswering(const std::string& program, const std::string& question, int button,
                         const StartOptions& options) {
  AnsweredRun run;
  std::optional<TestProcess> child = TestProcess::Start("\"" + program + "\"", options);
  if (!child) {
    run.failure = "cannot start " + program;
    return run;
  }
  HWND dialog = WaitForNextDialog(*child, robot::kWaitMs);
  if (!dialog || robot::Caption(dialog) != question) {
    run.failure = dialog ? "first window is \"" + robot::Caption(dialog) + "\", not the question"
                         : "no question dialog \"" + question + "\"";
  } else {
    run.question = StaticText(dialog);
    run.yesButton = robot::Text(dialog, 1);
    run.noButton = robot::Text(dialog, 2);
    robot::Click(dialog, button);
    if (!robot::WaitUntilGone(dialog)) run.failure = "the question dialog stayed";
  }
  while (run.failure.empty()) {
    HWND box = WaitForNextDialog(*child, robot::kWaitMs);
    if (!box) break;
    robot::SeenMessage seen;
    seen.caption = robot::Caption(box);
    seen.text = StaticText(box);
    robot::ReadMessageBoxFrame(box, seen);
    run.messages.push_back(seen);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    if (!robot::WaitUntilGone(box)) run.failure = "message box \"" + run.messages.back().caption + "\" stayed";
  }
  run.exitCode = child->Wait(robot::kWaitMs);
  if (!run.exitCode && run.failure.empty()) run.failure = "the program did not end";
  return run;
}

std::string Describe(const std::vector<robot::SeenMessage>& messages) {
  std::string text;
  for (const robot::SeenMessage& message : messages) text += "[" + message.caption + "] " + message.text + "\n";
  return text.empty() ? "(no message)" : text;
}

}  // namespace korvet::testing
