#include "conduit/entry/export_guard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <stdexcept>

#include "conduit/test_support/hotsync_bench.h"

namespace korvet {
namespace {

// While set, every allocation of this program fails.
bool allocationsFail = false;

TEST(ExportGuard, WhatEscapesABodyBecomesALogLineAndTheFailureResult) {
  testing::HotSyncBench bench;
  EXPECT_EQ(Guarded("OpenConduit", [] { return 7L; }), 7);
  EXPECT_EQ(Guarded("OpenConduit", []() -> long { throw std::runtime_error("list unreadable"); }), kInternalFailure);
  EXPECT_EQ(Guarded("CfgConduit", []() -> long { throw 42; }), kInternalFailure);
  EXPECT_EQ(bench.LogTexts(), (std::vector<std::string>{"Korvet stopped in OpenConduit: list unreadable",
                                                        "Korvet stopped in CfgConduit: unknown failure"}));
}

// Out of memory twice: the body's, then any allocation while the guard logs it.
TEST(ExportGuard, OutOfMemoryIsLoggedWithoutAllocating) {
  testing::HotSyncBench bench;
  EXPECT_EQ(Guarded("OpenConduit",
                    []() -> long {
                      allocationsFail = true;
                      throw std::bad_alloc();
                    }),
            kInternalFailure);
  allocationsFail = false;
  EXPECT_EQ(bench.LogTexts(), std::vector<std::string>{"Korvet stopped in OpenConduit: std::bad_alloc"});
}

}  // namespace
}  // namespace korvet

// The replacements pair malloc with free; GCC at -O1 sees the built-in new beside the inlined delete
// and takes them for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  if (korvet::allocationsFail) throw std::bad_alloc();
  if (void* block = std::malloc(size != 0 ? size : 1)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
