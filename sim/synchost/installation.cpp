#include "sim/synchost/installation.h"

#include <vector>

#include <windows.h>

#include "common/paths.h"
#include "common/win_library.h"
#include "sim/support/sim_files.h"

namespace korvet::hotsync {

Installation Installation::OfThisProgram() { return Installation(ModuleFolder(nullptr)); }

std::string Installation::PathOf(std::string_view name) const { return JoinPath(folder_, name); }

std::optional<std::string> Installation::FindMissing(std::initializer_list<const char*> files) const {
  for (const char* file : files) {
    std::string path = PathOf(file);
    if (!FileExists(path)) return path;
  }
  return std::nullopt;
}

namespace {

// Wine's own conversion of a Linux path to a drive path; nothing outside Wine.
std::optional<std::string> DosPathUnderWine(const std::string& path) {
  using Convert = WCHAR* (*)(const char*);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto convert = kernel ? reinterpret_cast<Convert>(GetProcAddress(kernel, "wine_get_dos_file_name")) : nullptr;
  if (!convert) return std::nullopt;
  WCHAR* wide = convert(path.c_str());
  if (!wide) return std::nullopt;
  int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string converted;
  if (size > 0) {
    converted.resize(size);
    WideCharToMultiByte(CP_ACP, 0, wide, -1, converted.data(), size, nullptr, nullptr);
    converted.resize(size - 1);
  }
  HeapFree(GetProcessHeap(), 0, wide);
  if (converted.empty()) return std::nullopt;
  return converted;
}

}  // namespace

std::string FullWindowsPath(const std::string& path) {
  std::string source = path;
  if (!source.empty() && source.front() == '/') {
    if (std::optional<std::string> converted = DosPathUnderWine(source)) source = *converted;
  }
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetFullPathNameA(source.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0) return source;
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length + 1);
  }
}

}  // namespace korvet::hotsync
