// planted_fault: one small fault of each kind the checked build must stop, each ending in the sweep's
// own trap report. A checked build whose checks are off runs through and says so.
//   planted_fault overflow|index|stack|fortify|heap-overflow|use-after-free
// The last two are for Wine's heap check (tests/heap_checked.sh): the checked build's own checks
// cannot see a write through a pointer into the heap.
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/sweep/crash_reporting.h"

namespace {

// Read through volatile, so that the compiler cannot see the fault coming and fold it away.
volatile int g_large = INT_MAX;
volatile std::size_t g_length = 64;

int SignedOverflow() { return g_large + 1; }

int IndexOutOfRange() {
  std::vector<int> values(4, 7);
  return values[g_length];
}

// A write past a local buffer through a pointer whose target size the compiler does not know: only
// the stack protector sees it, when the function returns.
__attribute__((noinline)) int StackOverrun() {
  char buffer[16];
  char* volatile target = buffer;
  for (std::size_t i = 0; i < g_length; ++i) target[i] = 'x';
  return target[0];
}

// A copy past a local buffer of known size: the fortified memcpy refuses it.
__attribute__((noinline)) int FortifiedCopy() {
  char buffer[16];
  const std::string source(g_length, 'y');
  std::memcpy(buffer, source.data(), g_length);
  return buffer[0] + buffer[15];
}

// Four bytes past a block of the heap, found at the next heap call by the block's tail check.
__attribute__((noinline)) int HeapOverflow() {
  char* block = new char[16];
  char* volatile target = block;
  for (std::size_t i = 0; i < 20; ++i) target[i] = 'h';
  delete[] block;
  return 0;
}

// A write into a block already given back, found when the heap next hands out memory.
__attribute__((noinline)) int UseAfterFree() {
  char* block = new char[64];
  delete[] block;
  char* volatile target = block;
  for (std::size_t i = 16; i < 24; ++i) target[i] = 'f';
  char* next = new char[64];
  delete[] next;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  korvet::sweep::InstallCrashReporting();
  const std::string kind = argc == 2 ? argv[1] : "";
  korvet::sweep::SetCurrentCase("planted fault: " + kind);
  int result = 0;
  if (kind == "overflow")
    result = SignedOverflow();
  else if (kind == "index")
    result = IndexOutOfRange();
  else if (kind == "stack")
    result = StackOverrun();
  else if (kind == "fortify")
    result = FortifiedCopy();
  else if (kind == "heap-overflow")
    result = HeapOverflow();
  else if (kind == "use-after-free")
    result = UseAfterFree();
  else {
    std::fprintf(stderr, "usage: planted_fault overflow|index|stack|fortify|heap-overflow|use-after-free\n");
    return 2;
  }
  std::printf("NOT TRAPPED: the planted fault %s ran through (result %d)\n", kind.c_str(), result);
  return 1;
}
