#include "common/report_folder_reader.h"

#include <gtest/gtest.h>

#include "common/list_format.h"

#ifdef _WIN32
#include "common/win_file.h"
#endif

namespace korvet {
namespace {

ReportFolderSettings Read(const std::string& bytes) {
  MemoryBytes file(bytes);
  return ReadReportFolderSettings(file);
}

// What the desktop programs write is what the session reads: the folder the user chose, and both flags.
TEST(ReportFolderReader, ReadsBackWhatTheProgramsWrite) {
  for (bool retrieve : {false, true}) {
    for (bool deleteReports : {false, true}) {
      const std::string text = ReportFolderSettings::StoredFolder("C:\\Reports") + lists::kEndMarker +
                               ReportFolderSettings::FlagBytes(retrieve, deleteReports);
      const ReportFolderSettings read = Read(text);
      EXPECT_EQ(ReportFolderSettings::ShownFolder(read.folder), "C:\\Reports") << text;
      EXPECT_EQ(read.retrieve, retrieve) << text;
      EXPECT_EQ(read.deleteReports, deleteReports) << text;
      EXPECT_EQ(read.ending, ReportFolderSettings::Ending::kComplete) << text;
    }
  }
}

TEST(ReportFolderReader, FlagsAfterTheMarkerSwitchRetrievalAndDeletion) {
  ReportFolderSettings both = Read("C:\\Reports\\@$#");
  EXPECT_EQ(both.folder, "C:\\Reports\\");
  EXPECT_TRUE(both.retrieve);
  EXPECT_TRUE(both.deleteReports);

  ReportFolderSettings keep = Read("C:\\Reports\\@$%trailing");
  EXPECT_TRUE(keep.retrieve);
  EXPECT_FALSE(keep.deleteReports);

  ReportFolderSettings off = Read("C:\\Reports\\@^%");
  EXPECT_FALSE(off.retrieve);
  EXPECT_FALSE(off.deleteReports);
}

TEST(ReportFolderReader, FileWithoutBothFlagsRetrievesNothing) {
  // Flags before the '@' belong to the folder text.
  for (const char* bytes :
       {"C:\\Reports\\@", "C:\\Reports\\@$", "", "C:\\Reports\\", "C:\\Reports$#", "C:\\Reports\\$#", "$#@"}) {
    ReportFolderSettings settings = Read(bytes);
    EXPECT_FALSE(settings.retrieve) << bytes;
    EXPECT_FALSE(settings.deleteReports) << bytes;
  }
}

#ifdef _WIN32
TEST(ReportFolderReader, MissingFileRetrievesNothing) {
  WinFile missing = WinFile::OpenForReading("Z:\\no\\such\\Cardoon.dat");
  ReportFolderSettings settings = ReadReportFolderSettings(missing);
  EXPECT_FALSE(settings.retrieve);
}
#endif

// The folder, its backslash included, leaves room for the temporary report file's name within 259.
TEST(ReportFolderReader, FolderLongerThanTheLimitRetrievesNothing) {
  const std::string folder = "C:\\" + std::string(lists::kMaxFolderBytes - 3, 'r') + "\\";  // one byte over
  ReportFolderSettings settings = Read(folder + "@$#");
  EXPECT_TRUE(settings.folderTooLong);
  EXPECT_FALSE(settings.retrieve);
  EXPECT_FALSE(settings.deleteReports);
  ReportFolderSettings fits = Read(folder.substr(1) + "@$#");
  EXPECT_FALSE(fits.folderTooLong);
  EXPECT_TRUE(fits.retrieve);
}

}  // namespace
}  // namespace korvet
