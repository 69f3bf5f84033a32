// CategoryList: the up to sixteen categories of one database, read from and written to the 276-byte
// category block that starts the database's application-information block (in the handheld's byte
// order), and whether they changed since they were loaded.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "conduit/store/category.h"

namespace korvet::store {

inline constexpr long kCategoryCount = 16;

#pragma pack(push, 1)
// The category block as the handheld keeps it; multi-byte values are big-endian.
struct CategoryBlock {
  std::uint8_t relabelled[2];      // bit i set: category i was relabelled
  char names[kCategoryCount][16];  // NUL-padded; an empty name leaves the number free
  std::uint8_t ids[kCategoryCount];
  std::uint8_t reserved[2];  // written as 0
};
#pragma pack(pop)
static_assert(sizeof(CategoryBlock) == 276);
inline constexpr long kCategoryBlockSize = sizeof(CategoryBlock);

class CategoryList {
 public:
  CategoryList();
  CategoryList(const void* block, long size);  // starts empty and loads the block
  CategoryList(const CategoryList&) = delete;
  CategoryList& operator=(const CategoryList&) = delete;
  virtual ~CategoryList();

  // Virtual operations in their slot order.
  // Replaces the list with the categories of a category block; the result is that of the last Add.
  virtual long Load(const void* block, long size);
  virtual long Store(void* buffer, long* size) const;
  virtual long GetCount() const;
  virtual CPCategory* FindById(long id) const;
  virtual CPCategory* FindByName(const char* name) const;  // ignoring letter case
  virtual CPCategory* GetAt(long number) const;
  virtual CPCategory* First();
  virtual CPCategory* Next();
  virtual long FreeIndex() const;  // lowest free number from 1 to 15, or -1
  virtual void MarkAllChanged();
  virtual long AddAndMarkChanged(CPCategory& category);
  virtual long ReplaceAt(long number, const CPCategory& category);
  virtual long RenameAt(long number, const char* name);
  virtual long RemoveAt(long number);
  virtual long RemoveById(long id);
  virtual long RemoveByName(const char* name);  // exact, case-sensitive name
  virtual bool IsChanged() const;
  virtual void SetChanged(bool changed);
  virtual bool Equals(const CategoryList& other) const;
  virtual void Clear();
  // Stores a copy of the category at its number. A category without a number gets the lowest free
  // one and the changed mark (as the caller's category does too); one without an ID is refused.
  virtual long Add(CPCategory& category);
  virtual long NewId() const;  // -1: a list cannot invent category IDs
  virtual std::uint16_t Swap16(std::uint16_t value) const;
  virtual long MakeSafeName(const char* name, char* buffer, long* size) const;

 private:
  static bool IsNumber(long number) { return number >= 0 && number < kCategoryCount; }
  void Destroy(long number);

  long count_ = 0;
  long position_ = 0;
  std::array<std::unique_ptr<CPCategory>, kCategoryCount> categories_;
  bool changed_ = false;
};

}  // namespace korvet::store
