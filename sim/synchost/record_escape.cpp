#include "sim/synchost/record_escape.h"

namespace korvet::hotsync {

std::string EscapeBytes(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size());
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    switch (byte) {
      case '\\':
        text += "\\\\";
        break;
      case '\r':
        text += "\\r";
        break;
      case '\n':
        text += "\\n";
        break;
      case '\t':
        text += "\\t";
        break;
      default:
        if (byte >= 0x20 && byte <= 0x7E) {
          text += c;
        } else {
          text += "\\x";
          text += kHex[byte >> 4];
          text += kHex[byte & 0xF];
        }
    }
  }
  return text;
}

std::string FourCharText(std::uint32_t code) {
  char bytes[4] = {static_cast<char>(code >> 24), static_cast<char>(code >> 16), static_cast<char>(code >> 8),
                   static_cast<char>(code)};
  return EscapeBytes(std::string_view(bytes, 4));
}

}  // namespace korvet::hotsync
