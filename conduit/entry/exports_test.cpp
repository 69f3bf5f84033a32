#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <map>
#include <thread>
#include <vector>

#include "conduit/platform/conduit_records.h"
#include "conduit/platform/sync_properties.h"
#include "tests/robot/robot.h"

extern "C" {
long OpenConduit(void* hotsync, korvet::SyncProperties* properties);
long GetConduitName(char* buffer, std::uint16_t capacity);
std::uint32_t GetConduitVersion();
long GetConduitInfo(long kind, void* request, void* out, std::uint32_t* outSize);
long ConfigureConduit(void* oldRecord);
long CfgConduit(long kind, void* request, std::uint32_t* size);
}

namespace korvet {
namespace {

TEST(ConduitName, IsLoadedFromTheStringTableCutToTheCapacity) {
  char name[64];
  std::memset(name, 'x', sizeof name);
  EXPECT_EQ(GetConduitName(name, sizeof name), 0);
  EXPECT_STREQ(name, "Korvet");
  std::memset(name, 'x', sizeof name);
  EXPECT_EQ(GetConduitName(name, 4), 0);
  EXPECT_STREQ(name, "Kor");
  EXPECT_EQ(name[4], 'x');
  EXPECT_EQ(GetConduitName(name, 0), -1);
  EXPECT_EQ(GetConduitName(nullptr, 10), -1);
  EXPECT_EQ(GetConduitVersion(), 0x102u);
}

class ConduitInfoTest : public ::testing::Test {
 protected:
  ConduitInfoRequest request_{1, 80, 0, 0, {}};
  char out_[16] = {};
  std::uint32_t size_ = 4;
};

TEST_F(ConduitInfoTest, ChecksRunInOrder) {
  EXPECT_EQ(GetConduitInfo(0, &request_, nullptr, nullptr), 4209);
  EXPECT_EQ(GetConduitInfo(0, &request_, out_, nullptr), 4215);
  EXPECT_EQ(GetConduitInfo(0, nullptr, out_, &size_), 4212);
  EXPECT_EQ(GetConduitInfo(7, &request_, out_, &size_), 4208);
  request_.version = 2;
  EXPECT_EQ(GetConduitInfo(0, &request_, out_, &size_), 4213);
  request_.version = 1;
  request_.size = 79;
  EXPECT_EQ(GetConduitInfo(0, &request_, out_, &size_), 4213);
}

TEST_F(ConduitInfoTest, NameKindFillsTheBufferUpToTheGivenSize) {
  size_ = sizeof out_;
  EXPECT_EQ(GetConduitInfo(0, &request_, out_, &size_), 0);
  EXPECT_STREQ(out_, "Korvet");
  EXPECT_EQ(size_, sizeof out_);  // the size is not updated
  size_ = 0;
  EXPECT_EQ(GetConduitInfo(0, &request_, out_, &size_), 4214);
}

TEST_F(ConduitInfoTest, ValueKindsNeedFourBytes) {
  std::uint32_t value = 0xDEADBEEF;
  size_ = 8;
  EXPECT_EQ(GetConduitInfo(1, nullptr, &value, &size_), 4211);
  EXPECT_EQ(value, 0xDEADBEEFu);
  size_ = 4;
  EXPECT_EQ(GetConduitInfo(1, nullptr, &value, &size_), 0);
  EXPECT_EQ(value, 0x10000000u);
  EXPECT_EQ(GetConduitInfo(2, nullptr, &value, &size_), 0);
  EXPECT_EQ(value, 0u);
}

// The dialog runs modally on the calling thread; a second thread plays the user through the robot,
// collects what it sees and always leaves the dialog closed, so that a failed look cannot hang the test.
class ConfigurationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(&record_, 0, sizeof record_);
    record_.version = 1;
    record_.size = sizeof record_;
    // No desktop tool beside the program or in the core directory: the list files are neither shown
    // nor written here
    // (the end-to-end tests drive them on a scratch installation).
    char path[32768] = {};
    GetEnvironmentVariableA("PATH", path, sizeof path);
    path_ = path;
    SetEnvironmentVariableA("PATH", "C:\\windows\\system32;C:\\windows");
  }
  void TearDown() override { SetEnvironmentVariableA("PATH", path_.c_str()); }

  template <typename Call, typename User>
  long WithUser(Call call, User user) {
    std::thread thread([&] {
      HWND dialog = robot::WaitForDialog("Korvet");
      if (dialog) user(dialog);
      if (HWND left = robot::FindDialog("Korvet")) PostMessageA(left, WM_COMMAND, IDCANCEL, 0);
    });
    long result = call();
    thread.join();
    return result;
  }

