#include "conduit/base/allocation.h"

#include <cstdint>
#include <cstdlib>

namespace korvet::base {
namespace {

// The conduit runs on HotSync Manager's one calling thread; a test arms the seam on its own thread.
long g_countdown = 0;
std::uint32_t g_made = 0;  // wraps in a HotSync Manager that runs for months
bool g_refused = false;

// Counts the allocation about to be made; true when it is the one to fail.
bool Refuse() {
  ++g_made;
  if (g_countdown == 0 || --g_countdown != 0) return false;
  g_refused = true;
  return true;
}

}  // namespace

void FailAllocation(long nth) {
  g_countdown = nth > 0 ? nth : 0;
  g_made = 0;
  g_refused = false;
}

long AllocationsMade() { return static_cast<long>(g_made & 0x7FFFFFFF); }

bool AllocationFailureHappened() { return g_refused; }

std::unique_ptr<std::uint8_t[]> MakeZeroedBytesOrNull(std::size_t count) {
  try {
    return std::make_unique<std::uint8_t[]>(count);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace korvet::base

// The library's operator new: the C++ library's other forms (arrays, nothrow) call this one.
void* operator new(std::size_t size) {
  if (korvet::base::Refuse()) throw std::bad_alloc();
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}

void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
