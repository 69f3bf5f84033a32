#include "install/attach/list_file_access.h"

#include <gtest/gtest.h>
#include <windows.h>
// Windows headers that need windows.h first.
#include <sddl.h>

#include "tests/support/scratch_folder.h"

namespace korvet::attach {
namespace {

// Wine keeps no access lists on files, so what the installer asks Windows for is checked here: one
// entry, allowing modify rights to BUILTIN\Users, on the file alone (nothing inherited further, the
// folder's own entries left as they are).
TEST(ListFileAccess, TheRequestedEntryLetsUsersModifyTheFileAlone) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(
      ConvertStringSecurityDescriptorToSecurityDescriptorA(kListFileAccessSddl, SDDL_REVISION_1, &descriptor, nullptr));
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted));
  ASSERT_TRUE(present && dacl);
  ASSERT_EQ(dacl->AceCount, 1);
  ACCESS_ALLOWED_ACE* ace = nullptr;
  ASSERT_TRUE(GetAce(dacl, 0, reinterpret_cast<void**>(&ace)));
  EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
  EXPECT_EQ(ace->Header.AceFlags, 0);  // no inheritance: this file only
  EXPECT_EQ(ace->Mask, static_cast<DWORD>(FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE));
  char* sid = nullptr;
  ASSERT_TRUE(ConvertSidToStringSidA(&ace->SidStart, &sid));
  EXPECT_STREQ(sid, "S-1-5-32-545");  // BUILTIN\Users
  LocalFree(sid);
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
  EXPECT_EQ(control & SE_DACL_PROTECTED, 0);
  LocalFree(descriptor);
}

// The installer makes the list files that are missing, empty, and leaves existing ones as they are.
TEST(ListFileAccess, MissingListFilesAreMadeEmptyAndExistingOnesKept) {
  testing::ScratchFolder core;
  core.Write("Cardoon.dat", "C:\\Reports\\@$#");
  PrepareListFiles(core.Path());
  EXPECT_EQ(core.Read("Xembrafilepath.dat"), "");
  EXPECT_EQ(core.Read("Cardoon.dat"), "C:\\Reports\\@$#");
}

}  // namespace
}  // namespace korvet::attach
