#include "conduit/store/sync_logger.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "conduit/store/string_ids.h"
#include "conduit/store/sync_record.h"
#include "sim/hslog20/hslog20_control.h"

namespace korvet::store {
namespace {

struct LogLine {
  long activity;
  std::string text;
  bool operator==(const LogLine& other) const { return activity == other.activity && text == other.text; }
};

std::ostream& operator<<(std::ostream& out, const LogLine& line) {
  return out << "{" << line.activity << ", \"" << line.text << "\"}";
}

// Sends the stand-in HotSync log to a scratch file and reads its lines back.
class LoggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HMODULE log = GetModuleHandleA("hslog20.dll");
    ASSERT_NE(log, nullptr);
    setFile_ = reinterpret_cast<SimLogSetFileFn>(GetProcAddress(log, "SimLogSetFile"));
    auto beginConduit = reinterpret_cast<SimLogBeginConduitFn>(GetProcAddress(log, "SimLogBeginConduit"));
    ASSERT_NE(setFile_, nullptr);
    ASSERT_NE(beginConduit, nullptr);
    char folder[MAX_PATH];
    GetTempPathA(sizeof(folder), folder);
    path_ = std::string(folder) + "korv_logger_" + std::to_string(GetCurrentProcessId()) + ".log";
    DeleteFileA(path_.c_str());
    setFile_(path_.c_str());
    beginConduit();
  }

  void TearDown() override {
    if (setFile_ != nullptr) setFile_(nullptr);
    DeleteFileA(path_.c_str());
  }

  // Lines appended so far: "date time<TAB>activity<TAB>text<CR><LF>".
  std::vector<LogLine> Lines() const {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    std::vector<LogLine> lines;
    std::string content = all.str();
    for (std::size_t start = 0, end; (end = content.find("\r\n", start)) != std::string::npos; start = end + 2) {
      const std::string line = content.substr(start, end - start);
      const std::size_t first = line.find('\t');
      const std::size_t second = line.find('\t', first + 1);
      lines.push_back({std::stol(line.substr(first + 1, second - first - 1)), line.substr(second + 1)});
    }
    return lines;
  }

  SyncLogger logger_{GetModuleHandleA(nullptr), "Korvet"};

 private:
  SimLogSetFileFn setFile_ = nullptr;
  std::string path_;
};

SyncRecord RecordWithId(std::uint32_t id) {
  SyncRecord record;
  record.SetId(id);
  return record;
}

const LogLine kHeading{-1, "-- Korvet"};

TEST_F(LoggerTest, FatalErrorsShowTheCodeAsASignedDecimalNumber) {
  logger_.ReportRecordError(0x1118, RecordWithId(3), true);
  logger_.ReportError(-2004);
  logger_.ReportErrorWithValues(16387, 1, 2);
  EXPECT_EQ(Lines(), (std::vector<LogLine>{kHeading,
                                           {-1, "Fatal Error 4376."},  // and no "memory full" line after it
                                           {-1, "Fatal Error -2004."},
                                           {-1, "Fatal Error 16387."}}));
  EXPECT_STREQ(logger_.Message(), "Fatal Error %l.");  // the template stays as stored
}

TEST_F(LoggerTest, SeparatorsAndConduitNameNeverWriteTheHeading) {
  logger_.WriteSeparators();
  logger_.WriteConduitName(true);
  logger_.WriteConduitName(false);
  EXPECT_EQ(Lines(), (std::vector<LogLine>{{19, ""}, {20, ""}, {19, ""}, {21, "Korvet"}, {20, "Korvet"}}));
}

TEST_F(LoggerTest, HeadingComesOnceBeforeTheFirstLine) {
  logger_.WriteText("first");
  logger_.WriteWarningText("second");
  EXPECT_EQ(Lines(), (std::vector<LogLine>{kHeading, {-1, "first"}, {22, "second"}}));
}

