#include "install/attach/list_file_access.h"

#include <windows.h>
// Windows headers that need windows.h first.
#include <aclapi.h>
#include <sddl.h>

#include "common/dialog_items.h"
#include "common/list_format.h"
#include "common/paths.h"
#include "common/win_file.h"

namespace korvet::attach {

bool ApplyFileAccess(const std::string& path, const char* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr)) return false;
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL dacl = nullptr;
  bool applied = false;
  if (GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) && present) {
    // Unprotected: the entries the file inherits from its folder stay beside the one added.
    std::string name = path;
    applied = SetNamedSecurityInfoA(name.data(), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                    dacl, nullptr) == ERROR_SUCCESS;
  }
  LocalFree(descriptor);
  return applied;
}

void PrepareListFiles(const std::string& coreDirectory) {
  for (const char* name : {lists::kSettingsListFile, lists::kReportFolderFile}) {
    const std::string path = JoinPath(coreDirectory, name);
    if (!FileExists(path) && !WinFile::CreateNew(path)) {
      ShowMessage(nullptr, "Unable to create " + path, "Error");
      continue;
    }
    if (!ApplyFileAccess(path, kListFileAccessSddl))
      ShowMessage(nullptr,
                  "Unable to let users change " + path + "\nOnly an administrator can save the Korvet settings.",
                  "Error");
  }
}

}  // namespace korvet::attach
