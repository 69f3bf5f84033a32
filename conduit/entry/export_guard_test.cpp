#include "conduit/entry/export_guard.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "conduit/base/allocation.h"
#include "conduit/test_support/hotsync_bench.h"

namespace korvet {
namespace {

TEST(ExportGuard, WhatEscapesABodyBecomesALogLineAndTheFailureResult) {
  testing::HotSyncBench bench;
  EXPECT_EQ(Guarded("OpenConduit", [] { return 7L; }), 7);
  EXPECT_EQ(Guarded("OpenConduit", []() -> long { throw std::runtime_error("list unreadable"); }), kInternalFailure);
  EXPECT_EQ(Guarded("CfgConduit", []() -> long { throw 42; }), kInternalFailure);
  EXPECT_EQ(bench.LogTexts(), (std::vector<std::string>{"Korvet stopped in OpenConduit: list unreadable",
                                                        "Korvet stopped in CfgConduit: unknown failure"}));
}

// Out of memory twice: the body's, then the next allocation, which the guard must not make while it
// logs (it would end the program).
TEST(ExportGuard, OutOfMemoryIsLoggedWithoutAllocating) {
  testing::HotSyncBench bench;
  EXPECT_EQ(Guarded("OpenConduit",
                    []() -> long {
                      base::FailAllocation(1);
                      throw std::bad_alloc();
                    }),
            kInternalFailure);
  EXPECT_FALSE(base::AllocationFailureHappened());
  base::FailAllocation(0);
  EXPECT_EQ(bench.LogTexts(), std::vector<std::string>{"Korvet stopped in OpenConduit: std::bad_alloc"});
}

}  // namespace
}  // namespace korvet
