// The folder of .pdb files that stands for the handheld's memory.
#include <algorithm>
#include <cctype>
#include <string_view>

#include "common/paths.h"
#include "sim/pdb/palm_database.h"
#include "sim/support/sim_files.h"
#include "sim/support/win_errors.h"
#include "sim/support/win_handles.h"

namespace korvet::sim {
namespace {

constexpr const char* kExtension = ".pdb";
constexpr const char* kTemporarySuffix = ".tmp";
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 30;  // far above any real handheld database

bool Fail(std::string* error, const std::string& text) {
  if (error != nullptr) *error = text;
  return false;
}

bool EndsWithPdb(const std::string& fileName) {
  if (fileName.size() <= 4) return false;
  std::string tail = fileName.substr(fileName.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
  return tail == kExtension;
}

}  // namespace

HandheldFolder::HandheldFolder(std::string folder) : folder_(WithoutTrailingSeparators(std::move(folder))) {}

bool HandheldFolder::IsStorableName(const std::string& databaseName) {
  if (databaseName.empty() || databaseName.size() > kMaxDatabaseNameLength) return false;
  for (unsigned char c : databaseName) {
    if (c < 0x20 || std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) {
      return false;
    }
  }
  // Windows drops a trailing dot or space from a file name, which would make two names one file.
  return databaseName.back() != '.' && databaseName.back() != ' ';
}

std::string HandheldFolder::PathOf(const std::string& databaseName) const {
  return JoinPath(folder_, databaseName + kExtension);
}

std::vector<std::string> HandheldFolder::List() const {
  std::vector<std::string> names;
  FileSearch search(folder_ + "\\*" + kExtension);
  for (bool more = search.Valid(); more; more = search.Next()) {
    const WIN32_FIND_DATAA& found = search.Current();
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string fileName = found.cFileName;
    if (!EndsWithPdb(fileName)) continue;  // "*.pdb" can also match longer extensions
    names.push_back(fileName.substr(0, fileName.size() - 4));
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool HandheldFolder::Exists(const std::string& databaseName) const {
  return IsStorableName(databaseName) && FileExists(PathOf(databaseName));
}

std::optional<PalmDatabase> HandheldFolder::Load(const std::string& databaseName, std::string* error) const {
  if (!IsStorableName(databaseName)) {
    Fail(error, "\"" + databaseName + "\" cannot be the name of a database file");
    return std::nullopt;
  }
  const std::string path = PathOf(databaseName);
  std::vector<std::uint8_t> bytes;
  std::string why;
  if (!ReadWholeFile(path, kMaxFileBytes, &bytes, &why)) {
    Fail(error, why);
    return std::nullopt;
  }
  std::optional<PalmDatabase> database = ParsePalmDatabase(bytes, &why);
  if (!database) Fail(error, path + " is damaged: " + why);
  return database;
}

bool HandheldFolder::CreateFolder(std::string* error) const {
  std::string why;
  if (!CreateFolderTree(folder_, &why)) return Fail(error, why);
  return true;
}

bool HandheldFolder::Save(const PalmDatabase& database, std::string* error) const {
  std::string why;
  if (!CheckStorable(database, &why)) return Fail(error, "cannot save \"" + database.name + "\": " + why);
  if (!IsStorableName(database.name)) {
    return Fail(error, "\"" + database.name + "\" cannot be the name of a database file");
  }
  if (!CreateFolder(error)) return false;
  const std::string path = PathOf(database.name);
  const std::vector<std::uint8_t> bytes = SerializePalmDatabase(database);
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!ReplaceFileContents(path, path + kTemporarySuffix, text, DescribeWin32Error, &why)) return Fail(error, why);
  return true;
}

bool HandheldFolder::Remove(const std::string& databaseName) const {
  return IsStorableName(databaseName) && DeleteFileA(PathOf(databaseName).c_str()) != 0;
}

}  // namespace korvet::sim
