#include "conduit/store/category.h"

#include <cstring>

#include "conduit/base/ansi_text.h"
#include "conduit/store/status_codes.h"

namespace korvet::store {

namespace {

// At most limit bytes of text, cut on a character boundary.
std::string Bounded(const char* text, std::size_t limit) { return std::string(text, base::BoundedLength(text, limit)); }

// Copies text and its NUL into buffer when *size leaves room for both.
long CopyWithNul(const std::string& text, char* buffer, long* size) {
  const long needed = static_cast<long>(text.size()) + 1;
  if (*size < needed) {
    *size = needed;
    return kBufferTooSmall;
  }
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  *size = static_cast<long>(text.size());
  return kOk;
}

}  // namespace

CPCategory::CPCategory() = default;

CPCategory::CPCategory(long index, long id, const char* name) : index_(index), id_(id) { SetName(name); }

CPCategory::CPCategory(const CPCategory& other) = default;

CPCategory& CPCategory::operator=(const CPCategory& other) = default;

CPCategory::~CPCategory() = default;

long CPCategory::GetIndex() const { return index_; }
long CPCategory::GetId() const { return id_; }
const char* CPCategory::GetName() const { return name_.empty() ? nullptr : name_.c_str(); }

long CPCategory::CopyName(char* buffer, long* size) const {
  if (buffer == nullptr || size == nullptr) return kMissingOutput;
  if (*size > 0) std::memset(buffer, 0, static_cast<std::size_t>(*size));
  if (name_.empty()) return kOk;
  return CopyWithNul(name_, buffer, size);
}

long CPCategory::CopySafeName(char* buffer, long* size) const {
  if (buffer == nullptr || size == nullptr) return kMissingOutput;
  if (safeName_.empty()) {
    if (*size > 0) buffer[0] = '\0';
    *size = 0;
    return kOk;
  }
  return CopyWithNul(safeName_, buffer, size);
}

std::uint32_t CPCategory::GetFlags() const { return flags_; }
void CPCategory::SetId(long id) { id_ = id; }

long CPCategory::SetName(const char* text) {
  name_.clear();
  if (text == nullptr) return kOk;
  name_ = Bounded(text, kMaxNameLength);
  return std::strlen(text) > kMaxNameLength ? kValueTooLarge : kOk;
}

long CPCategory::SetSafeName(const char* text) {
  safeName_ = text == nullptr ? std::string() : Bounded(text, kMaxSafeNameLength);
  return kOk;
}

void CPCategory::SetFlags(std::uint32_t flags) { flags_ = flags; }

void CPCategory::SetChanged(bool changed) {
  if (changed) {
    flags_ |= kCategoryChanged;
  } else {
    flags_ &= ~kCategoryChanged;
  }
}

bool CPCategory::IsChanged() const { return (flags_ & kCategoryChanged) != 0; }
void CPCategory::SetIndex(long index) { index_ = index; }

bool CPCategory::Equals(const CPCategory& other) const {
  return index_ == other.index_ && id_ == other.id_ && name_ == other.name_;
}

}  // namespace korvet::store
