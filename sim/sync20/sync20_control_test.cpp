// Call counting and failure injection of the stand-in Sync Manager.
#include <string>
#include <string_view>

#include "sim/sync20/operation_names.h"
#include "sim/sync20/sync20_test_fixture.h"

namespace korvet::sim::testing {
namespace {

TEST_F(Sync20Test, EveryOperationCountsItsCalls) {
  EXPECT_EQ(SimCallCount("OpenHandheldDatabase"), 0);
  std::uint8_t handle = 0;
  OpenHandheldDatabase("Missing", 0, &handle, 0xC0);
  OpenHandheldDatabase("Missing", 0, &handle, 0xC0);
  SyncYieldCycles(1);
  EXPECT_EQ(SimCallCount("OpenHandheldDatabase"), 2);
  EXPECT_EQ(SimCallCount("SyncYieldCycles"), 1);
  EXPECT_EQ(SimCallCount("CloseHandheldDatabase"), 0);
  EXPECT_EQ(SimCallCount("NoSuchOperation"), -1);
  EXPECT_EQ(SimCallCount(nullptr), -1);
  EXPECT_EQ(SimResetCallCounts(), 0);
  EXPECT_EQ(SimCallCount("OpenHandheldDatabase"), 0);

  // Each exported operation counts under its own name.
  std::uint32_t session = 0;
  OpenSyncSession(&session);
  CloseSyncSession(session);
  SyncReadSystemInfo(nullptr);
  CreateHandheldDatabase(nullptr);
  CloseHandheldDatabase(0);
  DeleteHandheldDatabase(nullptr, 0);
  SyncFindDbByName(nullptr, nullptr);
  SyncGetDBRecordCount(0, nullptr);
  SyncResetRecordIndex(0);
  ClearHandheldSyncFlags(0);
  PurgeDeletedHandheldRecords(0);
  ReadHandheldRecordById(nullptr);
  ReadHandheldRecordByIndex(nullptr);
  ReadNextModifiedHandheldRecord(nullptr);
  SyncReadNextRecInCategory(nullptr);
  WriteHandheldRecord(nullptr);
  WriteHandheldResource(nullptr);
  DeleteHandheldRecord(nullptr);
  SyncDeleteResourceRec(nullptr);
  SyncChangeCategory(0, 0, 0);
  SyncPurgeAllRecsInCategory(0, 0);
  ReadHandheldAppInfoBlock(0, nullptr);
  WriteHandheldAppInfoBlock(0, nullptr);
  SyncReadDBSortInfoBlock(0, nullptr);
  SyncReadPositionXMap(nullptr);
  // Every name the control operations take counts: once for each operation called here since the
  // reset, none for the two called only before it.
  for (std::string_view name : kSyncOperationNames) {
    const bool calledAbove = name != "OpenHandheldDatabase" && name != "SyncYieldCycles";
    EXPECT_EQ(SimCallCount(std::string(name).c_str()), calledAbove ? 1 : 0) << name;
  }
}

TEST_F(Sync20Test, AnInjectedFailureHitsTheNthCallAndChangesNothing) {
  const std::uint8_t handle = Create("Db");
  Write(handle, 0, 0, 0, {'a'});
  ASSERT_EQ(SimInjectFault(kSimFaultFail, "WriteHandheldRecord", 2, 0x4042), 0);
  Write(handle, 0, 0, 0, {'b'});
  RecordTransferBlock failed = Write(handle, 0, 0, 0, {'c'}, 0x4042);
  EXPECT_EQ(failed.recordId, 0u);  // the block is left as the caller filled it
  Write(handle, 0, 0, 0, {'d'});
  EXPECT_EQ(Count(handle), 3);
  EXPECT_EQ(ReadIndex(handle, 2).Data(), (Bytes{'d'}));
  EXPECT_EQ(SimCallCount("WriteHandheldRecord"), 4);

  // Injected failures of opens and closes leave the handles as they were.
  ASSERT_EQ(SimInjectFault(kSimFaultFail, "CloseHandheldDatabase", 1, 0x4050), 0);
  EXPECT_EQ(CloseHandheldDatabase(handle), 0x4050);
  EXPECT_EQ(Count(handle), 3);
  EXPECT_EQ(CloseHandheldDatabase(handle), 0);
  ASSERT_EQ(SimInjectFault(kSimFaultFail, "OpenHandheldDatabase", 1, 0x4003), 0);
  std::uint8_t none = 0;
  EXPECT_EQ(OpenHandheldDatabase("Db", 0, &none, 0xC0), 0x4003);
  EXPECT_EQ(none, 0);
  EXPECT_EQ(Open("Db"), 1);
}

TEST_F(Sync20Test, SeveralFailuresCanBePendingAndCleared) {
  ASSERT_EQ(SimInjectFault(kSimFaultFail, "SyncYieldCycles", 1, 0x4061), 0);
  ASSERT_EQ(SimInjectFault(kSimFaultFail, "SyncYieldCycles", 3, 0x4063), 0);
  ASSERT_EQ(SimInjectFault(kSimFaultFail, "SyncYieldCycles", 1, 0x4099), 0);  // the same call: the first one wins
  EXPECT_EQ(SyncYieldCycles(1), 0x4061);
  EXPECT_EQ(SyncYieldCycles(1), 0);
  EXPECT_EQ(SyncYieldCycles(1), 0x4063);
  EXPECT_EQ(SyncYieldCycles(1), 0);

  ASSERT_EQ(SimInjectFault(kSimFaultFail, "SyncResetRecordIndex", 1, 0x4070), 0);
  EXPECT_EQ(SimClearFailures(), 0);
  EXPECT_EQ(SyncResetRecordIndex(0), kSyncErrBadHandle);

  EXPECT_EQ(SimInjectFault(kSimFaultFail, "NoSuchOperation", 1, 1), kSyncErrUnknownOperation);
  EXPECT_EQ(SimInjectFault(kSimFaultFail, "SimEndSession", 1, 1), kSyncErrUnknownOperation);
  EXPECT_EQ(SimInjectFault(kSimFaultFail, "SyncYieldCycles", 0, 1), kSyncErrBadArgument);
  EXPECT_EQ(SimInjectFault(kSimFaultFail, nullptr, 1, 1), kSyncErrBadArgument);
  EXPECT_EQ(SimInjectFault(kSimFaultLastKind + 1, "SyncYieldCycles", 1, 1), kSyncErrBadArgument);
}

TEST_F(Sync20Test, TimeInsideTheOperationsAddsUpUntilReset) {
  EXPECT_EQ(SimCallMicroseconds(), 0);
  // Creating a database writes its file: time that the clock sees.
  ASSERT_EQ(CloseHandheldDatabase(Create("Db")), 0);
  const long spent = SimCallMicroseconds();
  EXPECT_GT(spent, 0);
  SyncYieldCycles(1);
  EXPECT_GE(SimCallMicroseconds(), spent);
  EXPECT_EQ(SimResetCallCounts(), 0);
  EXPECT_EQ(SimCallMicroseconds(), 0);
}

}  // namespace
}  // namespace korvet::sim::testing
