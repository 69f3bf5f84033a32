#include "conduit/store/desktop_path.h"

#include "common/paths.h"

namespace korvet::store {
namespace {

bool IsEmpty(const char* text) { return !text || !*text; }

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
  return path.substr(0, ExtensionStart(path)) + (extension ? extension : "");
}

std::string NamePart(const std::string& path) {
  const std::size_t lastBackslash = LastSeparator(path);
  return lastBackslash == std::string::npos ? path : path.substr(lastBackslash + 1);
}

}  // namespace korvet::store
