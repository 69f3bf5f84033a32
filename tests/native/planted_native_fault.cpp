// Heap faults that AddressSanitizer must report: planted_native_fault heap-buffer-overflow|heap-use-after-free
#include <cstring>
#include <memory>
#include <string>

int main(int argc, char** argv) {
  const std::string fault = argc > 1 ? argv[1] : "";
  volatile char* block = new char[48];
  if (fault == "heap-buffer-overflow") block[48] = 'x';
  delete[] block;
  if (fault == "heap-use-after-free") block[0] = 'x';
  return 0;
}
