// The lead-byte rule as Windows defines it for the code page.
#include "common/code_page.h"

#include <windows.h>

namespace korvet {
namespace {

unsigned g_codePage = 0;  // 0: the ANSI code page

}  // namespace

unsigned LeadByteCodePage() { return g_codePage == 0 ? GetACP() : g_codePage; }

ScopedCodePage::ScopedCodePage(unsigned codePage) : previous_(g_codePage) { g_codePage = codePage; }
ScopedCodePage::~ScopedCodePage() { g_codePage = previous_; }

bool IsLeadByte(char c) {
  const auto byte = static_cast<BYTE>(c);
  if (byte < 0x80) return false;
  return g_codePage == 0 ? IsDBCSLeadByte(byte) != FALSE : IsDBCSLeadByteEx(g_codePage, byte) != FALSE;
}

}  // namespace korvet
