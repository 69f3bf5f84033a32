#include "conduit/sync/report_file_name.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "common/paths.h"

namespace korvet {
namespace {

bool IsDeviceName(const std::string& name) {
  static constexpr std::array<std::string_view, 22> kDevices = {
      "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
      "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
  // Windows takes "CON.anything" and "CON " as the device too.
  std::string base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  std::transform(base.begin(), base.end(), base.begin(), [](unsigned char c) { return std::toupper(c); });
  return std::find(kDevices.begin(), kDevices.end(), base) != kDevices.end();
}

}  // namespace

bool IsSafeReportName(const std::string& name) {
  if (name.find("..") != std::string::npos || EndsInLoneLeadByte(name)) return false;
  // Character by character in the desktop's code page: the second byte of a double-byte character
  // (0x5C in "表") is no separator there, while on a single-byte desktop the same byte is one.
  for (std::size_t at = 0; at < name.size(); at += CharBytesAt(name, at)) {
    if (CharBytesAt(name, at) == 2) continue;
    const auto c = static_cast<unsigned char>(name[at]);
    if (c < 0x20 || std::string_view("\\/:<>\"|?*").find(static_cast<char>(c)) != std::string_view::npos) {
      return false;
    }
  }
  return !IsDeviceName(name);
}

}  // namespace korvet
