#include "conduit/store/desktop_path.h"

#include "conduit/base/ansi_text.h"

namespace korvet::store {
namespace {

bool IsEmpty(const char* text) { return !text || !*text; }

// Byte offsets of the last single-byte character equal to one of `wanted`, stepping character by
// character so that the second byte of a double-byte character never counts.
std::size_t LastCharOf(const std::string& text, const char* wanted) {
  std::size_t found = std::string::npos;
  for (const char* p = text.c_str(); *p; p = base::NextChar(p)) {
    if (base::CharBytes(p) == 1) {
      for (const char* w = wanted; *w; ++w) {
        if (*p == *w) found = static_cast<std::size_t>(p - text.c_str());
      }
    }
  }
  return found;
}

bool EndsWithBackslash(const std::string& text) {
  const std::size_t last = LastCharOf(text, "\\");
  return last != std::string::npos && last + 1 == text.size();
}

}  // namespace

std::string BuildDesktopPath(const char* directory, const char* fileName) {
  if (!IsEmpty(directory)) {
    std::string path = directory;
    if (!EndsWithBackslash(path)) path += '\\';
    path += IsEmpty(fileName) ? kGenericFileName : fileName;
    return path;
  }
  return IsEmpty(fileName) ? std::string() : std::string(fileName);
}

std::string ReplaceExtension(const std::string& path, const char* extension) {
  const std::size_t lastSeparator = LastCharOf(path, "\\/");
  const std::size_t lastStop = LastCharOf(path, ".");
  const bool stopInName =
      lastStop != std::string::npos && (lastSeparator == std::string::npos || lastStop > lastSeparator);
  return (stopInName ? path.substr(0, lastStop) : path) + (extension ? extension : "");
}

std::string NamePart(const std::string& path) {
  const std::size_t lastBackslash = LastCharOf(path, "\\");
  return lastBackslash == std::string::npos ? path : path.substr(lastBackslash + 1);
}

}  // namespace korvet::store
