// Which bytes lead a double-byte character in the desktop's code page. A double-byte code page (932,
// 936, 949, 950) lets one character take two bytes, and its second byte may equal a single-byte
// character such as the backslash: whatever steps through ANSI text steps with this rule.
#pragma once

namespace korvet {

// The code page whose lead bytes are honoured: the ANSI code page unless a ScopedCodePage is alive.
unsigned LeadByteCodePage();

// Makes the text and path functions follow another code page for as long as it lives (tests use it to
// check double-byte behaviour on a single-byte desktop).
class ScopedCodePage {
 public:
  explicit ScopedCodePage(unsigned codePage);
  ~ScopedCodePage();
  ScopedCodePage(const ScopedCodePage&) = delete;
  ScopedCodePage& operator=(const ScopedCodePage&) = delete;

 private:
  unsigned previous_;
};

bool IsLeadByte(char c);

}  // namespace korvet
