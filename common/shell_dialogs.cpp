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
  if (!SHGetPathFromIDListA(chosen.get(), path)) return std::nullopt;
  return std::string(path);
}

}  // namespace korvet
