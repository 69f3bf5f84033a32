#include "common/paths.h"

#include "common/code_page.h"

namespace korvet {

std::size_t CharBytesAt(std::string_view text, std::size_t offset) {
  return IsLeadByte(text[offset]) && offset + 1 < text.size() && text[offset + 1] != '\0' ? 2 : 1;
}

std::size_t LastSeparator(std::string_view path, bool slashToo) {
  std::size_t found = std::string_view::npos;
  for (std::size_t at = 0; at < path.size(); at += CharBytesAt(path, at)) {
    if (path[at] == '\\' || (slashToo && path[at] == '/')) found = at;
  }
  return found;
}

std::size_t ExtensionStart(std::string_view path) {
  const std::size_t separator = LastSeparator(path, true);
  std::size_t stop = std::string_view::npos;
  for (std::size_t at = separator == std::string_view::npos ? 0 : separator + 1; at < path.size();
       at += CharBytesAt(path, at)) {
    if (path[at] == '.') stop = at;
  }
  return stop;
}

bool EndsWithBackslash(std::string_view path) { return !path.empty() && LastSeparator(path) == path.size() - 1; }

bool EndsInLoneLeadByte(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t bytes = CharBytesAt(text, at);
    if (at + bytes == text.size()) return bytes == 1 && IsLeadByte(text[at]);
    at += bytes;
  }
  return false;
}

std::string ParentFolder(std::string_view path) {
  const std::size_t separator = LastSeparator(path, true);
  return separator == std::string_view::npos ? std::string() : std::string(path.substr(0, separator));
}

std::string FileNameOf(std::string_view path) {
  const std::size_t separator = LastSeparator(path, true);
  return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string WithoutTrailingSeparators(std::string path) {
  const auto isDriveRoot = [](const std::string& p) { return p.size() == 3 && p[1] == ':'; };
  while (path.size() > 1 && !isDriveRoot(path) && LastSeparator(path, true) == path.size() - 1) path.pop_back();
  return path;
}

std::string JoinPath(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (!path.empty() && LastSeparator(path, true) != path.size() - 1) path += '\\';
  path += name;
  return path;
}

bool IsFullPath(std::string_view path) {
  const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  const bool drive = path.size() >= 3 && letter(path[0]) && path[1] == ':' && path[2] == '\\';
  const bool network = path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
  return drive || network;
}

}  // namespace korvet
