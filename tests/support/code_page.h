// Tests that only mean something in a double-byte code page run under code page 932 from
// tests/code_page_932.sh (KORVET_EXPECT_ACP=932); in any other run they are skipped.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

// Skips the test unless the ANSI code page is `codePage`; fails instead when the run asked for it.
#define KORVET_REQUIRE_CODE_PAGE(codePage)                                                               \
  do {                                                                                                   \
    if (GetACP() != (codePage)) {                                                                        \
      const char* expected = std::getenv("KORVET_EXPECT_ACP");                                           \
      if (expected && std::atoi(expected) == (codePage)) FAIL() << "the ANSI code page is " << GetACP(); \
      GTEST_SKIP() << "needs code page " << (codePage) << " (tests/code_page_932.sh)";                   \
    }                                                                                                    \
  } while (false)

// Text in code page 932: 表 (0x95 0x5C), 表示, ソフト (0x83 0x5C ...), 報告; each 表 and ソ has a
// second byte that is the backslash's.
namespace korvet::testing::cp932 {
inline const std::string kTable = "\x95\x5C";
inline const std::string kDisplay = "\x95\x5C\x8E\xA6";
inline const std::string kSoftware = "\x83\x5C\x83\x74\x83\x67";
inline const std::string kReport = "\x95\xF1\x8D\x90";
}  // namespace korvet::testing::cp932
