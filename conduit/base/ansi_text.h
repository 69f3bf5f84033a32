// Character stepping for the desktop's ANSI texts. A double-byte code page lets one character take two
// bytes (a lead byte and the byte after it), so positions, cuts and searches step character by
// character with the system's lead-byte rule instead of byte by byte.
#pragma once

#include <cstddef>
#include <string>

#include "common/code_page.h"

namespace korvet::base {

// Bytes of the character at p: 0 at the terminating NUL, 2 for a lead byte followed by a byte, else 1.
std::size_t CharBytes(const char* p);

// The character after the one at p; p itself at the terminating NUL.
const char* NextChar(const char* p);

// Bytes of the longest prefix of text that has at most maxBytes bytes and does not end inside a
// double-byte character.
std::size_t BoundedLength(const char* text, std::size_t maxBytes);

// Copies text into buffer (capacity bytes, NUL included) without splitting a character; returns the
// bytes copied. A capacity of 0 writes nothing.
std::size_t CopyBounded(char* buffer, std::size_t capacity, const char* text);

// The text with its letters in upper or lower case, in the active code page. Null counts as empty.
std::string ToUpperCase(const char* text);
std::string ToLowerCase(const char* text);

// Compares two texts ignoring letter case in the active code page (negative, 0, positive). Null
// counts as empty.
int CompareNoCase(const char* a, const char* b);

}  // namespace korvet::base