TEST_F(LoggerTest, CodeReportsFillTheHexadecimalCode) {
  logger_.ReportPurgeFailure(4376, kSideHandheld);
  logger_.ReportPurgeFailure(4376, kSideDesktop);
  logger_.ReportCloseFailure(4376, kSideDesktop);
  logger_.ReportCloseFailure(0x4003, kSideHandheld);
  logger_.ReportSaveFailure(4384);
  logger_.ReportClearFlagsFailure(-1, kSideHandheld);
  logger_.ReportClearFlagsFailure(10, 7);  // any side other than 1 is the desktop
  EXPECT_EQ(Lines(), (std::vector<LogLine>{
                         kHeading,
                         {10, "Could not purge the deleted records on Palm organizer. 1118"},
                         {22, "Could not purge the deleted records on Desktop. Error Code 1118"},
                         {17, " -- Could not close local database. Error Code 1118"},
                         {22, " -- Could not close remote database. Error Code 4003"},
                         {17, " -- Could not save the local database. Error Code 1120"},
                         {18, "Could not clear Palm organizer's status flags. Error Code ffffffff"},
                         {22, " -- Could not clear Desktop's Database's status flags. Error Code a"},
                     }));
  EXPECT_STREQ(logger_.CodeText(), "a");
}

TEST_F(LoggerTest, RecordReportsNameTheRecordAndTheError) {
  SyncRecord byIndex;
  byIndex.SetIndex(5);
  logger_.ReportAddFailure(5, RecordWithId(7), kSideHandheld);
  logger_.ReportAddFailure(4354, RecordWithId(8), kSideDesktop);
  logger_.ReportReadFailure(0x4003, byIndex, kSideHandheld);
  logger_.ReportReadFailure(4376, byIndex, kSideDesktop);
  logger_.ReportCreateFailure(0x4003, "KORVETDatabaseDB", kSideHandheld);
  logger_.ReportCreateFailure(-1, nullptr, kSideDesktop);
  logger_.ReportDoubleModify(RecordWithId(12));
  logger_.ReportModifyDeleteConflict(byIndex);
  EXPECT_EQ(Lines(), (std::vector<LogLine>{
                         kHeading,
                         {9, " -- HH failed to add record: Record ID 7, Error  5"},  // "%2u" is a width of 2
                         {13, " -- PC failed to add record: Record ID 8, Error 4354"},
                         {8, " -- HH failed to read record: Record Index 5, Error 16387"},
                         {-1, " -- PC failed to read record: Record Index 5, Error 4376"},
                         {-1, " -- Failed to create HH Database: KORVETDatabaseDB, Error 16387"},
                         {-1, " -- Failed to create PC Database:  , Error 4294967295"},  // "%1s" pads to 1
                         {0,
                          "The following record was modified on both Palm organizer and the Desktop: Record ID 12. "
                          "This record will be duplicated on each platform. Delete the unwanted record and "
                          "HotSync again."},
                         {2,
                          "The following record, Record Index 5,  was modified on one platform and deleted on the "
                          "other. The modified version will appear on both platforms."},
                     }));
  EXPECT_STREQ(logger_.RecordText(), "Record Index 5");
}

TEST_F(LoggerTest, CategoryReportsUseTheSidesTemplates) {
  logger_.ReportCategoryDeleted("Work", kSideHandheld);
  logger_.ReportCategoryDeleted("Home", kSideDesktop);
  logger_.ReportMoveToUnfiledFailure("Work", kSideHandheld);
  logger_.ReportMoveToUnfiledFailure("Home", kSideDesktop);
  logger_.ReportTooManyCategories("Extra", kSideHandheld);
  logger_.ReportTooManyCategories("Extra", kSideDesktop);
  EXPECT_EQ(Lines(), (std::vector<LogLine>{
                         kHeading,
                         {4,
                          "-- Remote category Work has been deleted. The records in this category have been moved "
                          "to 'Unfiled'."},
                         {4,
                          "-- Local category Home has been deleted. The records in this category have been moved "
                          "to 'Unfiled'."},
                         {7, "Could not move the Palm organizer records in category 'Work' to 'Unfiled'."},
                         {7, "Could not move the local records in category 'Home' to 'Unfiled'."},
                         {3,
                          "Only 15 categories are allowed.  All records in remote category Extra were changed to "
                          "'Unfiled'."},
                         {3,
                          "Only 15 categories are allowed.  All records in local category Extra were changed to "
                          "'Unfiled'."},
                     }));
}

