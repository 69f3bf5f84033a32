#include "conduit/store/desktop_database_manager.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "conduit/store/settings_record_source.h"
#include "conduit/store/status_codes.h"
#include "conduit/test_support/hotsync_bench.h"

namespace korvet::store {
namespace {

using Log = std::vector<std::string>;

std::string DataOf(const SyncRecord& record) {
  return std::string(reinterpret_cast<const char*>(record.GetData()), record.GetDataSize());
}

// The record text the desktop store handed to the shared settings-file store, read back as the
// record it fills.
std::string SharedRecordText() {
  SyncRecord record;
  SharedSettingsRecordSource().FillRecord(record);
  return DataOf(record);
}

FILETIME LastWrite(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

// A 276-byte category block with one category.
std::vector<std::uint8_t> CategoryBlockWith(int number, const char* name, std::uint8_t id) {
  std::vector<std::uint8_t> block(kCategoryBlockSize, 0);
  std::strcpy(reinterpret_cast<char*>(block.data() + 2 + 16 * number), name);
  block[258 + number] = id;
  return block;
}

DatabaseInfoBlock InfoFor(const char* name, std::vector<std::uint8_t>& bytes, std::uint32_t extra = 0) {
  DatabaseInfoBlock info{};
  std::string(name).copy(info.name, sizeof info.name - 1);
  info.capacity = static_cast<std::uint16_t>(bytes.size());
  info.dataSize = static_cast<std::uint16_t>(bytes.size());
  info.data = bytes.data();
  info.reserved = extra;
  return info;
}

// A store whose read fails after the first two bytes of a file's text.
class FailingReadStore : public DesktopDatabaseManager {
 public:
  using DesktopDatabaseManager::DesktopDatabaseManager;
  long ReadLeadingText(std::string& text) override {
    DesktopDatabaseManager::ReadLeadingText(text);
    text.resize(2);
    return kReadFailed;
  }
};

class DesktopStoreTest : public ::testing::Test {
 protected:
  std::unique_ptr<DesktopDatabaseManager> Store(long syncType, const std::string& name, std::uint32_t options = 0) {
    return std::make_unique<DesktopDatabaseManager>(nullptr, options, syncType, "KORVETDatabaseDB", name.c_str(),
                                                    bench_.Folder().Path().c_str());
  }
  Log Missing(const std::string& path) const { return {kSettingsFileMissingText, path}; }

  testing::HotSyncBench bench_;
  const testing::ScratchFolder& folder_ = bench_.Folder();
};

TEST(DesktopPath, DirectoryAndNameMakeABoundedPath) {
  auto path = [](const char* directory, const std::string& name) {
    return DesktopDatabaseManager(nullptr, 0, kFastSync, nullptr, name.c_str(), directory).Path();
  };
  EXPECT_EQ(path("C:\\Data", "a.qzl"), "C:\\Data\\a.qzl");
  EXPECT_EQ(path("C:\\Data\\", "a.qzl"), "C:\\Data\\a.qzl");
  EXPECT_EQ(path("C:\\Data", ""), "C:\\Data\\GenericDB.DAT");
  EXPECT_EQ(path(nullptr, "a.qzl"), "a.qzl");
  const std::string directory = "C:\\" + std::string(240, 'd');
  EXPECT_EQ(path(directory.c_str(), std::string(11, 'n')).size(), 255u);
  EXPECT_EQ(path(directory.c_str(), std::string(12, 'n')), "");
  EXPECT_EQ(DesktopDatabaseManager(nullptr, 0, 0, std::string(40, 'r').c_str(), "a", nullptr).RemoteName(),
            std::string(31, 'r'));
}

TEST_F(DesktopStoreTest, FileThatCannotBeOpenedLeavesTwoLogLines) {
  auto store = Store(kFastSync, "absent.qzl");
  EXPECT_EQ(store->Open(kOpenModeRead), kDesktopFileNotFound);
  EXPECT_FALSE(store->IsFileOpen());
  EXPECT_EQ(bench_.LogTexts(), Missing(folder_.File("absent.qzl")));

  // A path too long for its field is refused, and the log names it.
  const std::string name(256 - folder_.WithSlash().size(), 'n');
  auto tooLong = Store(kFastSync, name);
  EXPECT_EQ(tooLong->Open(kOpenModeRead), kDesktopFileNotFound);
  EXPECT_EQ(bench_.LogTexts().back(), folder_.File(name));
  EXPECT_EQ(tooLong->LoadContents(), kNoFilePath);
}

TEST_F(DesktopStoreTest, LeadingTextNeedsOneOfTheFirstTwoLettersOfTheModelName) {
  struct Case {
    const char* text;
    long status;
  };
  for (const Case& c : {Case{"Kx", kOk}, Case{"xo", kOk}, Case{"Ko", kOk}, Case{"ab", kDesktopFileNotFound},
                        Case{"", kDesktopFileNotFound}, Case{"k", kDesktopFileNotFound}}) {
    folder_.Write("s.qzl", c.text);
    auto store = Store(kFastSync, "s.qzl");
    const std::size_t logged = bench_.LogTexts().size();
    EXPECT_EQ(store->Open(kOpenModeRead), c.status) << c.text;
    EXPECT_TRUE(store->IsFileOpen()) << c.text;
    // A rejected text still reaches the shared store, and the log names the file.
    EXPECT_EQ(SharedRecordText(), std::string("s.qzl,") + c.text + "*");
    const std::string refusal = std::string(kNotASettingsFileText) + store->Path();
    EXPECT_EQ(bench_.LogTexts().size(), logged + (c.status == kOk ? 0 : 1)) << c.text;
    if (c.status != kOk) {
      EXPECT_EQ(bench_.LogTexts().back(), refusal);
    }
  }
}

// The leading text ends at the first zero byte, or after 511 characters, and the file position
// follows its last byte.
TEST_F(DesktopStoreTest, LeadingTextIsBoundedAndThePositionFollowsIt) {
  folder_.Write("z.qzl", std::string("Ko1\0rest", 8));
  auto store = Store(kFastSync, "z.qzl");
  ASSERT_EQ(store->Open(kOpenModeRead), kOk);
  EXPECT_EQ(SharedRecordText(), "z.qzl,Ko1*");
  std::uint8_t next = 0;
  EXPECT_EQ(store->ReadU8(&next), kOk);
  EXPECT_EQ(next, 'r');

  // A text that cannot fit the record with the name is refused whole, and the log names the file.
  folder_.Write("l.qzl", "K" + std::string(509, 'a') + "Z" + "after");
  auto longText = Store(kFastSync, "l.qzl");
  EXPECT_EQ(longText->Open(kOpenModeRead), kDesktopFileNotFound);
  ASSERT_EQ(longText->ReadU8(&next), kOk);
  EXPECT_EQ(next, 'a');  // the first byte after the 511
  EXPECT_EQ(SharedRecordText(), "");
  EXPECT_EQ(bench_.LogTexts().back(), std::string(kSettingsTextTooLongText) + longText->Path());
}

TEST_F(DesktopStoreTest, SyncTypeDecidesHowTheStoreOpens) {
  auto fast = Store(kFastSync, "none.qzl");
  EXPECT_EQ(fast->OpenForSync(), kDesktopFileMissing);
  auto slow = Store(kSlowSync, "none.qzl");
  EXPECT_EQ(slow->OpenForSync(), kDesktopFileMissing);
  auto overwrite = Store(kDesktopOverwritesHandheld, "none.qzl");
  EXPECT_EQ(overwrite->OpenForSync(), kDesktopFileNotFound);
  auto nothing = Store(kDoNothing, "none.qzl");
  EXPECT_EQ(nothing->OpenForSync(), kOk);
  auto invalid = Store(8, "none.qzl");
  EXPECT_EQ(invalid->OpenForSync(), kInvalidSyncType);
  EXPECT_EQ(bench_.LogTexts().size(), 6u);  // two lines for each read-open of the missing file
  // Overwriting the desktop or backing up never reads it: the closed mode reports no file.
  for (long type : {kHandheldOverwritesDesktop, kBackupSync}) {
    auto overwritten = Store(type, "none.qzl");
    EXPECT_EQ(overwritten->OpenForSync(), kDesktopFileNotFound);
    EXPECT_TRUE(overwritten->IsDirty());
  }
  EXPECT_EQ(bench_.LogTexts().size(), 6u);

  folder_.Write("k.qzl", "Ko");
  auto finished = Store(kFastSync, "k.qzl");
  ASSERT_EQ(finished->OpenForSync(), kOk);
  finished->FinishSync();
  finished->SetDirty(false);
  EXPECT_EQ(finished->OpenForSync(), kDesktopFileNotFound);  // after the sync only the closed mode
  EXPECT_TRUE(finished->IsDirty());
  EXPECT_FALSE(finished->IsFileOpen());
}

TEST_F(DesktopStoreTest, LoadContentsTakesTheOneSettingsRecordOnce) {
  folder_.Write("dummy.qzl", "Ko1");
  auto store = Store(kFastSync, "dummy.qzl");
  ASSERT_EQ(store->OpenForSync(), kOk);
  ASSERT_EQ(store->LoadContents(), kOk);
  ASSERT_EQ(store->LoadContents(), kOk);
  long count = 0;
  store->GetRecordCount(&count);
  ASSERT_EQ(count, 1);
  SyncRecord record;
  ASSERT_EQ(store->ReadFirstRecord(record), kOk);
  EXPECT_EQ(DataOf(record), "dummy.qzl,Ko1*");
  EXPECT_EQ(record.GetId(), 0u);
  EXPECT_EQ(record.GetCategory(), 0);
  EXPECT_EQ(record.GetAttributes(), kRecordModified);
  EXPECT_EQ(record.GetIndex(), 0);
}

TEST_F(DesktopStoreTest, NoPathOfTheStoreChangesTheSettingsFile) {
  const std::string path = folder_.Write("keep.qzl", "Ko settings\r\nline 2");
  const FILETIME before = LastWrite(path);
  Sleep(20);
  for (long type : {kFastSync, kSlowSync, kDesktopOverwritesHandheld, kInstallSync}) {
    auto store = Store(type, "keep.qzl", kOptionAppInfo | kOptionCategoryBlock);
    store->OpenForSync();
    store->LoadContents();
    store->SetDatabaseInfo("KORVETDatabaseDB", 0, 1, 2, 3, 4, 5, 6, 7);
    SyncRecord extra;
    extra.SetData(3, "new");
    store->AddRecord(extra);
    std::vector<std::uint8_t> data(10, 'x');
    store->SetAppSpecificInfo(static_cast<std::uint32_t>(data.size()), data.data());
    store->SaveCategories();
    store->SaveFile();
    store->FinishSync();
    store->SaveFile();
    store->Close(0);
  }
  EXPECT_EQ(folder_.Read("keep.qzl"), "Ko settings\r\nline 2");
  const FILETIME after = LastWrite(path);
  EXPECT_EQ(CompareFileTime(&before, &after), 0);
}

TEST(DesktopInfo, ApplicationBlockRoundTripsWithItsExtraValue) {
  DesktopDatabaseManager store;
  DatabaseInfoBlock out{};
  EXPECT_EQ(store.GetAppInfo(&out), kNoAppInfo);
  EXPECT_EQ(store.GetSortInfo(&out), kNoSortInfo);
  std::vector<std::uint8_t> bytes = {1, 2, 3, 4, 5};
  DatabaseInfoBlock in = InfoFor("MemoDB", bytes, 0xCAFE);
  std::memset(in.name + 6, 'N', sizeof in.name - 6);  // a name that fills its field without a NUL
  ASSERT_EQ(store.SetAppInfo(&in), kOk);
  const DesktopInfoBlockHead head = store.AppInfoBlock()->Head();
  EXPECT_EQ(head.totalSize, 61u);
  EXPECT_EQ(head.capacity, 5u);
  EXPECT_EQ(head.inUse, 5u);
  EXPECT_EQ(store.AppInfoBlock()->Name(), "MemoDB" + std::string(25, 'N'));

  std::vector<std::uint8_t> buffer(8, 0);
  DatabaseInfoBlock target{};
  target.capacity = 4;
  target.data = buffer.data();
  EXPECT_EQ(store.GetAppInfo(&target), kBufferTooSmall);
  EXPECT_EQ(target.dataSize, 5u);
  target.capacity = 8;
  ASSERT_EQ(store.GetAppInfo(&target), kOk);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + 5), bytes);
  EXPECT_EQ(target.reserved, 0xCAFEu);
  target.data = nullptr;
  EXPECT_EQ(store.GetAppInfo(&target), kMissingArgument);
}

TEST(DesktopInfo, ApplicationSpecificDataFollowsTheCategoryBlock) {
  DesktopDatabaseManager store(nullptr, kOptionAppInfo | kOptionCategoryBlock, kFastSync, "DB", "a", nullptr);
  std::vector<std::uint8_t> categories = CategoryBlockWith(1, "Work", 5);
  DatabaseInfoBlock in = InfoFor("DB", categories);
  ASSERT_EQ(store.SetAppInfo(&in), kOk);
  EXPECT_FALSE(store.HasAppSpecificInfo());
  EXPECT_EQ(store.AppSpecificInfoSize(), 0u);
  EXPECT_EQ(store.AppSpecificInfoData(), nullptr);

  EXPECT_EQ(store.SetAppSpecificInfo(3, nullptr), kMissingArgument);
  ASSERT_EQ(store.SetAppSpecificInfo(3, "abc"), kOk);
  EXPECT_TRUE(store.HasAppSpecificInfo());
  EXPECT_EQ(store.AppSpecificInfoSize(), 3u);
  EXPECT_EQ(std::memcmp(store.AppSpecificInfoData(), "abc", 3), 0);
  const DesktopInfoBlock* block = store.AppInfoBlock();
  EXPECT_EQ(block->InUse(), 279u);
  EXPECT_EQ(block->Capacity(), 279u);
  EXPECT_EQ(std::vector<std::uint8_t>(block->Data(), block->Data() + 276), categories);

  char buffer[8] = {};
  std::uint32_t size = 2;
  EXPECT_EQ(store.GetAppSpecificInfo(buffer, &size), kBufferTooSmall);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(store.SetAppSpecificInfo(65520, "x"), kValueTooLarge);
}

TEST(DesktopCategories, ListIsBuiltFromTheBlockAndStoredBackWhenChanged) {
  DesktopDatabaseManager store(nullptr, kOptionAppInfo | kOptionCategoryBlock, kFastSync, "KORVETDatabaseDB", "a",
                               nullptr);
  EXPECT_EQ(store.BuildCategoryList(), kNoAppInfoForCategories);
  std::vector<std::uint8_t> categories = CategoryBlockWith(1, "Work", 5);
  DatabaseInfoBlock in = InfoFor("KORVETDatabaseDB", categories);
  ASSERT_EQ(store.SetAppInfo(&in), kOk);
  ASSERT_EQ(store.BuildCategoryList(), kOk);
  ASSERT_NE(store.GetCategoryList(), nullptr);
  EXPECT_STREQ(store.GetCategoryList()->GetAt(1)->GetName(), "Work");

  // Without its block, a changed list makes a 332-byte block of its own.
  store.Release();
  store.SetDirty(false);
  EXPECT_EQ(store.SaveCategories(), kOk);
  EXPECT_EQ(store.AppInfoBlock(), nullptr);
  CPCategory home;
  home.SetName("Home");
  home.SetId(9);
  home.SetIndex(2);
  ASSERT_EQ(store.GetCategoryList()->AddAndMarkChanged(home), kOk);
  ASSERT_EQ(store.SaveCategories(), kOk);
  const DesktopInfoBlock* block = store.AppInfoBlock();
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->TotalSize(), 332u);
  EXPECT_EQ(block->Capacity(), 276u);
  EXPECT_EQ(block->InUse(), 276u);
  EXPECT_EQ(block->Name(), "KORVETDatabaseDB");
  EXPECT_STREQ(reinterpret_cast<const char*>(block->Data() + 2 + 16), "Work");
  EXPECT_STREQ(reinterpret_cast<const char*>(block->Data() + 2 + 32), "Home");
  EXPECT_EQ(block->Data()[258 + 2], 9);
  EXPECT_TRUE(store.IsDirty());

