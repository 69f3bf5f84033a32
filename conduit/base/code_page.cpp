// How letters change case in the desktop's code page (or the one a ScopedCodePage chose), as Windows
// defines it.
#include "conduit/base/ansi_text.h"

#include <windows.h>

#include <string>

namespace korvet::base {

namespace {

// Case changes go through UTF-16 so that the code page decides which bytes are letters: a trail
// byte of a double-byte character is never taken for a letter of its own.
std::wstring Widen(const char* text) {
  if (text == nullptr || *text == '\0') return {};
  const int n = MultiByteToWideChar(LeadByteCodePage(), 0, text, -1, nullptr, 0);
  if (n <= 1) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(LeadByteCodePage(), 0, text, -1, wide.data(), n);
  wide.resize(static_cast<std::size_t>(n - 1));
  return wide;
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(LeadByteCodePage(), 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(LeadByteCodePage(), 0, wide.c_str(), -1, text.data(), n, nullptr, nullptr);
  text.resize(static_cast<std::size_t>(n - 1));
  return text;
}

std::wstring ChangeCase(const char* text, bool upper) {
  std::wstring wide = Widen(text);
  const auto length = static_cast<DWORD>(wide.size());
  if (length > 0) upper ? CharUpperBuffW(wide.data(), length) : CharLowerBuffW(wide.data(), length);
  return wide;
}

}  // namespace

std::string ToUpperCase(const char* text) { return Narrow(ChangeCase(text, true)); }
std::string ToLowerCase(const char* text) { return Narrow(ChangeCase(text, false)); }

int CompareNoCase(const char* a, const char* b) { return ChangeCase(a, false).compare(ChangeCase(b, false)); }

}  // namespace korvet::base
