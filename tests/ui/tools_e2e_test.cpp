// The list editor and the folder picker started on their own, as the dialog and the panel start
// them: the limits of the list, paths the lists cannot hold, and what each OK and Cancel writes.
#include <gtest/gtest.h>

#include "tests/robot/robot.h"
#include "tests/support/hotsync_installation.h"
#include "tests/ui/ui_ids.h"

namespace korvet::ui {
namespace {

using testing::BuildFolder;
using testing::Installation;
using testing::IsolatedSearchPath;

class ToolsTest : public ::testing::Test {
 protected:
  // A folder whose full path (backslash included) takes exactly `length` characters. Windows makes
  // folders of more than 248 characters only through "\\?\" paths.
  std::string FolderOfLength(std::size_t length) {
    std::string folder = install_.Folder();
    while (folder.size() + 1 < length) {
      std::size_t part = std::min<std::size_t>(150, length - folder.size() - 2);
      folder += "\\" + std::string(part, 'd');
      CreateDirectoryA(("\\\\?\\" + folder).c_str(), nullptr);
    }
    return folder + "\\";
  }

  IsolatedSearchPath isolated_;
  Installation install_{{"Xembrafilepath.dll", "Cardoon.dll"}};
};

TEST_F(ToolsTest, EditorHoldsFiftyFilesAndShowsTheNote) {
  std::string fifty;
  for (int i = 0; i < 50; ++i) fifty += "C:\\D\\,f" + std::to_string(i) + ".qzl*";
  install_.Write("Xembrafilepath.dat", fifty + "@^");
  auto program = install_.Start("Xembrafilepath.dll");
  HWND editor = robot::WaitForDialog(kEditorCaption);
  ASSERT_TRUE(editor);
  EXPECT_EQ(robot::ListBoxLines(editor, kEditorList).size(), 50u);
  robot::Click(editor, kEditorAdd);
  auto note = robot::AnswerMessageBox("Note");
  ASSERT_TRUE(note);
  EXPECT_EQ(note->text, "A maximum of fifty files can be sent at a time");
  EXPECT_FALSE(robot::FindDialog("Open"));
  // With 49 the file dialog comes; cancelling it adds nothing.
  robot::SelectListBoxLine(editor, kEditorList, 0);
  robot::Click(editor, kEditorRemove);
  robot::Click(editor, kEditorAdd);
  HWND open = robot::WaitForDialog("Open");
  ASSERT_TRUE(open);
  EXPECT_EQ(robot::Text(open, 1136), "Xembra Setting Files (*.qzl)");  // the file type box
  ASSERT_TRUE(robot::CancelFileOpen());
  EXPECT_EQ(robot::ListBoxLines(editor, kEditorList).size(), 49u);
  robot::Click(editor, kCancel);
  ASSERT_EQ(program->Wait(), 0u);
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), fifty + "@^");
}

TEST_F(ToolsTest, EditorRefusesPathsTheListCannotHoldAndWritesExactlyTheShorterList) {
  install_.Write("Xembrafilepath.dat", "C:\\A\\,one.qzl*C:\\A\\,two.qzl*@^");
  std::string comma = install_.MakeFolder("Site,North") + "\\a.qzl";
  install_.Write("Site,North\\a.qzl", "x");
  std::string tooLong =
      FolderOfLength(233) + std::string(19, 'n') + ".qzl";  // 256 characters: one more than a path holds
  const std::string longName = install_.Write(std::string(26, 'n') + ".qzl", "x");  // a 30-character name
  auto program = install_.Start("Xembrafilepath.dll");
  HWND editor = robot::WaitForDialog(kEditorCaption);
  ASSERT_TRUE(editor);

  robot::Click(editor, kEditorAdd);
  ASSERT_TRUE(robot::FillFileOpen(comma));
  auto refused = robot::AnswerMessageBox("Error");
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->text, "The character ',' cannot be used in the path of a settings file:\n" + comma);
  robot::Click(editor, kEditorAdd);
  ASSERT_TRUE(robot::FillFileOpen(tooLong));
  refused = robot::AnswerMessageBox("Error");
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->text,
            "The path of this settings file is too long to be sent (at most 255 characters, its .BAK copy's too):\n" +
                tooLong);
  robot::Click(editor, kEditorAdd);
  ASSERT_TRUE(robot::FillFileOpen(longName));
  refused = robot::AnswerMessageBox("Error");
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->text,
            "The name of this settings file is too long to be sent (at most 29 characters):\n" + longName);
  EXPECT_EQ(robot::ListBoxLines(editor, kEditorList), (std::vector<std::string>{"C:\\A\\one.qzl", "C:\\A\\two.qzl"}));

  robot::SelectListBoxLine(editor, kEditorList, 1);
  robot::Click(editor, kEditorRemove);
  robot::Click(editor, kOk);
  ASSERT_EQ(program->Wait(), 0u);
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), "C:\\A\\,one.qzl*@^");
}