  ConfigRequest record_;
  std::uint32_t size_ = 352;
  std::string path_;
};

TEST_F(ConfigurationTest, CfgConduitChecksRunInOrderWithoutOpeningTheDialog) {
  EXPECT_EQ(CfgConduit(0, nullptr, nullptr), 4212);
  EXPECT_EQ(CfgConduit(0, &record_, nullptr), 4216);
  std::uint32_t wrong = 351;
  EXPECT_EQ(CfgConduit(1, &record_, &wrong), 4218);
  EXPECT_EQ(CfgConduit(1, &record_, &size_), 4217);
  record_.version = 2;
  EXPECT_EQ(CfgConduit(0, &record_, &size_), 4219);
}

struct SeenDialog {
  std::map<int, std::string> texts;
  std::map<int, bool> checked, visible;
};

SeenDialog Look(HWND dialog, std::initializer_list<int> ids) {
  SeenDialog seen;
  for (int id : ids) {
    seen.texts[id] = robot::Text(dialog, id);
    seen.checked[id] = robot::IsChecked(dialog, id);
    seen.visible[id] = robot::IsVisible(dialog, id);
  }
  return seen;
}

TEST_F(ConfigurationTest, CfgConduitShowsTheUsersSettingsAndWritesTheChoiceOnOk) {
  record_.userKnown = 1;
  std::strcpy(record_.userName, "Ann");
  record_.defaultAction = 5;  // above 3: shown as "do nothing"
  record_.nextAction = 1;     // shown like 0
  SeenDialog seen;
  long result = WithUser([&] { return CfgConduit(0, &record_, &size_); },
                         [&](HWND dialog) {
                           seen = Look(dialog, {1006, 403, 1004, 1005, 404, 405, 406, 407, 411, 1000, 1001, 1002, 1003,
                                                1025, 1026, 1027, 1009, 1012});
                           robot::Click(dialog, 1);
                           robot::WaitUntilGone(dialog);
                         });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(seen.texts[1006], "Ann's Current Settings:");
  EXPECT_EQ(seen.texts[403], "HotSync Action for Korvet");
  EXPECT_EQ(seen.texts[1004], "Do Nothing.");
  EXPECT_EQ(seen.texts[1005], "Synchronize the files.");
  EXPECT_EQ(seen.texts[404], "&Transfer Xembra Ostrel file(s)");
  EXPECT_EQ(seen.texts[407], "Do &nothing");
  EXPECT_TRUE(seen.checked[404]);
  EXPECT_FALSE(seen.checked[407]);
  EXPECT_FALSE(seen.checked[411]);
  EXPECT_TRUE(seen.checked[1025]);
  EXPECT_FALSE(seen.checked[1026] || seen.checked[1027]);
  EXPECT_FALSE(seen.visible[405] || seen.visible[406] || seen.visible[1000] || seen.visible[1002]);
  EXPECT_TRUE(seen.visible[404] && seen.visible[407] && seen.visible[1001] && seen.visible[1003]);
  EXPECT_EQ(seen.texts[1009], "");
  EXPECT_EQ(seen.texts[1012], "");
  EXPECT_EQ(record_.chosenAction, kActionSynchronize);  // 1 is written back as 0
  EXPECT_EQ(record_.defaultChoice, 2);
}

TEST_F(ConfigurationTest, CfgConduitCancelLeavesTheRecordAndStillReturnsZero) {
  record_.nextAction = 3;
  record_.chosenAction = 77;
  record_.defaultChoice = 55;
  SeenDialog seen;
  long result = WithUser([&] { return CfgConduit(0, &record_, &size_); },
                         [&](HWND dialog) {
                           seen = Look(dialog, {1006, 1004, 1005, 405});
                           robot::Click(dialog, 407);
                           robot::Click(dialog, 411);
                           robot::Click(dialog, 2);
                           robot::WaitUntilGone(dialog);
                         });
  EXPECT_EQ(result, 0);
  // No user known: the template's texts stay.
  EXPECT_EQ(seen.texts[1006], "<User's Current Settings Place Holder>");
  EXPECT_EQ(seen.texts[1004], "Static");
  EXPECT_EQ(seen.texts[1005], "Static");
  EXPECT_TRUE(seen.checked[405]);  // a hidden button can still carry the next action
  EXPECT_EQ(record_.chosenAction, 77);
  EXPECT_EQ(record_.defaultChoice, 55);
}

