// The text buffer over any text, on a western and a double-byte desktop: positions, pieces, searches
// and case changes stay inside the text and never split a character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "conduit/base/ansi_text.h"
#include "conduit/base/text_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvet::base;
  if (size < 2) return 0;
  const korvet::ScopedCodePage codePage((data[0] & 1) ? 932 : 1252);
  const long start = data[1] % 64;
  const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
  TextBuffer buffer;
  buffer.AssignText(text.c_str());
  const long length = buffer.Length();
  if (length < 0 || static_cast<std::size_t>(length) > std::strlen(text.c_str())) std::abort();
  TextBuffer piece = buffer.Mid(start, start / 2);
  if (std::strlen(piece.Text()) > std::strlen(buffer.Text())) std::abort();
  buffer.FindOneOf("\\/:");
  buffer.CharAt(start);
  buffer.TrimRight();
  buffer.TrimLeft();
  buffer.MakeUpper();
  buffer.MakeLower();
  buffer.CompareTextNoCase(text.c_str());
  TextBuffer word = buffer.TakeFirstWord();
  if (std::strlen(word.Text()) > text.size()) std::abort();
  return 0;
}
