// The stand-in HotSync installation: the folder that holds synchost.exe, with sync20.dll, hslog20.dll,
// CondMgr.dll, HotSync.log, the registrations and the folder Handheld.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace korvet::hotsync {

inline constexpr const char* kSyncManagerLibrary = "sync20.dll";
inline constexpr const char* kHotSyncLogLibrary = "hslog20.dll";
inline constexpr const char* kConduitManagerLibrary = "CondMgr.dll";
inline constexpr const char* kHandheldFolderName = "Handheld";

class Installation {
 public:
  explicit Installation(std::string folder) : folder_(std::move(folder)) {}
  static Installation OfThisProgram();

  const std::string& Folder() const { return folder_; }
  std::string PathOf(std::string_view name) const;
  std::string HandheldFolder() const { return PathOf(kHandheldFolderName); }
  // The full path of the first of these files that is missing; nothing when all are there.
  std::optional<std::string> FindMissing(std::initializer_list<const char*> files) const;

 private:
  std::string folder_;
};

// A full Windows path for a path given on the command line: relative paths are taken from the
// current folder and, under Wine, Linux paths ("/home/x/y.dll") become their drive paths.
std::string FullWindowsPath(const std::string& path);

}  // namespace korvet::hotsync
