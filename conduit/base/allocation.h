// Objects made on the heap where running out of memory is an expected outcome, not an exception: the
// conduit runs inside HotSync Manager's process, and an exception leaving one of its exports would end
// that process. Tests make the next allocations fail through the seam below.
#pragma once

#include <memory>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

namespace korvet::base {

// Test seam: the nth allocation through MakeOrNull from now on fails (1 = the next one); 0 none.
void FailAllocation(long nth);
// True when the allocation about to be made is to fail; counts the allocation.
bool AllocationRefused();

template <typename T, typename... Args>
std::unique_ptr<T> MakeOrNull(Args&&... args) {
  if (AllocationRefused()) return nullptr;
  try {
    return std::make_unique<T>(std::forward<Args>(args)...);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

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
