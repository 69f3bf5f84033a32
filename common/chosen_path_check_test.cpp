#include "common/chosen_path_check.h"

#include <gtest/gtest.h>

namespace korvet {
namespace {

TEST(ChosenPathCheck, SettingsFilesWithReservedBytesAreRefusedNamingTheByte) {
  EXPECT_FALSE(SettingsFileRefusal("C:\\Data\\", "site1.qzl"));
  EXPECT_FALSE(SettingsFileRefusal("C:\\My Data (2)\\", "site#1$.qzl"));  // the folder's bytes are free here
  for (char reserved : std::string(",*@^&")) {
    std::string name = std::string("a") + reserved + "b.qzl";
    auto refusal = SettingsFileRefusal("C:\\Data\\", name);
    ASSERT_TRUE(refusal) << reserved;
    EXPECT_EQ(*refusal, std::string("The character '") + reserved +
                            "' cannot be used in the path of a settings file:\nC:\\Data\\" + name);
  }
  EXPECT_TRUE(SettingsFileRefusal("C:\\Site,North\\", "a.qzl"));
}

// What the session can use, and nothing more: its path and its .BAK copy's of at most 255 bytes.
TEST(ChosenPathCheck, SettingsFilesMustFitTheSessionsPathAndRecordName) {
  const std::string directory = "C:\\" + std::string(226, 'd') + "\\";          // 230 bytes
  EXPECT_FALSE(SettingsFileRefusal(directory, std::string(21, 'n') + ".qzl"));  // 230 + 25 = 255
  auto refusal = SettingsFileRefusal(directory, std::string(22, 'n') + ".qzl");
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->substr(0, refusal->find('\n')),
            "The path of this settings file is too long to be sent (at most 255 characters, its .BAK copy's too):");
  // Without an extension the .BAK copy's name is four bytes longer than the file's.
  EXPECT_FALSE(SettingsFileRefusal(directory, std::string(21, 'n')));
  EXPECT_TRUE(SettingsFileRefusal(directory, std::string(22, 'n')));
  EXPECT_FALSE(SettingsFileRefusal(directory, std::string(21, 'n') + ".q"));
  EXPECT_TRUE(SettingsFileRefusal(directory, std::string(22, 'n') + ".q"));
  // The name alone: 29 characters are sent, 30 would be skipped at the HotSync.
  EXPECT_FALSE(SettingsFileRefusal("C:\\Data\\", std::string(25, 'n') + ".qzl"));
  const std::string name = std::string(26, 'n') + ".qzl";
  refusal = SettingsFileRefusal("C:\\Data\\", name);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(*refusal,
            "The name of this settings file is too long to be sent (at most 29 characters):\nC:\\Data\\" + name);
}

TEST(ChosenPathCheck, ReportFoldersWithReservedBytesOrTooLongAreRefused) {
  EXPECT_FALSE(ReportFolderRefusal("C:\\Reports"));
  EXPECT_FALSE(ReportFolderRefusal("C:\\"));
  EXPECT_FALSE(ReportFolderRefusal("C:\\Site,North*"));  // the settings list's bytes are free here
  for (char reserved : std::string("@^$#%")) {
    std::string folder = std::string("C:\\R") + reserved;
    auto refusal = ReportFolderRefusal(folder);
    ASSERT_TRUE(refusal) << reserved;
    EXPECT_EQ(*refusal,
              std::string("The character '") + reserved + "' cannot be used in the report folder:\n" + folder);
  }
  // The folder and its backslash leave room for the temporary report file within 259 bytes.
  EXPECT_FALSE(ReportFolderRefusal("C:\\" + std::string(217, 'r')));  // 220
  auto refusal = ReportFolderRefusal("C:\\" + std::string(218, 'r'));
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->substr(0, refusal->find('\n')),
            "The path of this folder is too long for the reports (at most 220 characters):");
}

}  // namespace
}  // namespace korvet