TEST_F(ToolsTest, EditorKeepsAListLongerThanTheDisplayWholeAndStaysOpenAfterAWriteThatFails) {
  // 45 files in long folders: about 11,000 bytes before the '@', more than the dialogs show.
  std::string list;
  for (int i = 0; i < 45; ++i)
    list += "C:\\Survey Data\\" + std::string(220, 'a' + i % 26) + "\\,site" + std::to_string(i) + ".qzl*";
  ASSERT_GT(list.size(), 10240u);
  install_.Write("Xembrafilepath.dat", list + "@$");
  const std::string added = install_.Write("added.qzl", "x");
  auto program = install_.Start("Xembrafilepath.dll");
  HWND editor = robot::WaitForDialog(kEditorCaption);
  ASSERT_TRUE(editor);
  EXPECT_EQ(robot::ListBoxLines(editor, kEditorList).size(), 45u);
  robot::Click(editor, kEditorAdd);
  ASSERT_TRUE(robot::FillFileOpen(added));
  EXPECT_EQ(robot::ListBoxLines(editor, kEditorList).size(), 46u);

  // A list file that cannot be written (its name taken by a folder, as a read-only file is for a
  // standard user): the editor says so and stays open with the user's entries, so that OK can be
  // pressed again once the file is writable.
  const std::string listFile = install_.File("Xembrafilepath.dat");
  ASSERT_TRUE(DeleteFileA(listFile.c_str()));
  ASSERT_TRUE(CreateDirectoryA(listFile.c_str(), nullptr));
  robot::Click(editor, kOk);
  auto failed = robot::AnswerMessageBox("Error");
  ASSERT_TRUE(failed);
  EXPECT_EQ(failed->text, "Unable to write " + listFile + "\nIt was left as it was.");
  EXPECT_EQ(robot::ListBoxLines(editor, kEditorList).size(), 46u);
  RemoveDirectoryA(listFile.c_str());
  install_.Write("Xembrafilepath.dat", list + "@$");

  // The folder takes no new list beside the old one (as the HotSync folder under Program Files for a
  // standard user): the list is written in place.
  const std::string blocked = install_.MakeFolder("Xembrafilepath.dat.new");
  robot::Click(editor, kOk);
  ASSERT_EQ(program->Wait(), 0u);
  RemoveDirectoryA(blocked.c_str());
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), list + install_.Folder() + "\\,added.qzl*@$");
}

TEST_F(ToolsTest, EditorOkWithoutChangeLeavesTheFileAndRemovingTheLastFileEmptiesIt) {
  const std::string untouched = std::string("C:\\A\\,one.qzl*@^") + "stale";
  install_.Write("Xembrafilepath.dat", untouched);
  auto program = install_.Start("Xembrafilepath.dll");
  HWND editor = robot::WaitForDialog(kEditorCaption);
  ASSERT_TRUE(editor);
  robot::Click(editor, kOk);
  ASSERT_EQ(program->Wait(), 0u);
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), untouched);

  program = install_.Start("Xembrafilepath.dll");
  editor = robot::WaitForDialog(kEditorCaption);
  ASSERT_TRUE(editor);
  robot::SelectListBoxLine(editor, kEditorList, 0);
  robot::Click(editor, kEditorRemove);
  robot::Click(editor, kOk);
  ASSERT_EQ(program->Wait(), 0u);
  EXPECT_EQ(install_.Read("Xembrafilepath.dat"), "");
}

