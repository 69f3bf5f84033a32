#include "conduit/entry/export_guard.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

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

}  // namespace
}  // namespace korvet
