// The conduit's string table, loaded through the text buffer as the log and the dialogs load it.
#include <windows.h>

#include <gtest/gtest.h>

#include "conduit/base/text_buffer.h"
#include "conduit/store/string_ids.h"

namespace korvet::store {
namespace {

using base::TextBuffer;

TEST(TextBufferStringTable, LoadsTemplatesOfTheModule) {
  TextBuffer text;
  text.SetModule(GetModuleHandleA(nullptr));
  EXPECT_TRUE(text.LoadFromStringTable(IDS_CONDUIT_NAME));
  EXPECT_STREQ(text.Text(), "Korvet");
  EXPECT_FALSE(text.LoadFromStringTable(9999));
  EXPECT_STREQ(text.Text(), "");

  TextBuffer own;  // without a module, the conduit's own table serves
  EXPECT_TRUE(own.LoadFromStringTable(IDS_DATABASE_INFO_SHORT));
  EXPECT_STREQ(own.Text(), "DB Name %1s, Creator ID %2s");
  EXPECT_NE(own.GetModule(), nullptr);

  EXPECT_EQ(FormatFromStringTable(text, IDS_RECORD_ID, 4294967295u), 0);
  EXPECT_STREQ(text.Text(), "Record ID 4294967295");
}

}  // namespace
}  // namespace korvet::store
