#include "common/chosen_path_check.h"

#include <string_view>

#include "common/list_format.h"
#include "common/paths.h"

namespace korvet {
namespace {

constexpr std::string_view kSettingsListReserved = ",*@^&";
constexpr std::string_view kReportFolderReserved = "@^$#%";

std::optional<char> FirstReserved(const std::string& text, std::string_view reserved) {
  std::size_t at = text.find_first_of(reserved);
  if (at == std::string::npos) return std::nullopt;
  return text[at];
}

}  // namespace

bool SettingsPathFits(const std::string& directory, const std::string& fileName) {
  const std::size_t folderBytes = directory.size() + (EndsWithBackslash(directory) ? 0 : 1);
  // The .BAK copy's name takes the place of the extension, or is added to a name without one.
  const std::size_t stop = fileName.rfind('.');
  const std::size_t backupBytes = folderBytes + (stop == std::string::npos ? fileName.size() : stop) + 4;
  return folderBytes + fileName.size() <= lists::kMaxSettingsPathBytes && backupBytes <= lists::kMaxSettingsPathBytes;
}

std::optional<std::string> SettingsFileRefusal(const std::string& directory, const std::string& fileName) {
  const std::string path = directory + fileName;
  if (std::optional<char> c = FirstReserved(path, kSettingsListReserved))
    return std::string("The character '") + *c + "' cannot be used in the path of a settings file:\n" + path;
  if (fileName.size() > lists::kMaxSettingsFileNameChars)
    return "The name of this settings file is too long to be sent (at most " +
           std::to_string(lists::kMaxSettingsFileNameChars) + " characters):\n" + path;
  const std::size_t entryBytes = directory.size() + 1 + fileName.size() + 1;
  if (entryBytes > lists::kMaxEntryBytes || directory.size() > lists::kMaxDirectoryBytes ||
      fileName.size() > lists::kMaxFileNameBytes || !SettingsPathFits(directory, fileName))
    return "The path of this settings file is too long to be sent (at most " +
           std::to_string(lists::kMaxSettingsPathBytes) + " characters, its .BAK copy's too):\n" + path;
  return std::nullopt;
}

std::optional<std::string> ReportFolderRefusal(const std::string& folder) {
  if (std::optional<char> c = FirstReserved(folder, kReportFolderReserved))
    return std::string("The character '") + *c + "' cannot be used in the report folder:\n" + folder;
  // The folder and its backslash.
  if (folder.size() + 1 > lists::kMaxFolderBytes)
    return "The path of this folder is too long for the reports (at most " +
           std::to_string(lists::kMaxFolderBytes - 1) + " characters):\n" + folder;
  return std::nullopt;
}

}  // namespace korvet
