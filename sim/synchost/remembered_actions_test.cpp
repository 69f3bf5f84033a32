#include "sim/synchost/remembered_actions.h"

#include <gtest/gtest.h>

namespace korvet::hotsync {
namespace {

TEST(RememberedActions, OneActionPerConduitAndUser) {
  RememberedActions actions;
  EXPECT_FALSE(actions.Find("KRVT", "Ann"));
  actions.Set("KRVT", "Ann", 3);
  actions.Set("KRVT", "Bob Lee", 2);
  actions.Set("TEST", "Ann", 6);
  actions.Set("KRVT", "Ann", 0);
  EXPECT_EQ(actions.Find("KRVT", "Ann"), 0);
  EXPECT_EQ(actions.Find("KRVT", "Bob Lee"), 2);
  EXPECT_EQ(actions.Find("TEST", "Ann"), 6);
  EXPECT_FALSE(actions.Find("TEST", "Bob Lee"));
  EXPECT_EQ(actions.Serialize(),
            "; Sync actions chosen with configure: creator<TAB>action<TAB>user\r\n"
            "KRVT\t0\tAnn\r\nKRVT\t2\tBob Lee\r\nTEST\t6\tAnn\r\n");
}

TEST(RememberedActions, ReadsBackWhatItWroteAndLfLines) {
  RememberedActions actions;
  actions.Set("KRVT", "Ann", -7);
  actions.Set("a b ", " spaced ", 3);
  std::string error;
  std::optional<RememberedActions> read = RememberedActions::Parse(actions.Serialize(), &error);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(read->Entries(), actions.Entries());
  read = RememberedActions::Parse("; c\n\nKRVT\t2\tAnn\n", &error);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(read->Find("KRVT", "Ann"), 2);
}

TEST(RememberedActions, RejectsDamagedLines) {
  for (const char* text : {"KRVT\t2\r\n", "KRVT\tx\tAnn\r\n", "KRV\t2\tAnn\r\n", "KRVT\t\tAnn\r\n", "KRVT\t2\t\r\n",
                           "KRVT\t2\tA\tB\r\n", "KRVT 2 Ann\r\n"}) {
    std::string error;
    EXPECT_FALSE(RememberedActions::Parse(text, &error)) << text;
    EXPECT_EQ(error.rfind("line 1", 0), 0u) << error;
  }
}

}  // namespace
}  // namespace korvet::hotsync
