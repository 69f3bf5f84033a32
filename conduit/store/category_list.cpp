#include "conduit/store/category_list.h"

#include <cstring>
#include <new>
#include <string>

#include "conduit/base/allocation.h"
#include "conduit/base/ansi_text.h"
#include "conduit/store/status_codes.h"

namespace korvet::store {

namespace {

// Characters that cannot stand in a file name (or would change its meaning) become underscores.
constexpr const char* kUnsafeInFileNames = "\"*+,./:;<=>?[\\]^|";

}  // namespace

CategoryList::CategoryList() = default;

CategoryList::CategoryList(const void* block, long size) { Load(block, size); }

CategoryList::~CategoryList() = default;

void CategoryList::Destroy(long number) {
  categories_[static_cast<std::size_t>(number)].reset();
  --count_;
}

long CategoryList::Load(const void* block, long size) {
  if (block == nullptr) return kMissingArgument;
  if (size < kCategoryBlockSize) return kCategoryBlockTooShort;
  CategoryBlock categories;
  std::memcpy(&categories, block, sizeof(categories));
  Clear();  // the list becomes what the block holds
  changed_ = false;
  const unsigned relabelled = (categories.relabelled[0] << 8) | categories.relabelled[1];
  long status = kOk;
  for (long number = 0; number < kCategoryCount && status == kOk; ++number) {
    const char* field = categories.names[number];
    if (field[0] == '\0') continue;
    // The field need not hold a NUL when the name fills it: read at most 15 characters.
    const std::string name(field, base::BoundedLength(std::string(field, sizeof(categories.names[0])).c_str(),
                                                      CPCategory::kMaxNameLength));
    CPCategory category(number, categories.ids[number], name.c_str());
    if ((relabelled & (1u << number)) != 0) {
      category.SetChanged(true);
      changed_ = true;
    }
    status = Add(category);
  }
  return status;
}

long CategoryList::Store(void* buffer, long* size) const {
  if (size == nullptr) return kMissingOutput;
  if (*size < kCategoryBlockSize) {
    *size = kCategoryBlockSize;
    return kBufferTooSmall;
  }
  if (buffer == nullptr) return kMissingArgument;
  CategoryBlock categories{};
  for (long number = 0; number < kCategoryCount; ++number) {
    const CPCategory* category = categories_[static_cast<std::size_t>(number)].get();
    if (category == nullptr) continue;
    long fieldSize = sizeof(categories.names[0]);
    if (long status = category->CopyName(categories.names[number], &fieldSize)) return status;
    categories.ids[number] = static_cast<std::uint8_t>(category->GetId() & 0xFF);
  }
  std::memcpy(buffer, &categories, sizeof(categories));
  *size = kCategoryBlockSize;
  return kOk;
}

long CategoryList::GetCount() const { return count_; }

CPCategory* CategoryList::FindById(long id) const {
  for (const auto& category : categories_) {
    if (category && category->GetId() == id) return category.get();
  }
  return nullptr;
}

CPCategory* CategoryList::FindByName(const char* name) const {
  if (name == nullptr || *name == '\0') return nullptr;
  for (const auto& category : categories_) {
    if (category && category->GetName() != nullptr && base::CompareNoCase(category->GetName(), name) == 0) {
      return category.get();
    }
  }
  return nullptr;
}

CPCategory* CategoryList::GetAt(long number) const {
  const auto slot = static_cast<std::uint16_t>(number);
  return slot < kCategoryCount ? categories_[slot].get() : nullptr;
}

CPCategory* CategoryList::First() {
  position_ = 0;
  return Next();
}

CPCategory* CategoryList::Next() {
  for (; position_ >= 0 && position_ < kCategoryCount; ++position_) {
    if (categories_[static_cast<std::size_t>(position_)]) {
      return categories_[static_cast<std::size_t>(position_++)].get();
    }
  }
  return nullptr;
}

long CategoryList::FreeIndex() const {
  for (long number = 1; number < kCategoryCount; ++number) {
    if (!categories_[static_cast<std::size_t>(number)]) return number;
  }
  return -1;
}

void CategoryList::MarkAllChanged() {
  for (auto& category : categories_) {
    if (category) category->SetChanged(true);
  }
}

long CategoryList::AddAndMarkChanged(CPCategory& category) {
  const long status = Add(category);
  if (status == kOk) changed_ = true;
  return status;
}

long CategoryList::ReplaceAt(long number, const CPCategory& category) {
  if (!IsNumber(number)) return kIndexOutOfRange;
  // The copy is made first, so a failure leaves the old category in place.
  auto copy = base::MakeOrNull<CPCategory>(category);
  if (!copy) return kOutOfMemory;
  if (categories_[static_cast<std::size_t>(number)]) Destroy(number);
  categories_[static_cast<std::size_t>(number)] = std::move(copy);
  ++count_;
  return kOk;
}

long CategoryList::RenameAt(long number, const char* name) {
  if (!IsNumber(number)) return kIndexOutOfRange;
  CPCategory* category = categories_[static_cast<std::size_t>(number)].get();
  if (category == nullptr) return kCategoryNumberFree;
  category->SetName(name);
  return kOk;
}

long CategoryList::RemoveAt(long number) {
  if (!IsNumber(number) || !categories_[static_cast<std::size_t>(number)]) return kIndexOutOfRange;
  Destroy(number);
  changed_ = true;
  return kOk;
}

long CategoryList::RemoveById(long id) {
  for (long number = 0; number < kCategoryCount; ++number) {
    const auto& category = categories_[static_cast<std::size_t>(number)];
    if (category && category->GetId() == id) {
      Destroy(number);
      changed_ = true;
      return kOk;
    }
  }
  return kCategoryNotFound;
}

long CategoryList::RemoveByName(const char* name) {
  if (name == nullptr || *name == '\0') return kEmptyName;
  for (long number = 0; number < kCategoryCount; ++number) {
    const auto& category = categories_[static_cast<std::size_t>(number)];
    if (category && category->GetName() != nullptr && std::strcmp(category->GetName(), name) == 0) {
      Destroy(number);
      changed_ = true;
      return kOk;
    }
  }
  return kCategoryNotFound;
}

bool CategoryList::IsChanged() const { return changed_; }
void CategoryList::SetChanged(bool changed) { changed_ = changed; }

bool CategoryList::Equals(const CategoryList& other) const {
  for (std::size_t number = 0; number < categories_.size(); ++number) {
    const CPCategory* mine = categories_[number].get();
    const CPCategory* theirs = other.categories_[number].get();
    if ((mine == nullptr) != (theirs == nullptr)) return false;
    if (mine != nullptr && !mine->Equals(*theirs)) return false;
  }
  return true;
}

void CategoryList::Clear() {
  for (auto& category : categories_) category.reset();
  count_ = 0;
  position_ = 0;
}

long CategoryList::Add(CPCategory& category) {
  if (count_ >= kCategoryCount) return kCategoryListFull;
  if (category.GetIndex() == -1) {
    const long number = FreeIndex();
    if (number == -1) return kCategoryListFull;
    category.SetIndex(number);
    category.SetChanged(true);
  }
  // The list has room for the numbers 0 to 15 only, one category each.
  if (!IsNumber(category.GetIndex())) return kIndexOutOfRange;
  if (category.GetId() == -1) {
    const long id = NewId();
    if (id == -1) return kCategoryListFull;
    category.SetId(id);
    category.SetChanged(true);
  }
  if (FindById(category.GetId()) != nullptr) return kCategoryIdExists;
  if (categories_[static_cast<std::size_t>(category.GetIndex())]) return kCategoryListFull;

  char safeName[CPCategory::kMaxSafeNameLength + 1];
  long safeSize = sizeof(safeName);
  if (MakeSafeName(category.GetName(), safeName, &safeSize) == kOk) category.SetSafeName(safeName);

  auto copy = base::MakeOrNull<CPCategory>(category);
  if (!copy) return kOutOfMemory;
  categories_[static_cast<std::size_t>(category.GetIndex())] = std::move(copy);
  ++count_;
  return kOk;
}

long CategoryList::NewId() const { return -1; }

std::uint16_t CategoryList::Swap16(std::uint16_t value) const {
  return static_cast<std::uint16_t>((value << 8) | (value >> 8));
}

long CategoryList::MakeSafeName(const char* name, char* buffer, long* size) const {
  if (name == nullptr || *name == '\0') return kEmptyName;
  if (buffer == nullptr) return kMissingArgument;
  if (size == nullptr) return kMissingOutput;
  if (*size < 1) {
    *size = static_cast<long>(std::strlen(name)) + 1;
    return kBufferTooSmall;
  }
  base::CopyBounded(buffer, static_cast<std::size_t>(*size), name);
  // Only single-byte characters are replaced: the trail byte of a double-byte character may have the
  // value of a backslash or a bracket and is part of that character.
  for (char* p = buffer; *p != '\0'; p += base::CharBytes(p)) {
    if (base::CharBytes(p) == 1 && std::strchr(kUnsafeInFileNames, *p) != nullptr) *p = '_';
  }
  return kOk;
}

}  // namespace korvet::store
