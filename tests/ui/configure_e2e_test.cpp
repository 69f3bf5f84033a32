// synchost configure opens the conduit's dialog 101 for real; the action chosen there drives the
// next synchost sync.
#include <gtest/gtest.h>

#include "tests/robot/robot.h"
#include "tests/support/hotsync_installation.h"
#include "tests/ui/ui_ids.h"

namespace korvet::ui {
namespace {

using testing::BuildFolder;
using testing::Installation;
using testing::IsolatedSearchPath;

class ConfigureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(install_.RegisterConduit());
    settings_ = install_.MakeFolder("Settings");
    install_.Write("Settings\\site1.qzl", "Ko first site");
    list_ = settings_ + "\\,site1.qzl*@";
  }

  // Opens the dialog for Ann; the caller plays the user and ends it.
  HWND Configure() {
    host_ = install_.Start("synchost.exe", "configure KRVT --user Ann");
    return robot::WaitForDialog(kConduitCaption);
  }
  std::optional<DWORD> ConfigureEnded() { return host_->Wait(); }
  bool Remembered(const std::string& action) const {
    return install_.Read("Actions.txt").find("KRVT\t" + action + "\tAnn") != std::string::npos;
  }

  IsolatedSearchPath isolated_;
  Installation install_{{"Korv.dll", "Xembrafilepath.dll", "Cardoon.dll"}};
  std::optional<testing::TestProcess> host_;
  std::string settings_, list_;
};

TEST_F(ConfigureTest, DoNothingChosenInTheDialogSkipsTheNextHotSyncAndCancelChangesNothing) {
  install_.Write("Xembrafilepath.dat", list_);
  HWND dialog = Configure();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(robot::Text(dialog, kUserGroup), "Ann's Current Settings:");
  EXPECT_EQ(robot::Text(dialog, kDefaultActionText), "Synchronize the files.");
  EXPECT_EQ(robot::Text(dialog, kNextActionText), "Synchronize the files.");
  EXPECT_TRUE(robot::IsChecked(dialog, kActionSynchronize));
  EXPECT_EQ(robot::Text(dialog, kSettingsList), settings_ + "\\site1.qzl\r\n");
  EXPECT_EQ(robot::Text(dialog, kReportFolder), "");
  robot::Click(dialog, kActionDoNothing);
  robot::Click(dialog, kOk);
  ASSERT_EQ(ConfigureEnded(), 0u);
  EXPECT_TRUE(Remembered("6"));
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), list_ + "^");
  EXPECT_EQ(install_.Read("Cardoon.dat"), "");  // an empty file stays empty

  ASSERT_EQ(install_.Host("sync --user Ann"), 0u);
  EXPECT_FALSE(install_.Exists("HotSync.log"));  // the conduit was not called
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), list_ + "^");

  // Cancel: the dialog shows the remembered action and changes nothing.
  dialog = Configure();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(robot::Text(dialog, kNextActionText), "Do Nothing.");
  EXPECT_TRUE(robot::IsChecked(dialog, kActionDoNothing));
  robot::Click(dialog, kActionSynchronize);
  robot::Click(dialog, kPurgeList);
  robot::Click(dialog, kCancel);
  ASSERT_EQ(ConfigureEnded(), 0u);
  EXPECT_TRUE(Remembered("6"));
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), list_ + "^");

  // Synchronize again: the next HotSync runs the conduit, which empties the list as its flag asks.
  dialog = Configure();
  ASSERT_TRUE(dialog);
  robot::Click(dialog, kActionSynchronize);
  robot::Click(dialog, kOk);
  ASSERT_EQ(ConfigureEnded(), 0u);
  EXPECT_TRUE(Remembered("0"));
  ASSERT_EQ(install_.Host("sync --user Ann"), 0u);
  EXPECT_TRUE(install_.Exists("HotSync.log"));
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), "");
}

TEST_F(ConfigureTest, CancelAfterAToolRanKeepsWhatTheToolWrote) {
  HWND dialog = Configure();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), "");  // created empty on opening
  robot::Click(dialog, kAddRemove);
  HWND editor = robot::WaitForDialog(kEditorCaption);
  ASSERT_TRUE(editor);
  robot::Click(editor, kEditorAdd);
  ASSERT_TRUE(robot::FillFileOpen(settings_ + "\\site1.qzl"));
  robot::Click(editor, kOk);
  ASSERT_TRUE(robot::WaitUntilGone(editor));
  EXPECT_TRUE(robot::WaitForText(dialog, kSettingsList, settings_ + "\\site1.qzl\r\n"));
  robot::Click(dialog, kActionDoNothing);
  robot::Click(dialog, kCancel);
  ASSERT_EQ(ConfigureEnded(), 0u);
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), list_);  // no flag: the dialog wrote nothing
  EXPECT_FALSE(Remembered("6"));
}

TEST_F(ConfigureTest, OlderHostsAskThroughConfigureConduitWithTheOldDialog) {
  install_.Write("Xembrafilepath.dat", list_);
  install_.Write("Cardoon.dat", "C:\\R\\@");
  host_ = install_.Start("synchost.exe", "configure-old KRVT --user Ann");
  HWND dialog = robot::WaitForDialog(kConduitCaption);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(robot::Text(dialog, 404), "&Synchronize the files");
  EXPECT_FALSE(robot::Exists(dialog, kSettingsList));
  robot::Click(dialog, kActionDoNothing);
  robot::Click(dialog, kOk);
  ASSERT_EQ(ConfigureEnded(), 0u);
  EXPECT_TRUE(Remembered("6"));
  // Its OK rewrites the list files too: the missing check boxes count as unchecked.
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), list_ + "$");
  EXPECT_EQ(install_.Read("Cardoon.dat"), "C:\\R\\@$%");
  ASSERT_EQ(install_.Host("sync --user Ann"), 0u);
  EXPECT_FALSE(install_.Exists("HotSync.log"));
}

}  // namespace
}  // namespace korvet::ui
