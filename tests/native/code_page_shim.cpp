// Stands in, on Linux, for the code-page calls that ask Windows: the lead-byte rule
// (common/code_page.cpp) and case (conduit/base/code_page.cpp). The tables are glibc's iconv tables of the same code
// pages, and case follows Unicode through the C.UTF-8 locale. The desktop's own code page is taken to be 1252 (a
// western desktop); tests of other code pages name theirs with ScopedCodePage. Whether Windows itself agrees is tested
// under Wine, never here.
#include <iconv.h>
#include <locale.h>

#include <algorithm>
#include <bitset>
#include <cerrno>
#include <cstring>
#include <cwctype>
#include <map>
#include <string>

#include "conduit/base/ansi_text.h"

namespace korvet {
namespace {

constexpr unsigned kDesktopCodePage = 1252;
unsigned g_codePage = 0;  // 0: the desktop's code page

std::string IconvName(unsigned codePage) { return "CP" + std::to_string(codePage); }

}  // namespace

unsigned LeadByteCodePage() { return g_codePage == 0 ? kDesktopCodePage : g_codePage; }

ScopedCodePage::ScopedCodePage(unsigned codePage) : previous_(g_codePage) { g_codePage = codePage; }
ScopedCodePage::~ScopedCodePage() { g_codePage = previous_; }

// A lead byte is one that iconv finds incomplete on its own; the table of each code page is made once.
bool IsLeadByte(char c) {
  static std::map<unsigned, std::bitset<256>> tables;
  const unsigned codePage = LeadByteCodePage();
  auto [table, made] = tables.try_emplace(codePage);
  if (made) {
    iconv_t converter = iconv_open("WCHAR_T", IconvName(codePage).c_str());
    for (int byte = 0x80; byte < 0x100 && converter != reinterpret_cast<iconv_t>(-1); ++byte) {
      char in = static_cast<char>(byte);
      char* inPointer = &in;
      std::size_t inLeft = 1;
      wchar_t wide = 0;
      char* out = reinterpret_cast<char*>(&wide);
      std::size_t outLeft = sizeof wide;
      iconv(converter, nullptr, nullptr, nullptr, nullptr);
      table->second[byte] =
          iconv(converter, &inPointer, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) && errno == EINVAL;
    }
    if (converter != reinterpret_cast<iconv_t>(-1)) iconv_close(converter);
  }
  return table->second[static_cast<unsigned char>(c)];
}

namespace base {
namespace {

// Converts with iconv; false when the text ends inside a character. A byte the code page leaves
// unmapped is dropped.
bool Convert(const char* to, const char* from, const std::string& in, std::string& out) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return false;
  out.assign(in.size() * 4 + 16, '\0');
  char* inPointer = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char* outPointer = out.data();
  std::size_t outLeft = out.size();
  bool whole = true;
  while (inLeft > 0) {
    if (iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) != static_cast<std::size_t>(-1)) continue;
    if (errno != EILSEQ) {
      whole = false;
      break;
    }
    ++inPointer;
    --inLeft;
  }
  iconv_close(converter);
  out.resize(out.size() - outLeft);
  return whole;
}

std::wstring Widen(const char* text) {
  std::string wide;
  if (text == nullptr || !Convert("WCHAR_T", IconvName(LeadByteCodePage()).c_str(), text, wide)) return {};
  return std::wstring(reinterpret_cast<const wchar_t*>(wide.data()), wide.size() / sizeof(wchar_t));
}

std::string Narrow(const std::wstring& wide) {
  std::string text;
  const std::string bytes(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
  Convert(IconvName(LeadByteCodePage()).c_str(), "WCHAR_T", bytes, text);
  return text;
}

std::wstring ChangeCase(const char* text, bool upper) {
  static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  std::wstring wide = Widen(text);
  for (wchar_t& c : wide) c = static_cast<wchar_t>(upper ? towupper_l(c, unicode) : towlower_l(c, unicode));
  return wide;
}

}  // namespace

std::string ToUpperCase(const char* text) { return Narrow(ChangeCase(text, true)); }
std::string ToLowerCase(const char* text) { return Narrow(ChangeCase(text, false)); }

// Character by character rather than with wstring::compare, whose vectorised wmemcmp Valgrind takes
// for a read past the end.
int CompareNoCase(const char* a, const char* b) {
  const std::wstring left = ChangeCase(a, false);
  const std::wstring right = ChangeCase(b, false);
  const auto [l, r] = std::mismatch(left.begin(), left.end(), right.begin(), right.end());
  if (l == left.end()) return r == right.end() ? 0 : -1;
  if (r == right.end()) return 1;
  return *l < *r ? -1 : 1;
}

}  // namespace base
}  // namespace korvet