TEST_F(ToolsTest, PickerStoresTheDriveRootWithTwoBackslashesAndKeepsTheFlags) {
  install_.Write("Cardoon.dat", "C:\\Reports\\@$%");
  auto program = install_.Start("Cardoon.dll");
  HWND picker = robot::WaitForDialog(kPickerCaption);
  ASSERT_TRUE(picker);
  EXPECT_EQ(robot::Text(picker, kPickerFolder), "C:\\Reports");
  robot::Click(picker, kPickerBrowse);
  ASSERT_TRUE(robot::FillFolderBrowser("C:\\"));
  EXPECT_TRUE(robot::WaitForText(picker, kPickerFolder, "C:\\"));
  robot::Click(picker, kPickerOk);
  ASSERT_EQ(program->Wait(), 0u);
  EXPECT_EQ(install_.Read("Cardoon.dat"), "C:\\\\@$%");
}

TEST_F(ToolsTest, PickerRefusesFoldersTheFileCannotHoldAndCancelWritesNothing) {
  install_.Write("Cardoon.dat", "C:\\Reports\\@$#");
  std::string dollar = install_.MakeFolder("Price$List");
  std::string tooLong = FolderOfLength(222);  // 221 characters without its backslash: the temporary report
  tooLong.pop_back();                         // file's path would pass 259 characters
  auto program = install_.Start("Cardoon.dll");
  HWND picker = robot::WaitForDialog(kPickerCaption);
  ASSERT_TRUE(picker);
  robot::Click(picker, kPickerBrowse);
  ASSERT_TRUE(robot::FillFolderBrowser(dollar));
  auto refused = robot::AnswerMessageBox("Error");
  ASSERT_TRUE(refused) << robot::Text(picker, kPickerFolder);
  EXPECT_EQ(refused->text, "The character '$' cannot be used in the report folder:\n" + dollar);
  robot::Click(picker, kPickerBrowse);
  ASSERT_TRUE(robot::FillFolderBrowser(tooLong));
  refused = robot::AnswerMessageBox("Error");
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->text, "The path of this folder is too long for the reports (at most 220 characters):\n" + tooLong);
  EXPECT_EQ(robot::Text(picker, kPickerFolder), "C:\\Reports");
  // A good folder chosen, then Cancel: the file stays as it was.
  robot::Click(picker, kPickerBrowse);
  ASSERT_TRUE(robot::FillFolderBrowser(install_.Folder()));
  EXPECT_TRUE(robot::WaitForText(picker, kPickerFolder, install_.Folder()));
  robot::Click(picker, kCancel);
  ASSERT_EQ(program->Wait(), 0u);
  EXPECT_EQ(install_.Read("Cardoon.dat"), "C:\\Reports\\@$#");
}

TEST(LauncherTest, StartsThePanelFromTheCoreDirectoryOrSaysWhyNot) {
  IsolatedSearchPath isolated;
  {
    Installation noConduitManager({"Setpanelrun.exe"}, false);
    auto launcher = noConduitManager.Start("Setpanelrun.exe");
    auto seen = robot::AnswerMessageBox("Error");
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->text, "Unable to find the Hotsync directory.");
    EXPECT_TRUE(launcher->Wait().has_value());
  }
  {
    Installation noPanel({"Setpanelrun.exe"});
    auto launcher = noPanel.Start("Setpanelrun.exe");
    auto seen = robot::AnswerMessageBox("File Not Found");
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->text, "Cannot locate file Setpanel.exe\nin the Hotsync directory");
    HWND window = robot::WaitForDialog(kLauncherCaption);
    ASSERT_TRUE(window);
    EXPECT_TRUE(launcher->Running());
    robot::Click(window, kCancel);
    EXPECT_TRUE(launcher->Wait().has_value());
  }
  {
    Installation complete({"Setpanelrun.exe", "Setpanel.exe"});
    auto launcher = complete.Start("Setpanelrun.exe");
    HWND panel = robot::WaitForDialog(kPanelCaption);
    ASSERT_TRUE(panel);
    EXPECT_TRUE(launcher->Wait().has_value());  // it does not wait for the panel
    robot::Click(panel, kCancel);
    EXPECT_TRUE(robot::WaitUntilGone(panel));
  }
}

}  // namespace
}  // namespace korvet::ui
