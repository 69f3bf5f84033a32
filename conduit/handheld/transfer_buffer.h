// The buffer a record travels in between the handheld and the conduit: 65,520 bytes, the handheld's
// largest record. Every read or write finds it all zero. It is cleared once when it is made and
// afterwards only where the last record lay (the Sync Manager fills just the bytes a record holds, and
// the block's data size says how many), rather than all 65,520 bytes: a session reads hundreds of
// thousands of records through it.
#pragma once

#include <cstdint>
#include <memory>

#include "conduit/platform/sync_manager.h"

namespace korvet::handheld {

class TransferBuffer {
 public:
  // Points the block, reset to zero but for `handle`, at the buffer, made on first use: false when
  // memory runs out. What the block's last operation filled is cleared first.
  bool Attach(RecordTransferBlock& block, std::uint8_t handle);
  // Zeroes what the block's last read or write filled, before the next one through the same block.
  void ClearUsed(RecordTransferBlock& block);
  void Release() { bytes_.reset(); }

 private:
  std::unique_ptr<std::uint8_t[]> bytes_;
};

}  // namespace korvet::handheld
