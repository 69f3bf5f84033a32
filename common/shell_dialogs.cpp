#include "common/shell_dialogs.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <memory>
#include <vector>

namespace korvet {
namespace {

// The file dialog's path buffer is far larger than a list entry may be, so that a path too long for
// the list still comes back and can be refused with a message instead of failing silently.
constexpr std::size_t kPathBuffer = 1024;

struct ComInit {
  ComInit() : ok(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComInit() {
    if (ok) CoUninitialize();
  }
  bool ok;
};

struct ItemListFree {
  void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};
using ItemList = std::unique_ptr<ITEMIDLIST, ItemListFree>;

// A chosen folder's path beyond MAX_PATH, through the wide call that takes a buffer size (looked up at
// run time: older systems lack it), converted to the ANSI code page.
std::optional<std::string> LongFolderPath(const ITEMIDLIST* item) {
  using PathFromItemEx = BOOL(WINAPI*)(const ITEMIDLIST*, WCHAR*, DWORD, int);
  HMODULE shell = GetModuleHandleA("shell32.dll");
  auto pathFromItem =
      shell ? reinterpret_cast<PathFromItemEx>(reinterpret_cast<void*>(GetProcAddress(shell, "SHGetPathFromIDListEx")))
            : nullptr;
  std::vector<WCHAR> wide(32768, L'\0');
  if (!pathFromItem || !pathFromItem(item, wide.data(), static_cast<DWORD>(wide.size()), 0)) return std::nullopt;
  int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return std::nullopt;
  std::string path(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, path.data(), bytes, nullptr, nullptr);
  path.pop_back();  // its NUL
  return path;
}

}  // namespace

std::optional<ChosenFile> ChooseFileToOpen(HWND owner, const std::string& filter) {
  std::vector<char> pattern(filter.begin(), filter.end());
  for (char& c : pattern)
    if (c == '|') c = '\0';
  pattern.push_back('\0');
  std::vector<char> file(kPathBuffer, '\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = pattern.data();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
  if (!GetOpenFileNameA(&dialog)) return std::nullopt;
  ChosenFile chosen;
  chosen.path = file.data();
  chosen.fileName = dialog.nFileOffset < chosen.path.size() ? chosen.path.substr(dialog.nFileOffset) : chosen.path;
  return chosen;
}

std::optional<std::string> ChooseFolder(HWND owner) {
  ComInit com;
  char name[MAX_PATH] = {};
  BROWSEINFOA browse{};
  browse.hwndOwner = owner;
  browse.pszDisplayName = name;
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
  ItemList chosen(SHBrowseForFolderA(&browse));
  if (!chosen) return std::nullopt;
  char path[MAX_PATH] = {};
  if (!SHGetPathFromIDListA(chosen.get(), path)) return LongFolderPath(chosen.get());
  return std::string(path);
}

}  // namespace korvet
