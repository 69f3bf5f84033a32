// Status codes of the sync framework. Every framework operation returns one of these (0 is success);
// Sync Manager codes pass through unchanged beside them.
#pragma once

namespace korvet::store {

inline constexpr long kOk = 0;
inline constexpr long kBufferTooSmall = 4353;           // 0x1101: the size needed is reported back
inline constexpr long kOutOfMemory = 4354;              // 0x1102
inline constexpr long kMissingOutput = 4355;            // 0x1103: missing output argument
inline constexpr long kValueTooLarge = 4356;            // 0x1104: value too large for its field
inline constexpr long kIndexOutOfRange = 4357;          // 0x1105
inline constexpr long kEmptyName = 4359;                // 0x1107: empty or missing name
inline constexpr long kCategoryNotFound = 4360;         // 0x1108
inline constexpr long kMissingArgument = 4361;          // 0x1109
inline constexpr long kInvalidIteration = 4363;         // 0x110B
inline constexpr long kNotSupported = 4364;             // 0x110C
inline constexpr long kDatabaseIsOpen = 4365;           // 0x110D: property change refused while the database is open
inline constexpr long kNoAppInfoForCategories = 4366;   // 0x110E
inline constexpr long kNoMoreRecords = 4367;            // 0x110F
inline constexpr long kNoCategoryBlock = 4368;          // 0x1110: the database has no category block
inline constexpr long kNoRecordTable = 4369;            // 0x1111: record table not allocated
inline constexpr long kInvalidSyncType = 4370;          // 0x1112
inline constexpr long kSyncTypeAboveRange = 4371;       // 0x1113: sync type above 7 given to the synchronizer
inline constexpr long kNotOpen = 4372;                  // 0x1114: close requested while no database is open
inline constexpr long kDesktopFileNotFound = 4373;      // 0x1115: not found, not opened, or leading text rejected
inline constexpr long kRecordNotFound = 4374;           // 0x1116
inline constexpr long kEndOfFile = 4375;                // 0x1117: nothing could be read
inline constexpr long kReadFailed = 4376;               // 0x1118
inline constexpr long kShortRead = 4377;                // 0x1119
inline constexpr long kNoFileOpen = 4378;               // 0x111A
inline constexpr long kNoFilePath = 4379;               // 0x111B
inline constexpr long kHeaderUnreadable = 4380;         // 0x111C
inline constexpr long kAppInfoUnreadable = 4381;        // 0x111D
inline constexpr long kSortInfoUnreadable = 4382;       // 0x111E
inline constexpr long kRecordHeadUnreadable = 4383;     // 0x111F
inline constexpr long kSaveFailed = 4384;               // 0x1120
inline constexpr long kNoAppInfo = 4385;                // 0x1121
inline constexpr long kNoSortInfo = 4386;               // 0x1122
inline constexpr long kDesktopFileMissing = 4387;       // 0x1123: at the start of a fast or slow sync
inline constexpr long kHandheldDatabaseMissing = 4388;  // 0x1124: the Sync Manager's not-found on open
inline constexpr long kFallBackToCopy = 4389;           // 0x1125: a fast or slow sync turns into a copy
inline constexpr long kBackupCopyFailed = 4390;         // 0x1126
inline constexpr long kReorderUnknownId = 4391;         // 0x1127
inline constexpr long kReorderCountMismatch = 4392;     // 0x1128

// Category list errors.
inline constexpr long kCategoryListFull = -2000;       // list full, or no free number or no ID available
inline constexpr long kCategoryBlockTooShort = -2001;  // block shorter than 276 bytes
inline constexpr long kCategoryIdExists = -2002;
inline constexpr long kCategoryNumberFree = -2003;
inline constexpr long kCategoryOutOfRange = -2004;  // number above 15 in a record operation

}  // namespace korvet::store
