// The settings panel with the real list editor and folder picker, then a HotSync that reads what
// they wrote.
#include <gtest/gtest.h>

#include "common/paths.h"
#include "tests/robot/robot.h"
#include "tests/support/hotsync_installation.h"
#include "tests/support/report_file.h"
#include "tests/ui/ui_ids.h"

namespace korvet::ui {
namespace {

using testing::BuildFolder;
using testing::Installation;
using testing::IsolatedSearchPath;

class PanelTest : public ::testing::Test {
 protected:
  IsolatedSearchPath isolated_;
  Installation install_{{"Korv.dll", "Setpanel.exe", "Xembrafilepath.dll", "Cardoon.dll"}};
};

TEST_F(PanelTest, ListsChosenInTheToolsReachTheNextHotSync) {
  ASSERT_TRUE(install_.RegisterConduit());
  const std::string settings = install_.MakeFolder("Settings");
  install_.Write("Settings\\site1.qzl", "Ko first site");
  install_.Write("Settings\\site2.qzl", "Ko second site");
  const std::string reports = install_.MakeFolder("Reports");
  install_.Write("creek.txt", "Station,N,E\nP1,1.0,2.0\n");
  ASSERT_EQ(install_.Host("handheld add-report Creek --file \"" + install_.File("creek.txt") + "\""), 0u);

  // No list file yet: the panel creates both empty.
  auto panelProgram = install_.Start("Setpanel.exe");
  HWND panel = robot::WaitForDialog(kPanelCaption);
  ASSERT_TRUE(panel);
  EXPECT_TRUE(robot::IsChecked(panel, kPurgeList));
  EXPECT_FALSE(robot::IsChecked(panel, kDoNotRetrieve));
  EXPECT_FALSE(robot::IsChecked(panel, kDeleteReports));
  EXPECT_EQ(robot::Text(panel, kSettingsList), "");
  EXPECT_EQ(robot::Text(panel, kReportFolder), "");
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), "");
  EXPECT_EQ(install_.Read("Cardoon.dat"), "");

  // "Add\Remove...": two files added through the file dialog, the first one removed again.
  robot::Click(panel, kAddRemove);
  HWND editor = robot::WaitForDialog(kEditorCaption);
  ASSERT_TRUE(editor);
  for (const char* name : {"site1.qzl", "site2.qzl"}) {
    robot::Click(editor, kEditorAdd);
    ASSERT_TRUE(robot::FillFileOpen(JoinPath(settings, name))) << name;
  }
  EXPECT_EQ(robot::ListBoxLines(editor, kEditorList),
            (std::vector<std::string>{settings + "\\site1.qzl", settings + "\\site2.qzl"}));
  robot::SelectListBoxLine(editor, kEditorList, 0);
  robot::Click(editor, kEditorRemove);
  robot::Click(editor, kOk);
  ASSERT_TRUE(robot::WaitUntilGone(editor));
  EXPECT_TRUE(robot::WaitForText(panel, kSettingsList, settings + "\\site2.qzl\r\n"));
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), settings + "\\,site2.qzl*@");

  // "Change...": the folder browser picks the report folder.
  robot::Click(panel, kChangeFolder);
  HWND picker = robot::WaitForDialog(kPickerCaption);
  ASSERT_TRUE(picker);
  robot::Click(picker, kPickerBrowse);
  ASSERT_TRUE(robot::FillFolderBrowser(reports));
  EXPECT_TRUE(robot::WaitForText(picker, kPickerFolder, reports));
  robot::Click(picker, kPickerOk);
  ASSERT_TRUE(robot::WaitUntilGone(picker));
  EXPECT_TRUE(robot::WaitForText(panel, kReportFolder, reports));
  EXPECT_EQ(install_.Read("Cardoon.dat"), reports + "\\@");

  // OK writes the flags: purge the list, retrieve the reports and delete them on the handheld.
  robot::Click(panel, kDeleteReports);
  robot::Click(panel, kOk);
  ASSERT_EQ(panelProgram->Wait(), 0u);
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), settings + "\\,site2.qzl*@^");
  EXPECT_EQ(install_.Read("Cardoon.dat"), reports + "\\@$#");

  ASSERT_EQ(install_.Host("sync"), 0u);
  EXPECT_EQ(install_.Read(JoinPath("Reports", testing::ReportFile("Creek"))), "Station,N,E\nP1,1.0,2.0\n");
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), "");  // emptied by its purge flag
  EXPECT_EQ(install_.Read("Cardoon.dat"), reports + "\\@$#");
  // The file left in the list was sent (its backup copy shows it); the one removed was not.
  EXPECT_EQ(install_.Read("Settings\\site2.BAK"), "Ko second site");
  EXPECT_FALSE(install_.Exists("Settings\\site1.BAK"));
}

TEST_F(PanelTest, OkWithoutChangesAddsTheDefaultFlagsAndCancelWritesNothing) {
  install_.Write("Xembrafilepath.dat", "C:\\Data\\,a.qzl*C:\\Data\\,b.qzl*@$");
  install_.Write("Cardoon.dat", "C:\\Reports\\@^#");
  auto cancelled = install_.Start("Setpanel.exe");
  HWND panel = robot::WaitForDialog(kPanelCaption);
  ASSERT_TRUE(panel);
  EXPECT_EQ(robot::Text(panel, kSettingsList), "C:\\Data\\a.qzl\r\nC:\\Data\\b.qzl\r\n");
  EXPECT_EQ(robot::Text(panel, kReportFolder), "C:\\Reports");
  robot::Click(panel, kDoNotRetrieve);
  robot::Click(panel, kCancel);
  ASSERT_EQ(cancelled->Wait(), 0u);
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), "C:\\Data\\,a.qzl*C:\\Data\\,b.qzl*@$");
  EXPECT_EQ(install_.Read("Cardoon.dat"), "C:\\Reports\\@^#");

  auto confirmed = install_.Start("Setpanel.exe");
  panel = robot::WaitForDialog(kPanelCaption);
  ASSERT_TRUE(panel);
  robot::Click(panel, kOk);
  ASSERT_EQ(confirmed->Wait(), 0u);
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), "C:\\Data\\,a.qzl*C:\\Data\\,b.qzl*@^");
  EXPECT_EQ(install_.Read("Cardoon.dat"), "C:\\Reports\\@$%");
}

TEST(PanelWithoutTools, ToolsThatCannotBeFoundAreReportedAndThePanelStaysOpen) {
  IsolatedSearchPath isolated;
  Installation install({"Setpanel.exe"});
  install.Write("Xembrafilepath.dat", "C:\\Data\\,a.qzl*@$");
  auto program = install.Start("Setpanel.exe");
  HWND panel = robot::WaitForDialog(kPanelCaption);
  ASSERT_TRUE(panel);
  robot::Click(panel, kAddRemove);
  auto seen = robot::AnswerMessageBox("File Not Found");
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->text, "Cannot locate file Xembrafilepath.dll");
  robot::Click(panel, kChangeFolder);
  seen = robot::AnswerMessageBox("File Not Found");
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->text, "Cannot locate file Cardoon.dll");
  EXPECT_TRUE(program->Running());
  // Without the tools the list files are not found either: OK writes nothing.
  robot::Click(panel, kOk);
  ASSERT_EQ(program->Wait(), 0u);
  EXPECT_EQ(install.Read("Xembrafilepath.dat"), "C:\\Data\\,a.qzl*@$");
}

}  // namespace
}  // namespace korvet::ui
