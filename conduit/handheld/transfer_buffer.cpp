#include "conduit/handheld/transfer_buffer.h"

#include <algorithm>
#include <cstring>

#include "conduit/base/allocation.h"

namespace korvet::handheld {

bool TransferBuffer::Attach(RecordTransferBlock& block, std::uint8_t handle) {
  if (bytes_) {
    ClearUsed(block);
  } else {
    bytes_ = base::MakeZeroedBytesOrNull(kMaxRecordSize);
    if (!bytes_) return false;
  }
  std::memset(&block, 0, sizeof block);
  block.data = bytes_.get();
  block.capacity = kMaxRecordSize;
  block.handle = handle;
  return true;
}

void TransferBuffer::ClearUsed(RecordTransferBlock& block) {
  // The block is packed: its field is copied out before std::min binds a reference to it.
  const std::size_t used = block.dataSize;
  if (bytes_) std::memset(bytes_.get(), 0, std::min<std::size_t>(used, kMaxRecordSize));
  block.dataSize = 0;
}

}  // namespace korvet::handheld
