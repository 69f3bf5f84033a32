// An application-information or sort-information block of a desktop store, kept in memory byte for
// byte as the desktop data file holds it: a 56-byte head and a data area of `capacity` bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "conduit/store/desktop_data_file.h"

namespace korvet::store {

class DesktopInfoBlock {
 public:
  // A zeroed block with the tag, the data offset, the name (cut to 31 characters) and room for
  // `capacity` bytes; null when memory runs out.
  static std::unique_ptr<DesktopInfoBlock> Create(const char* name, std::uint32_t capacity);
  // A block read from a file. Null when the bytes do not form a sound block: a head that does not fit,
  // a total size other than the bytes given, a data offset other than 56, a data area larger than
  // the block, or more bytes in use than the data area holds.
  static std::unique_ptr<DesktopInfoBlock> FromBytes(std::vector<std::uint8_t> bytes);

  DesktopInfoBlockHead Head() const;
  std::uint32_t TotalSize() const { return static_cast<std::uint32_t>(bytes_.size()); }
  std::uint32_t Capacity() const { return Head().capacity; }
  std::uint32_t InUse() const { return Head().inUse; }
  std::uint32_t Extra() const { return Head().extra; }
  std::string Name() const;

  void SetInUse(std::uint32_t bytes);
  void SetExtra(std::uint32_t value);
  void SetName(const char* name);

  std::uint8_t* Data() { return bytes_.data() + kInfoBlockHeadSize; }
  const std::uint8_t* Data() const { return bytes_.data() + kInfoBlockHeadSize; }
  // The whole block as the file holds it.
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

  // Gives the block a data area of exactly `capacity` bytes; bytes beyond `keep` (counted from the
  // block's start) are zeroed. False when memory runs out (the block is unchanged).
  bool Resize(std::uint32_t capacity, std::uint32_t keep);

 private:
  explicit DesktopInfoBlock(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  void SetHead(const DesktopInfoBlockHead& head);

  std::vector<std::uint8_t> bytes_;
};

}  // namespace korvet::store
