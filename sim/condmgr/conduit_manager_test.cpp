#include "sim/condmgr/conduit_manager.h"

#include <cstring>

#include <gtest/gtest.h>

#include "common/cond_mgr.h"
#include "common/paths.h"
#include "common/win_library.h"
#include "sim/condmgr/registrations.h"
#include "sim/support/sim_files.h"
#include "tests/support/scratch_folder.h"

namespace korvet::hotsync {
namespace {

using testing::ScratchFolder;

std::string FileText(const std::string& folder) {
  return testing::ScratchFolder::ReadPath(JoinPath(folder, kRegistrationFileName));
}

TEST(CorePath, CopiesTheFolderWhenItFitsWithItsNul) {
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  std::int32_t capacity = 6;
  EXPECT_EQ(CopyCorePath("C:\\Hot", buffer, &capacity), kCmBufferTooSmall);
  EXPECT_EQ(capacity, 7);
  EXPECT_EQ(std::string(buffer, 8), "########");  // untouched
  capacity = 7;
  EXPECT_EQ(CopyCorePath("C:\\Hot", buffer, &capacity), kCmOk);
  EXPECT_STREQ(buffer, "C:\\Hot");
  EXPECT_EQ(buffer[7], '#');
  capacity = -5;
  EXPECT_EQ(CopyCorePath("C:\\Hot", buffer, &capacity), kCmBufferTooSmall);
  EXPECT_EQ(CopyCorePath("C:\\Hot", nullptr, &capacity), kCmBadArgument);
  EXPECT_EQ(CopyCorePath("C:\\Hot", buffer, nullptr), kCmBadArgument);
  capacity = 8;
  EXPECT_EQ(CopyCorePath("", buffer, &capacity), kCmNoCorePath);
}

TEST(ConduitManager, RegistersInTheInstallersOrderAndRemovesOnce) {
  ScratchFolder folder;
  ConduitManager manager(folder.Path());
  std::int32_t type = 1, priority = 2;
  EXPECT_EQ(manager.InstallCreator("KRVT", &type), kCmOk);
  EXPECT_EQ(manager.SetText("KRVT", &ConduitRegistration::library, "C:\\Korvet\\Korv.dll"), kCmOk);
  EXPECT_EQ(manager.SetText("KRVT", &ConduitRegistration::directory, ""), kCmOk);
  EXPECT_EQ(manager.SetText("KRVT", &ConduitRegistration::file, "dummy.qzl"), kCmOk);
  EXPECT_EQ(manager.SetText("KRVT", &ConduitRegistration::remote, "KORVETDatabaseDB"), kCmOk);
  EXPECT_EQ(manager.SetText("KRVT", &ConduitRegistration::title, "Korvet"), kCmOk);
  EXPECT_EQ(manager.SetPriority("KRVT", &priority), kCmOk);
  EXPECT_EQ(manager.SetText("KRVT", &ConduitRegistration::info, "about"), kCmOk);
  EXPECT_EQ(FileText(folder.Path()),
            "; Conduits registered with the stand-in HotSync Manager.\r\n"
            "[KRVT]\r\nType=1\r\nLibrary=C:\\Korvet\\Korv.dll\r\nDirectory=\r\nFile=dummy.qzl\r\n"
            "Remote=KORVETDatabaseDB\r\nTitle=Korvet\r\nPriority=2\r\nInfo=about\r\n");

  // A second installation keeps the entry and updates its values.
  EXPECT_EQ(manager.InstallCreator("KRVT", &type), kCmAlreadyRegistered);
  EXPECT_EQ(manager.SetText("KRVT", &ConduitRegistration::title, "Korvet 2"), kCmOk);
  std::string error;
  std::optional<Registrations> list = LoadRegistrations(folder.Path(), &error);
  ASSERT_TRUE(list) << error;
  ASSERT_EQ(list->size(), 1u);
  EXPECT_EQ((*list)[0].title, "Korvet 2");
  EXPECT_EQ((*list)[0].file, "dummy.qzl");

  EXPECT_EQ(manager.Remove("KRVT"), kCmRemoved);
  EXPECT_EQ(manager.Remove("KRVT"), kCmNotRemoved);
  EXPECT_EQ(FileText(folder.Path()), "; Conduits registered with the stand-in HotSync Manager.\r\n");
}

TEST(ConduitManager, KeepsOtherConduitsWhenOneIsRemoved) {
  ScratchFolder folder;
  ConduitManager manager(folder.Path());
  std::int32_t type = 1;
  for (const char* creator : {"AAAA", "BBBB", "CCCC"}) {
    ASSERT_EQ(manager.InstallCreator(creator, &type), kCmOk);
    ASSERT_EQ(manager.SetText(creator, &ConduitRegistration::title, creator), kCmOk);
  }
  EXPECT_EQ(manager.Remove("BBBB"), kCmRemoved);
  std::string error;
  std::optional<Registrations> list = LoadRegistrations(folder.Path(), &error);
  ASSERT_TRUE(list) << error;
  ASSERT_EQ(list->size(), 2u);
  EXPECT_EQ((*list)[0].title, "AAAA");
  EXPECT_EQ((*list)[1].title, "CCCC");
}

TEST(ConduitManager, RefusesBadInputAndUnknownCreatorsWithoutWriting) {
  ScratchFolder folder;
  ConduitManager manager(folder.Path());
  std::int32_t type = 1;
  EXPECT_EQ(manager.InstallCreator(nullptr, &type), kCmBadArgument);
  EXPECT_EQ(manager.InstallCreator("KRVT", nullptr), kCmBadArgument);
  EXPECT_EQ(manager.InstallCreator("KRVTX", &type), kCmBadArgument);
  EXPECT_EQ(manager.SetText("KRVT", &ConduitRegistration::title, "x"), kCmNotRegistered);
  EXPECT_EQ(manager.SetPriority("KRVT", &type), kCmNotRegistered);
  EXPECT_EQ(manager.Remove("KRVT"), kCmNotRemoved);
  EXPECT_FALSE(FileExists(JoinPath(folder.Path(), kRegistrationFileName)));

  ASSERT_EQ(manager.InstallCreator("KRVT", &type), kCmOk);
  EXPECT_EQ(manager.SetText("KRVT", &ConduitRegistration::title, "two\r\nlines"), kCmBadArgument);
  EXPECT_EQ(manager.SetText("KRVT", &ConduitRegistration::title, nullptr), kCmBadArgument);
  EXPECT_EQ(manager.SetPriority("KRVT", nullptr), kCmBadArgument);
}

TEST(ConduitManager, LeavesADamagedFileAlone) {
  ScratchFolder folder;
  std::string path = JoinPath(folder.Path(), kRegistrationFileName), error;
  ASSERT_TRUE(sim::WriteFileAtomically(path, "[KRVT]\r\nColour=red\r\n", &error)) << error;
  ConduitManager manager(folder.Path());
  std::int32_t type = 1;
  EXPECT_EQ(manager.InstallCreator("ABCD", &type), kCmStorageFailure);
  EXPECT_EQ(manager.Remove("KRVT"), kCmStorageFailure);
  EXPECT_EQ(FileText(folder.Path()), "[KRVT]\r\nColour=red\r\n");
}

// The built library, found along the search path as the installer finds it.
TEST(CondMgrLibrary, AnswersTheFolderItWasLoadedFromWithinTheCapacity) {
  WinLibrary library("CondMgr.dll");
  ASSERT_TRUE(library.IsLoaded());
  auto getCorePath = library.Get<CmGetCorePathFn>("CmGetCorePath");
  ASSERT_NE(getCorePath, nullptr);
  for (const char* name :
       {"CmInstallCreator", "CmSetCreatorName", "CmSetCreatorDirectory", "CmSetCreatorFile", "CmSetCreatorRemote",
        "CmSetCreatorTitle", "CmSetCreatorPriority", "CmSetCreatorInfo", "CmRemoveConduitByCreatorID"})
    EXPECT_NE(library.Get<FARPROC>(name), nullptr) << name;

  std::string expected = ModuleFolder(library.Handle());
  char buffer[512];
  std::int32_t capacity = sizeof buffer;
  ASSERT_EQ(getCorePath(buffer, &capacity), 0);
  EXPECT_EQ(std::string(buffer), expected);
  EXPECT_NE(expected.back(), '\\');

  std::memset(buffer, '#', sizeof buffer);
  capacity = static_cast<std::int32_t>(expected.size());  // one short of the NUL
  EXPECT_NE(getCorePath(buffer, &capacity), 0);
  EXPECT_EQ(buffer[0], '#');
  EXPECT_EQ(buffer[expected.size()], '#');
}

}  // namespace
}  // namespace korvet::hotsync
