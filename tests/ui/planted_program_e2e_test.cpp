// HotSync lives under a folder with a space in its name ("C:\Program Files\..."). A program planted
// where that path would be split ("...\Hot.exe" beside "...\Hot Sync\") must never run in place of
// the tool, panel or list editor that a Korvet program starts.
#include <gtest/gtest.h>

#include "tests/robot/robot.h"
#include "tests/support/hotsync_installation.h"
#include "tests/ui/ui_ids.h"

namespace korvet::ui {
namespace {

using testing::BuildFolder;
using testing::Installation;
using testing::IsolatedSearchPath;

class PlantedProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyFileA((BuildFolder() + "\\tests\\planted_program.exe").c_str(),
                          install_.Outside().File("Hot.exe").c_str(), FALSE));
  }
  bool PlantedRan() const { return install_.Outside().Exists("planted-ran.txt"); }

  // The list editor comes up from `owner`'s "Add\Remove..." and is closed again.
  void OpenAndCloseTheListEditor(HWND owner) {
    robot::Click(owner, kAddRemove);
    HWND editor = robot::WaitForDialog(kEditorCaption);
    ASSERT_TRUE(editor) << install_.Outside().Read("planted-ran.txt");
    robot::Click(editor, kCancel);
    ASSERT_TRUE(robot::WaitUntilGone(editor));
  }

  IsolatedSearchPath isolated_;
  Installation install_{
      {"Korv.dll", "Setpanelrun.exe", "Setpanel.exe", "Xembrafilepath.dll", "Cardoon.dll"}, true, "Hot Sync"};
};

TEST_F(PlantedProgramTest, LauncherPanelAndConduitDialogStartTheirOwnPrograms) {
  // The conduit's dialog, opened by the HotSync host, starts the list editor the same way.
  ASSERT_TRUE(install_.RegisterConduit());
  auto host = install_.Start("synchost.exe", "configure KRVT --user Ann");
  HWND dialog = robot::WaitForDialog(kConduitCaption);
  ASSERT_TRUE(dialog);
  OpenAndCloseTheListEditor(dialog);
  robot::Click(dialog, kCancel);
  EXPECT_TRUE(host->Wait().has_value());

  // The launcher starts the panel from the core directory, the panel its list editor and picker.
  auto launcher = install_.Start("Setpanelrun.exe");
  HWND panel = robot::WaitForDialog(kPanelCaption);
  ASSERT_TRUE(panel) << install_.Outside().Read("planted-ran.txt");
  EXPECT_TRUE(launcher->Wait().has_value());
  OpenAndCloseTheListEditor(panel);
  robot::Click(panel, kChangeFolder);
  HWND picker = robot::WaitForDialog(kPickerCaption);
  ASSERT_TRUE(picker);
  robot::Click(picker, kCancel);
  ASSERT_TRUE(robot::WaitUntilGone(picker));
  robot::Click(panel, kCancel);
  ASSERT_TRUE(robot::WaitUntilGone(panel));

  EXPECT_FALSE(PlantedRan()) << install_.Outside().Read("planted-ran.txt");
}

}  // namespace
}  // namespace korvet::ui
