#include "tests/robot/robot.h"

#include <commctrl.h>
#include <shlobj.h>

#include "common/paths.h"
#include "common/unique_handle.h"

namespace korvet::robot {
namespace {

constexpr DWORD kPollMs = 50;
constexpr int kFileNameCombo = 1148;  // the file-open dialog's file name box
constexpr int kFolderTree = 14145;    // the folder browser's tree
constexpr const char* kFileOpenCaption = "Open";
constexpr const char* kFolderBrowserCaption = "Browse for Folder";

struct Search {
  const std::string* caption;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) != "#32770" || !IsWindowVisible(window)) return TRUE;
  if (Caption(window) != *search->caption) return TRUE;
  search->found = window;
  return FALSE;
}

template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(kPollMs);
  }
}

// The text of a window of any process (WM_GETTEXT is carried across processes).
std::string WindowText(HWND window) {
  char text[4096] = {};
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
  return text;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM context) {
  char className[64] = {};
  GetClassNameA(child, className, sizeof className);
  if (std::string(className) == "Static") {
    std::string text = WindowText(child);
    if (!text.empty()) {
      auto* collected = reinterpret_cast<std::string*>(context);
      if (!collected->empty()) collected->push_back('\n');
      *collected += text;
    }
  }
  return TRUE;
}

BOOL CALLBACK FindEdit(HWND child, LPARAM context) {
  char className[64] = {};
  GetClassNameA(child, className, sizeof className);
  if (std::string(className) != "Edit") return TRUE;
  *reinterpret_cast<HWND*>(context) = child;
  return FALSE;
}

// The text of the tree's selected item, read through a block in the tree's process: an item record
// followed by room for its text.
std::string SelectedItemText(HWND tree, HANDLE process, void* remote) {
  const auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!item) return {};
  char* remoteText = static_cast<char*>(remote) + sizeof(TVITEMA);
  TVITEMA query{};
  query.mask = TVIF_TEXT;
  query.hItem = item;
  query.pszText = remoteText;
  query.cchTextMax = MAX_PATH;
  char text[MAX_PATH + 1] = {};
  if (!WriteProcessMemory(process, remote, &query, sizeof query, nullptr) ||
      !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote)) ||
      !ReadProcessMemory(process, remoteText, text, MAX_PATH, nullptr))
    return {};
  return text;
}

}  // namespace

HWND FindDialog(const std::string& caption) {
  Search search{&caption, nullptr};
  EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForDialog(const std::string& caption, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindDialog(caption)) != nullptr; }, timeoutMs);
  return found;
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
  return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

std::string Caption(HWND window) { return WindowText(window); }

std::string Text(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item ? WindowText(item) : std::string("<no control>");
}

