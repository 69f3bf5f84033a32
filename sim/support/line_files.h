// The stand-in installation's small text files (Conduits.txt, Actions.txt): lines end with CR LF and a
// reader also takes LF alone; empty lines and lines starting with ';' are ignored.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "sim/support/sim_files.h"

namespace korvet::sim {

// Takes one line without its line end; false with *why set refuses it.
using LineParser = std::function<bool(std::string_view line, std::string* why)>;

// Hands each line that is neither empty nor a comment to parseLine, in order. Stops at the first line
// refused; *error is then "line <number>: <why>", counting every line from 1.
bool ParseLines(std::string_view text, const LineParser& parseLine, std::string* error);

// Reads the file and parses its text; a missing file holds nothing (a default Parsed). Nothing when the
// file cannot be read or parsed; *error then says why, a parse failure after "<path>, ".
template <typename Parsed>
std::optional<Parsed> LoadLineFile(const std::string& path,
                                   std::optional<Parsed> (*parse)(std::string_view text, std::string* error),
                                   std::string* error) {
  std::string text;
  bool missing = false;
  if (!ReadTextFile(path, &text, &missing, error)) return missing ? std::optional<Parsed>(Parsed{}) : std::nullopt;
  std::string why;
  std::optional<Parsed> parsed = parse(text, &why);
  if (!parsed) *error = path + ", " + why;
  return parsed;
}

}  // namespace korvet::sim
