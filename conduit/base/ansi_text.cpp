#include "conduit/base/ansi_text.h"

#include <cstring>

namespace korvet::base {

std::size_t CharBytes(const char* p) {
  if (*p == '\0') return 0;
  // A lead byte right before the end stands alone: the NUL is never swallowed.
  return IsLeadByte(*p) && p[1] != '\0' ? 2 : 1;
}

const char* NextChar(const char* p) { return p + CharBytes(p); }

std::size_t BoundedLength(const char* text, std::size_t maxBytes) {
  if (text == nullptr) return 0;
  std::size_t length = 0;
  for (std::size_t step; (step = CharBytes(text + length)) != 0 && length + step <= maxBytes;) {
    length += step;
  }
  return length;
}

std::size_t CopyBounded(char* buffer, std::size_t capacity, const char* text) {
  if (buffer == nullptr || capacity == 0) return 0;
  const std::size_t length = BoundedLength(text, capacity - 1);
  if (length != 0) std::memcpy(buffer, text, length);
  buffer[length] = '\0';
  return length;
}

}  // namespace korvet::base
