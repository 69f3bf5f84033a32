// Record bytes as one printable line: printable ASCII as it is, backslash doubled, \r \n \t for
// those control characters and \xNN (upper-case hex) for every other byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvet::hotsync {

std::string EscapeBytes(std::string_view bytes);
// A creator ID or database type: the four characters, escaped like record bytes.
std::string FourCharText(std::uint32_t code);

}  // namespace korvet::hotsync
