// Information blocks read back from a desktop data file: any bytes are refused or make a block whose
// head, name and data area stay inside it, also after it is resized.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "conduit/store/desktop_info_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvet::store;
  auto block = DesktopInfoBlock::FromBytes(std::vector<std::uint8_t>(data, data + size));
  if (!block) return 0;
  if (block->TotalSize() != size || block->InUse() > block->Capacity()) std::abort();
  const std::string name = block->Name();
  if (name.size() > kDatabaseNameChars) std::abort();
  const std::uint32_t capacity = block->InUse() / 2 + 1;
  if (block->Resize(capacity, block->InUse() < capacity ? block->InUse() : capacity)) {
    if (block->Capacity() != capacity) std::abort();
    volatile std::uint8_t last = block->Data()[capacity - 1];
    (void)last;
  }
  return 0;
}
