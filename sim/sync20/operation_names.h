// The names of the Sync Manager operations that sync20.dll exports, as its control operations
// (SimInjectFault, SimCallCount) take them.
#pragma once

#include <array>
#include <string_view>

namespace korvet::sim {

inline constexpr std::array<std::string_view, 27> kSyncOperationNames = {"OpenSyncSession",
                                                                         "CloseSyncSession",
                                                                         "SyncReadSystemInfo",
                                                                         "SyncYieldCycles",
                                                                         "OpenHandheldDatabase",
                                                                         "CreateHandheldDatabase",
                                                                         "CloseHandheldDatabase",
                                                                         "DeleteHandheldDatabase",
                                                                         "SyncFindDbByName",
                                                                         "SyncGetDBRecordCount",
                                                                         "SyncResetRecordIndex",
                                                                         "ClearHandheldSyncFlags",
                                                                         "PurgeDeletedHandheldRecords",
                                                                         "ReadHandheldRecordById",
                                                                         "ReadHandheldRecordByIndex",
                                                                         "ReadNextModifiedHandheldRecord",
                                                                         "SyncReadNextRecInCategory",
                                                                         "WriteHandheldRecord",
                                                                         "WriteHandheldResource",
                                                                         "DeleteHandheldRecord",
                                                                         "SyncDeleteResourceRec",
                                                                         "SyncChangeCategory",
                                                                         "SyncPurgeAllRecsInCategory",
                                                                         "ReadHandheldAppInfoBlock",
                                                                         "WriteHandheldAppInfoBlock",
                                                                         "SyncReadDBSortInfoBlock",
                                                                         "SyncReadPositionXMap"};

}  // namespace korvet::sim