bool IsChecked(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item && SendMessageA(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsVisible(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item && (GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool Exists(HWND dialog, int id) { return GetDlgItem(dialog, id) != nullptr; }

std::vector<std::string> ListBoxLines(HWND dialog, int id) {
  std::vector<std::string> lines;
  HWND list = GetDlgItem(dialog, id);
  if (!list) return lines;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    // Asked in UTF-16, which Wine carries across processes whole, then turned into the ANSI code page.
    wchar_t wide[1024] = {};
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
    char line[2048] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, line, sizeof line, nullptr, nullptr);
    lines.emplace_back(line);
  }
  return lines;
}

void SelectListBoxLine(HWND dialog, int id, int index) {
  SendMessageA(GetDlgItem(dialog, id), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void Click(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  if (button) {
    PostMessageA(button, BM_CLICK, 0, 0);
  } else {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  }
}

bool WaitForText(HWND dialog, int id, const std::string& text, DWORD timeoutMs) {
  return WaitFor([&] { return Text(dialog, id) == text; }, timeoutMs);
}

static BOOL CALLBACK CollectButtonText(HWND child, LPARAM context) {
  char className[64] = {};
  GetClassNameA(child, className, sizeof className);
  if (std::string(className) == "Button" && IsWindowVisible(child)) {
    char text[256] = {};
    SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    reinterpret_cast<std::vector<std::string>*>(context)->push_back(text);
  }
  return TRUE;
}

void ReadMessageBoxFrame(HWND box, SeenMessage& seen) {
  seen.owned = GetWindow(box, GW_OWNER) != nullptr;
  EnumChildWindows(box, CollectButtonText, reinterpret_cast<LPARAM>(&seen.buttons));
}

std::optional<SeenMessage> AnswerMessageBox(const std::string& caption, DWORD timeoutMs) {
  HWND box = WaitForDialog(caption, timeoutMs);
  if (!box) return std::nullopt;
  SeenMessage seen;
  seen.caption = Caption(box);
  EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&seen.text));
  ReadMessageBoxFrame(box, seen);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  WaitUntilGone(box, timeoutMs);
  return seen;
}

bool FillFileOpen(const std::string& path, DWORD timeoutMs) {
  HWND dialog = WaitForDialog(kFileOpenCaption, timeoutMs);
  if (!dialog) return false;
  // The dialog shows before all its controls are made: wait for the file name box.
  HWND edit = nullptr;
  WaitFor(
      [&] {
        // The file name box is a combo box (inside an extended combo box on some systems) with an edit.
        HWND combo = GetDlgItem(dialog, kFileNameCombo);
        if (combo) EnumChildWindows(combo, FindEdit, reinterpret_cast<LPARAM>(&edit));
        return edit != nullptr;
      },
      timeoutMs);
  if (!edit) return false;
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return WaitUntilGone(dialog, timeoutMs);
}

bool CancelFileOpen(DWORD timeoutMs) {
  HWND dialog = WaitForDialog(kFileOpenCaption, timeoutMs);
  if (!dialog) return false;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  return WaitUntilGone(dialog, timeoutMs);
}

bool FillFolderBrowser(const std::string& path, DWORD timeoutMs) {
  HWND dialog = WaitForDialog(kFolderBrowserCaption, timeoutMs);
  if (!dialog) return false;
  HWND tree = nullptr;
  WaitFor([&] { return (tree = GetDlgItem(dialog, kFolderTree)) != nullptr; }, timeoutMs);
  if (!tree) return false;
  DWORD owner = 0;
  GetWindowThreadProcessId(dialog, &owner);
  // BFFM_SETSELECTION and TVM_GETITEM take pointers, which must point into the browser's own process.
  korvet::UniqueKernelHandle owned(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, owner));
  HANDLE process = owned.Get();
  if (!process) return false;
  const std::size_t pathBytes = path.size() + 1;
  void* remote = VirtualAllocEx(process, nullptr, pathBytes + sizeof(TVITEMA) + MAX_PATH, MEM_COMMIT | MEM_RESERVE,
                                PAGE_READWRITE);
  void* remoteItem = remote ? static_cast<char*>(remote) + pathBytes : nullptr;
  bool selected = remote && WriteProcessMemory(process, remote, path.c_str(), pathBytes, nullptr);
  if (selected) {
    // The browser fills its tree and selects its first folder after showing itself, and a selection
    // sent before that is lost: it is sent until the tree shows the folder selected. A drive's item
    // carries its letter among other words ("System (C:)").
    std::string leaf = FileNameOf(WithoutTrailingSeparators(path));
    if (leaf.empty()) leaf = path.substr(0, 2);
    selected = WaitFor(
        [&] {
          SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote));
          return SelectedItemText(tree, process, remoteItem).find(leaf) != std::string::npos;
        },
        timeoutMs);
  }
  if (selected) PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  const bool gone = selected && WaitUntilGone(dialog, timeoutMs);
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return gone;
}

bool CancelFolderBrowser(DWORD timeoutMs) {
  HWND dialog = WaitForDialog(kFolderBrowserCaption, timeoutMs);
  if (!dialog) return false;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  return WaitUntilGone(dialog, timeoutMs);
}

}  // namespace korvet::robot
