#include "sim/condmgr/registrations.h"

#include <gtest/gtest.h>

#include "sim/condmgr/korvet_registration.h"

namespace korvet::hotsync {
namespace {

ConduitRegistration Korvet() { return KorvetRegistration(); }

TEST(RegistrationFile, WritesOneSectionPerConduitInCrLfLines) {
  ConduitRegistration other{.creator = "a b!", .type = 0, .library = "x=y", .priority = -3, .info = "i"};
  EXPECT_EQ(SerializeRegistrations({Korvet(), other}),
            "; Conduits registered with the stand-in HotSync Manager.\r\n"
            "[KRVT]\r\nType=1\r\nLibrary=C:\\Korvet\\Korv.dll\r\nDirectory=\r\nFile=dummy.qzl\r\n"
            "Remote=KORVETDatabaseDB\r\nTitle=Korvet\r\nPriority=2\r\nInfo=\r\n"
            "[a b!]\r\nType=0\r\nLibrary=x=y\r\nDirectory=\r\nFile=\r\nRemote=\r\nTitle=\r\nPriority=-3\r\nInfo=i\r\n");
}

TEST(RegistrationFile, ReadsBackWhatItWrote) {
  Registrations written{Korvet(), {.creator = "ABCD", .library = " spaced value ", .title = "T\tab", .priority = 7}};
  std::string error;
  std::optional<Registrations> read = ParseRegistrations(SerializeRegistrations(written), &error);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(*read, written);
}

TEST(RegistrationFile, TakesLfLinesCommentsAndMissingKeys) {
  std::string error;
  std::optional<Registrations> read = ParseRegistrations("; note\n\n[KRVT]\nPriority=4\nTitle=K", &error);
  ASSERT_TRUE(read) << error;
  ASSERT_EQ(read->size(), 1u);
  EXPECT_EQ((*read)[0].priority, 4);
  EXPECT_EQ((*read)[0].title, "K");
  EXPECT_EQ((*read)[0].library, "");
}

TEST(RegistrationFile, RejectsDamagedText) {
  const char* damaged[] = {
      "Title=x\r\n",                         // outside a section
      "[KRVT]\r\nColour=red\r\n",            // unknown key
      "[KRVT]\r\nPriority=two\r\n",          // bad number
      "[KRVT]\r\nPriority=\r\n",             // empty number
      "[KRVT]\r\nPriority=99999999999\r\n",  // out of range
      "[KRV]\r\n",                           // short creator
      "[KRVT]\r\nTitle\r\n",                 // no '='
      "[KRVT]\r\n[KRVT]\r\n",                // twice
  };
  for (const char* text : damaged) {
    std::string error;
    EXPECT_FALSE(ParseRegistrations(text, &error)) << text;
    EXPECT_NE(error.find("line "), std::string::npos) << text;
  }
}

TEST(RegistrationFile, ChecksCreatorsAndValues) {
  EXPECT_TRUE(IsValidCreator("KRVT"));
  EXPECT_TRUE(IsValidCreator("a 1~"));
  EXPECT_FALSE(IsValidCreator("KRV"));
  EXPECT_FALSE(IsValidCreator("KRVTX"));
  EXPECT_FALSE(IsValidCreator(std::string_view("KR\0T", 4)));
  EXPECT_FALSE(IsValidCreator("KR\tT"));
  EXPECT_TRUE(IsValidValue(""));
  EXPECT_TRUE(IsValidValue("C:\\a b\\=;[x]\t"));
  EXPECT_FALSE(IsValidValue("a\nb"));
  EXPECT_FALSE(IsValidValue("a\rb"));
}

TEST(RegistrationOrder, LowestPriorityFirstAndTiesInRegistrationOrder) {
  Registrations list{{.creator = "AAAA", .priority = 2},
                     {.creator = "BBBB", .priority = 0},
                     {.creator = "CCCC", .priority = 2},
                     {.creator = "DDDD", .priority = 1}};
  Registrations ordered = InPriorityOrder(list);
  std::string creators;
  for (const ConduitRegistration& conduit : ordered) creators += conduit.creator;
  EXPECT_EQ(creators, "BBBBDDDDAAAACCCC");
  EXPECT_EQ(FindRegistration(list, "CCCC"), &list[2]);
  EXPECT_EQ(FindRegistration(list, "EEEE"), nullptr);
}

}  // namespace
}  // namespace korvet::hotsync
