#include "sim/support/line_files.h"

namespace korvet::sim {

bool ParseLines(std::string_view text, const LineParser& parseLine, std::string* error) {
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == ';') continue;
    std::string why;
    if (!parseLine(line, &why)) {
      *error = "line " + std::to_string(lineNumber) + ": " + why;
      return false;
    }
  }
  return true;
}

}  // namespace korvet::sim
