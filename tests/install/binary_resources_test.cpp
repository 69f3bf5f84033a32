// What Windows reads from the built binaries before any code runs: each program's manifest (the
// execution level it asks for, the Windows versions it supports, DPI awareness, the version 6 common
// controls) and every binary's version resource, whose version agrees with the conduit's own answer.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "common/win_library.h"

namespace {

using korvet::UniqueLibrary;
using korvet::WinLibrary;

std::string ProductFile(const std::string& name) {
  char module[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, module, sizeof module);
  std::string path = module;
  path = path.substr(0, path.rfind('\\'));  // ...\tests
  return path.substr(0, path.rfind('\\')) + "\\korvet\\" + name;
}

std::string Manifest(const std::string& file) {
  UniqueLibrary module(LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  if (!module) return "<not loaded>";
  std::string text;
  if (HRSRC found = FindResourceA(module.Get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module.Get(), found)));
    if (bytes) text.assign(bytes, SizeofResource(module.Get(), found));
  }
  return text;
}

struct VersionResource {
  std::vector<char> block;
  std::string Text(const std::string& name) {
    char* value = nullptr;
    UINT length = 0;
    std::string key = "\\StringFileInfo\\040904E4\\" + name;
    if (!VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return {};
    return std::string(value);
  }
  std::uint32_t FileVersionHigh() {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) return 0;
    return fixed->dwFileVersionMS;
  }
};

VersionResource VersionOf(const std::string& file) {
  VersionResource version;
  DWORD size = GetFileVersionInfoSizeA(file.c_str(), nullptr);
  version.block.resize(size);
  if (size == 0 || !GetFileVersionInfoA(file.c_str(), 0, size, version.block.data())) version.block.assign(1, 0);
  return version;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(BinaryResources, EveryProgramDeclaresItsExecutionLevelAndTheWindowsItSupports) {
  const std::pair<const char*, const char*> programs[] = {
      {"Attachor.exe", "requireAdministrator"}, {"Detachor.exe", "requireAdministrator"}, {"Setpanel.exe", "asInvoker"},
      {"Setpanelrun.exe", "asInvoker"},         {"Xembrafilepath.dll", "asInvoker"},      {"Cardoon.dll", "asInvoker"}};
  for (const auto& [name, level] : programs) {
    const std::string manifest = Manifest(ProductFile(name));
    EXPECT_NE(manifest.find(std::string("<requestedExecutionLevel level=\"") + level + "\" uiAccess=\"false\"/>"),
              std::string::npos)
        << name << "\n"
        << manifest;
    EXPECT_EQ(Count(manifest, "<supportedOS Id="), 5u) << name;
    EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos) << name;  // 10 and 11
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos) << name;
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos)
        << name;
  }
}

TEST(BinaryResources, EveryBinaryCarriesTheConduitsVersionAndADescription) {
  // The conduit's answer to HotSync Manager: major version in the high byte, minor in the low byte.
  SetDllDirectoryA(ProductFile("..\\hotsync").c_str());  // its Sync Manager and HotSync log libraries
  WinLibrary korv(ProductFile("Korv.dll"));
  ASSERT_TRUE(korv);
  auto getVersion = korv.Get<std::uint32_t (*)()>("GetConduitVersion");
  ASSERT_TRUE(getVersion);
  const std::uint32_t major = getVersion() >> 8, minor = getVersion() & 0xFF;
  const std::string text = std::to_string(major) + "." + std::to_string(minor) + ".0.0";

  for (const char* name : {"Korv.dll", "Attachor.exe", "Detachor.exe", "Setpanel.exe", "Setpanelrun.exe",
                           "Xembrafilepath.dll", "Cardoon.dll"}) {
    VersionResource version = VersionOf(ProductFile(name));
    EXPECT_EQ(version.Text("ProductName"), "Korvet") << name;
    EXPECT_EQ(version.Text("FileDescription").rfind("Korvet ", 0), 0u) << name;
    EXPECT_EQ(version.Text("OriginalFilename"), name);
    EXPECT_EQ(version.Text("FileVersion"), text) << name;
    EXPECT_EQ(version.FileVersionHigh(), (major << 16) | minor) << name;
  }
}

}  // namespace
