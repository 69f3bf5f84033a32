#include "conduit/store/desktop_info_block.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "conduit/base/allocation.h"
#include "conduit/base/ansi_text.h"

namespace korvet::store {

std::unique_ptr<DesktopInfoBlock> DesktopInfoBlock::Create(const char* name, std::uint32_t capacity) {
  std::unique_ptr<DesktopInfoBlock> block;
  if (!base::Allocated([&] {
        block.reset(new DesktopInfoBlock(std::vector<std::uint8_t>(std::size_t{kInfoBlockHeadSize} + capacity, 0)));
      })) {
    return nullptr;
  }
  DesktopInfoBlockHead head{};
  head.totalSize = kInfoBlockHeadSize + capacity;
  head.tag = kDesktopTag;
  head.dataOffset = kInfoBlockHeadSize;
  head.capacity = capacity;
  block->SetHead(head);
  block->SetName(name);
  return block;
}

std::unique_ptr<DesktopInfoBlock> DesktopInfoBlock::FromBytes(std::vector<std::uint8_t> bytes) {
  if (bytes.size() < kInfoBlockHeadSize) return nullptr;
  DesktopInfoBlockHead head;
  std::memcpy(&head, bytes.data(), sizeof head);
  const std::uint64_t room = bytes.size() - kInfoBlockHeadSize;
  if (head.totalSize != bytes.size() || head.dataOffset != kInfoBlockHeadSize || head.capacity > room ||
      head.inUse > head.capacity) {
    return nullptr;
  }
  std::unique_ptr<DesktopInfoBlock> block;
  if (!base::Allocated([&] { block.reset(new DesktopInfoBlock(std::move(bytes))); })) return nullptr;
  return block;
}

DesktopInfoBlockHead DesktopInfoBlock::Head() const {
  DesktopInfoBlockHead head;
  std::memcpy(&head, bytes_.data(), sizeof head);
  return head;
}

void DesktopInfoBlock::SetHead(const DesktopInfoBlockHead& head) { std::memcpy(bytes_.data(), &head, sizeof head); }

// A damaged file's name field may lack its NUL: the name stays within its 31 characters all the same.
std::string DesktopInfoBlock::Name() const {
  const auto head = Head();
  return std::string(head.name, strnlen(head.name, kDatabaseNameChars));
}

void DesktopInfoBlock::SetInUse(std::uint32_t bytes) {
  auto head = Head();
  head.inUse = std::min(bytes, head.capacity);
  SetHead(head);
}

void DesktopInfoBlock::SetExtra(std::uint32_t value) {
  auto head = Head();
  head.extra = value;
  SetHead(head);
}

void DesktopInfoBlock::SetName(const char* name) {
  auto head = Head();
  std::memset(head.name, 0, sizeof head.name);
  if (name) base::CopyBounded(head.name, kDatabaseNameChars + 1, name);
  SetHead(head);
}

bool DesktopInfoBlock::Resize(std::uint32_t capacity, std::uint32_t keep) {
  std::vector<std::uint8_t> resized;
  if (!base::AssignZeroed(resized, std::size_t{kInfoBlockHeadSize} + capacity)) return false;
  const std::size_t kept = std::min<std::size_t>({keep, bytes_.size(), resized.size()});
  std::copy_n(bytes_.begin(), kept, resized.begin());
  bytes_ = std::move(resized);
  auto head = Head();
  head.totalSize = kInfoBlockHeadSize + capacity;
  head.tag = kDesktopTag;
  head.dataOffset = kInfoBlockHeadSize;
  head.capacity = capacity;
  head.inUse = std::min(head.inUse, capacity);
  SetHead(head);
  return true;
}

}  // namespace korvet::store
