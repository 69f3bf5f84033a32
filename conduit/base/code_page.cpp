// The desktop's code page as Windows defines it: which bytes lead a double-byte character, and how
// letters change case. The character stepping in ansi_text.cpp builds on these.
#include "conduit/base/ansi_text.h"

#include <windows.h>

#include <string>

namespace korvet::base {

namespace {

unsigned g_codePage = 0;  // 0: the ANSI code page

UINT ConversionCodePage() { return g_codePage == 0 ? CP_ACP : g_codePage; }

// Case changes go through UTF-16 so that the code page decides which bytes are letters: a trail
// byte of a double-byte character is never taken for a letter of its own.
std::wstring Widen(const char* text) {
  if (text == nullptr || *text == '\0') return {};
  const int n = MultiByteToWideChar(ConversionCodePage(), 0, text, -1, nullptr, 0);
  if (n <= 1) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(ConversionCodePage(), 0, text, -1, wide.data(), n);
  wide.resize(static_cast<std::size_t>(n - 1));
  return wide;
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(ConversionCodePage(), 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(ConversionCodePage(), 0, wide.c_str(), -1, text.data(), n, nullptr, nullptr);
  text.resize(static_cast<std::size_t>(n - 1));
  return text;
}

std::wstring LowerWide(const char* text) {
  std::wstring wide = Widen(text);
  if (!wide.empty()) CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return wide;
}

std::wstring UpperWide(const char* text) {
  std::wstring wide = Widen(text);
  if (!wide.empty()) CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return wide;
}

}  // namespace

unsigned LeadByteCodePage() { return g_codePage == 0 ? GetACP() : g_codePage; }

ScopedCodePage::ScopedCodePage(unsigned codePage) : previous_(g_codePage) { g_codePage = codePage; }
ScopedCodePage::~ScopedCodePage() { g_codePage = previous_; }

bool IsLeadByte(char c) {
  const auto byte = static_cast<BYTE>(c);
  if (byte < 0x80) return false;
  return g_codePage == 0 ? IsDBCSLeadByte(byte) != FALSE : IsDBCSLeadByteEx(g_codePage, byte) != FALSE;
}

std::string ToUpperCase(const char* text) { return Narrow(UpperWide(text)); }
std::string ToLowerCase(const char* text) { return Narrow(LowerWide(text)); }

int CompareNoCase(const char* a, const char* b) { return LowerWide(a).compare(LowerWide(b)); }

}  // namespace korvet::base
