// planted_fault: one small fault of each kind the checked build must stop, each ending in the sweep's
// own trap report. A checked build whose checks are off runs through and says so.
//   planted_fault overflow|index|stack|fortify
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
  else {
    std::fprintf(stderr, "usage: planted_fault overflow|index|stack|fortify\n");
    return 2;
  }
  std::printf("NOT TRAPPED: the planted fault %s ran through (result %d)\n", kind.c_str(), result);
  return 1;
}
