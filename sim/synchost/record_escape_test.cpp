#include "sim/synchost/record_escape.h"

#include <gtest/gtest.h>

namespace korvet::hotsync {
namespace {

TEST(RecordEscape, PrintableAsItIsEverythingElseEscaped) {
  EXPECT_EQ(EscapeBytes("site1.qzl,Speed=5*"), "site1.qzl,Speed=5*");
  EXPECT_EQ(EscapeBytes("a\r\nb\tc"), "a\\r\\nb\\tc");
  EXPECT_EQ(EscapeBytes("C:\\Data\\"), "C:\\\\Data\\\\");
  EXPECT_EQ(EscapeBytes(std::string_view("\0\x01\x1F\x7F\x80\xFF", 6)), "\\x00\\x01\\x1F\\x7F\\x80\\xFF");
  EXPECT_EQ(EscapeBytes(" ~\"'"), " ~\"'");
  EXPECT_EQ(EscapeBytes(""), "");
  // An escaped backslash followed by a letter stays apart from an escape sequence.
  EXPECT_EQ(EscapeBytes("\\n"), "\\\\n");
}

TEST(RecordEscape, FourCharacterCodes) {
  EXPECT_EQ(FourCharText(0x4B525654), "KRVT");
  EXPECT_EQ(FourCharText(0x44415400), "DAT\\x00");
}

}  // namespace
}  // namespace korvet::hotsync