  DesktopDatabaseManager plain(nullptr, kOptionAppInfo, kFastSync, "DB", "a", nullptr);
  EXPECT_EQ(plain.BuildCategoryList(), kOk);
  EXPECT_EQ(plain.GetCategoryList(), nullptr);
}

// A read that fails in the middle of a file sends no part of it: the run fails (no fall-back to a
// copy), the log names the file, and the shared store holds neither this file's part nor the text of
// the file before it.
TEST_F(DesktopStoreTest, AReadFailureInTheMiddleOfAFileSendsNothing) {
  folder_.Write("prev.qzl", "Ko1");
  ASSERT_EQ(Store(kFastSync, "prev.qzl")->Open(kOpenModeRead), kOk);
  ASSERT_EQ(SharedRecordText(), "prev.qzl,Ko1*");

  folder_.Write("cut.qzl", "Ko2 and more");
  FailingReadStore store(nullptr, 0, kFastSync, "KORVETDatabaseDB", "cut.qzl", folder_.Path().c_str());
  EXPECT_EQ(store.OpenForSync(), kReadFailed);
  EXPECT_FALSE(store.IsFileOpen());
  EXPECT_EQ(SharedRecordText(), "");
  EXPECT_EQ(bench_.LogTexts().back(), std::string(kSettingsFileUnreadableText) + store.Path());
}

}  // namespace
}  // namespace korvet::store