TEST_F(ConfigurationTest, ConfigureConduitRunsTheOldDialogAndCopiesTheChoiceBackOnlyOnOk) {
  OldConfigRecord old;
  std::memset(&old, 0, sizeof old);
  old.action = 5;  // shown as "do nothing"
  old.defaultChoice = 77;
  SeenDialog seen;
  bool hasListControls = true;
  long result = WithUser([&] { return ConfigureConduit(&old); },
                         [&](HWND dialog) {
                           seen = Look(dialog, {403, 404, 405, 406, 407, 1000, 1001, 1002, 1003});
                           hasListControls = robot::Exists(dialog, 1009) || robot::Exists(dialog, 1025);
                           robot::Click(dialog, 405);
                           robot::Click(dialog, 2);
                           robot::WaitUntilGone(dialog);
                         });
  EXPECT_EQ(result, -1);
  EXPECT_EQ(old.action, 5);
  EXPECT_EQ(old.defaultChoice, 77);
  EXPECT_FALSE(hasListControls);
  EXPECT_EQ(seen.texts[403], "HotSync Action for Korvet");
  EXPECT_EQ(seen.texts[404], "&Synchronize the files");
  EXPECT_EQ(seen.texts[405], "&Desktop overwrites handheld");
  EXPECT_EQ(seen.texts[406], "&Handheld overwrites Desktop");
  EXPECT_TRUE(seen.checked[407]);
  for (int id : {404, 405, 406, 407, 1000, 1001, 1002, 1003}) EXPECT_TRUE(seen.visible[id]) << id;

  // OK without a change writes the shown "do nothing" back as 6.
  result = WithUser([&] { return ConfigureConduit(&old); },
                    [&](HWND dialog) {
                      robot::Click(dialog, 1);
                      robot::WaitUntilGone(dialog);
                    });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(old.action, kActionDoNothing);
  EXPECT_EQ(old.defaultChoice, 2);

  result = WithUser([&] { return ConfigureConduit(&old); },
                    [&](HWND dialog) {
                      robot::Click(dialog, 406);
                      robot::Click(dialog, 411);
                      robot::Click(dialog, 1);
                      robot::WaitUntilGone(dialog);
                    });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(old.action, kActionHandheldOverwrites);
  EXPECT_EQ(old.defaultChoice, 1);
}

// The colour of one pixel of the bitmap a picture control shows.
COLORREF PixelOf(HWND dialog, int picture, int x, int y) {
  auto bitmap = reinterpret_cast<HBITMAP>(SendDlgItemMessageA(dialog, picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
  if (!bitmap) return CLR_INVALID;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  COLORREF colour = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return colour;
}

TEST_F(ConfigurationTest, ActionBitmapsTakeTheButtonFaceColourAndAreReloadedOnAColourChange) {
  std::vector<COLORREF> corners, outlines;
  HBITMAP before = nullptr, after = nullptr;
  DWORD oldBitmapType = OBJ_BITMAP;
  COLORREF recoloured = CLR_INVALID;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF otherFace = RGB(200, 120, 40);
  WithUser([&] { return CfgConduit(0, &record_, &size_); },
           [&](HWND dialog) {
             for (int picture = 1000; picture <= 1003; ++picture) {
               corners.push_back(PixelOf(dialog, picture, 0, 0));
               outlines.push_back(PixelOf(dialog, picture, 5, 3));  // the handheld's screen frame
             }
             before = reinterpret_cast<HBITMAP>(SendDlgItemMessageA(dialog, 1001, STM_GETIMAGE, IMAGE_BITMAP, 0));
             // A new colour scheme: the bitmaps are made again on the new button face.
             const int element = COLOR_BTNFACE;
             SetSysColors(1, &element, &otherFace);
             SendMessageA(dialog, WM_SYSCOLORCHANGE, 0, 0);
             after = reinterpret_cast<HBITMAP>(SendDlgItemMessageA(dialog, 1001, STM_GETIMAGE, IMAGE_BITMAP, 0));
             oldBitmapType = GetObjectType(before);  // 0: the bitmap replaced was really deleted
             recoloured = PixelOf(dialog, 1001, 0, 0);
             SetSysColors(1, &element, &face);
             robot::Click(dialog, 2);
             robot::WaitUntilGone(dialog);
           });
  EXPECT_EQ(corners, std::vector<COLORREF>(4, face));
  EXPECT_EQ(recoloured, otherFace);
  EXPECT_EQ(outlines, (std::vector<COLORREF>{RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0), RGB(128, 128, 128)}));
  EXPECT_NE(before, nullptr);
  EXPECT_NE(after, nullptr);
  EXPECT_NE(before, after);
  EXPECT_EQ(oldBitmapType, 0u);
  EXPECT_EQ(GetObjectType(after), 0u);  // and the dialog's own went with it
}

}  // namespace
}  // namespace korvet