TEST_F(LoggerTest, LongTextsAreCutInsteadOfOverrunningTheLine) {
  const std::string longName(3000, 'n');
  logger_.ReportCategoryDeleted(longName.c_str(), kSideDesktop);
  logger_.WriteText(longName.c_str());
  SyncLogger longConduit(GetModuleHandleA(nullptr), longName.c_str());
  EXPECT_EQ(std::string(longConduit.ConduitName()), std::string(127, 'n'));
  const std::vector<LogLine> lines = Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].text, "-- Local category " + std::string(255, 'n') +
                               " has been deleted. The records in this category have been moved to 'Unfiled'.");
  EXPECT_EQ(lines[2].text, std::string(kMaxLogLine, 'n'));
}

TEST_F(LoggerTest, DatabaseInfoFillsTheCallersBufferOnly) {
  char text[128];
  const std::uint32_t creator = 0x4B525654;  // "KRVT"
  EXPECT_EQ(logger_.FormatDatabaseInfo(text, sizeof(text), "KORVETDatabaseDB", creator, 0x44415441, 0x8001, 3), 45);
  EXPECT_STREQ(text, "DB Name KORVETDatabaseDB, Creator ID 4b525654");
  logger_.SetDetail(1);
  logger_.FormatDatabaseInfo(text, sizeof(text), "KORVETDatabaseDB", creator, 0x44415441, 0x8001, 0xFFFF);
  EXPECT_STREQ(text, "DB Name KORVETDatabaseDB, Creator ID 4b525654, Type 1145132097, Flags 32769, Version 65535");
  EXPECT_EQ(logger_.FormatDatabaseInfo(text, 10, "KORVETDatabaseDB", creator, 1, 2, 3), 9);
  EXPECT_STREQ(text, "DB Name K");
  EXPECT_TRUE(Lines().empty());
  EXPECT_STREQ(logger_.HexText(0xFFFFFFFF), "ffffffff");
}

// A product logger that maps some codes to templates of their own.
class MappingLogger : public SyncLogger {
 public:
  using SyncLogger::SyncLogger;
  unsigned MapError(long error, long* activity) override {
    *activity = 22;
    switch (error) {
      case 1:
        return IDS_COUNT_MISMATCH;
      case 2:
        return IDS_NOT_SORTED;
      case 3:
        return IDS_COPY_TO_HANDHELD_FAILED;
      default:
        return SyncLogger::MapError(error, activity);
    }
  }
};

TEST_F(LoggerTest, MappedTemplatesAreFilledWithTheReportsValues) {
  MappingLogger logger(GetModuleHandleA(nullptr), "Korvet");
  logger.ReportErrorWithValues(1, 3, -4);
  logger.ReportError(2);
  logger.ReportRecordError(3, RecordWithId(9), true);
  logger.ReportRecordError(3, RecordWithId(9), false);
  EXPECT_EQ(Lines(), (std::vector<LogLine>{
                         kHeading,
                         {22, "Record count mismatch. 3 local records, -4 remote records"},
                         {22, "Records may not be sorted correctly on the Desktop."},
                         {22, "Could not copy the following record to Palm organizer: Record ID 9"},
                         {-1, "Your Palm organizer may be full.  Check the Palm organizer's Memory Application."},
                         {22, "Could not copy the following record to Palm organizer: Record ID 9"},
                     }));
}

TEST(LongConversions, GetTheDecimalConversionTheyLack) {
  EXPECT_EQ(CompleteLongConversions("Fatal Error %l."), "Fatal Error %ld.");
  EXPECT_EQ(CompleteLongConversions("%1l local, %2l remote"), "%1ld local, %2ld remote");
  EXPECT_EQ(CompleteLongConversions("%ld %lu %lx %s %2u 100%% %l"), "%ld %lu %lx %s %2u 100%% %ld");
  EXPECT_EQ(CompleteLongConversions("end %l"), "end %ld");
  EXPECT_EQ(CompleteLongConversions("%"), "%");
}

}  // namespace
}  // namespace korvet::store
