// Heap allocation in the conduit. It runs inside HotSync Manager's process, where an exception leaving
// one of its exports would end that process, so running out of memory is an expected outcome: every
// allocation of the library (containers and strings included) goes through the library's own
// operator new, which a test can make fail at the nth allocation. Code that can go on without the
// memory asks for it with the helpers below; anywhere else std::bad_alloc unwinds to the synchronizer
// run or the session step that catches it and reports the failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

namespace korvet::base {

// Test seam: the nth allocation from now on fails (1 = the next one); 0 none.
void FailAllocation(long nth);
// Allocations made since the last FailAllocation call.
long AllocationsMade();
// True once the allocation chosen with FailAllocation was refused.
bool AllocationFailureHappened();

// The session's own seam, for sweeps that load the library in a HotSync host: when the environment
// variable KORVET_FAIL_ALLOCATION holds a number n, the nth allocation of the session fails, and when
// the session ends KORVET_ALLOCATIONS_MADE holds the number it made (n or more means it failed).
class EnvironmentAllocationFailure {
 public:
  EnvironmentAllocationFailure();
  ~EnvironmentAllocationFailure();
  EnvironmentAllocationFailure(const EnvironmentAllocationFailure&) = delete;
  EnvironmentAllocationFailure& operator=(const EnvironmentAllocationFailure&) = delete;

 private:
  bool armed_ = false;
};

template <typename T, typename... Args>
std::unique_ptr<T> MakeOrNull(Args&&... args) {
  try {
    return std::make_unique<T>(std::forward<Args>(args)...);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// An array of `count` zeroed bytes, or null when memory runs out.
std::unique_ptr<std::uint8_t[]> MakeZeroedBytesOrNull(std::size_t count);

// Runs `allocate`, which grows a container or makes an object; false when memory runs out (or the
// size asked for is beyond any container) instead of an exception.
template <typename Allocate>
bool Allocated(Allocate&& allocate) {
  try {
    allocate();
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
}

// Makes the vector hold `count` zeroed elements; false when memory runs out.
template <typename T>
bool AssignZeroed(std::vector<T>& vector, std::size_t count) {
  return Allocated([&] { vector.assign(count, T{}); });
}

}  // namespace korvet::base
