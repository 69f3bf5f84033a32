#include <gtest/gtest.h>

#include <string>

#include "conduit/store/status_codes.h"
#include "conduit/sync/settings_file_store.h"

namespace korvet {
namespace {

std::string DataOf(const store::SyncRecord& record) {
  return std::string(reinterpret_cast<const char*>(record.GetData()), record.GetDataSize());
}

TEST(SettingsRecordText, NameCommaTextAsterisk) {
  SettingsFileStore store;
  ASSERT_EQ(store.SetFileName("C:\\Korvet\\Sites\\dummy.qzl"), store::kOk);
  EXPECT_STREQ(store.FileName(), "dummy.qzl");
  ASSERT_EQ(store.BuildRecordText("Ko1"), store::kOk);
  EXPECT_STREQ(store.RecordText(), "dummy.qzl,Ko1*");

  store::SyncRecord record;
  record.SetId(77);
  record.SetCategory(4);
  record.SetAttributes(store::kRecordNew | store::kRecordArchived);
  record.SetPrivate(true);
  ASSERT_TRUE(store.FillRecord(record));
  EXPECT_EQ(DataOf(record), "dummy.qzl,Ko1*");
  EXPECT_EQ(record.GetDataSize(), 14u);
  EXPECT_EQ(record.GetId(), 0u);
  EXPECT_EQ(record.GetCategory(), 0);
  EXPECT_EQ(record.GetAttributes(), store::kRecordModified);
  EXPECT_FALSE(record.IsPrivate());
}

TEST(SettingsRecordText, EachFileReplacesTheLastOne) {
  SettingsFileStore store;
  store.SetFileName("C:\\a\\long-name-first.qzl");
  store.BuildRecordText("Kfirst text");
  store.SetFileName("b.qzl");
  EXPECT_STREQ(store.RecordText(), "");  // a file refused from here on never carries the last text
  store.BuildRecordText("");
  EXPECT_STREQ(store.RecordText(), "b.qzl,*");
  store.SetFileName(nullptr);
  store.BuildRecordText(nullptr);
  EXPECT_STREQ(store.RecordText(), ",*");
}

TEST(SettingsRecordText, NamesOfThirtyCharactersOrMoreAreRefused) {
  SettingsFileStore store;
  const std::string longest(29, 'n');
  ASSERT_EQ(store.SetFileName(("C:\\x\\" + longest).c_str()), store::kOk);
  ASSERT_EQ(store.BuildRecordText("Ko"), store::kOk);
  EXPECT_EQ(std::string(store.RecordText()), longest + ",Ko*");

  EXPECT_EQ(store.SetFileName(("C:\\x\\" + longest + "n").c_str()), store::kValueTooLarge);
  EXPECT_STREQ(store.FileName(), "");
  EXPECT_EQ(store.BuildRecordText("Ko"), store::kValueTooLarge);
  EXPECT_STREQ(store.RecordText(), "");
  // Without a record text the record is an empty, deleted one.
  store::SyncRecord record;
  ASSERT_TRUE(store.FillRecord(record));
  EXPECT_EQ(record.GetDataSize(), 0u);
  EXPECT_TRUE(record.IsDeleted());
  EXPECT_TRUE(record.IsModified());
}

TEST(SettingsRecordText, TextThatDoesNotFitTheRecordIsRefusedWhole) {
  SettingsFileStore store;
  store.SetFileName(std::string(29, 'n').c_str());
  // Name, comma, text and asterisk fill 511 bytes: the largest record there is.
  const std::string fits = "K" + std::string(479, 't');
  ASSERT_EQ(store.BuildRecordText(fits.c_str()), store::kOk);
  EXPECT_EQ(std::string(store.RecordText()), std::string(29, 'n') + "," + fits + "*");

  // One byte more, and nothing of the file is kept: a shortened file would be other settings.
  const std::string tooLong = fits + "t";
  EXPECT_EQ(store.BuildRecordText(tooLong.c_str()), store::kValueTooLarge);
  EXPECT_STREQ(store.RecordText(), "");
}

}  // namespace
}  // namespace korvet
