// CPCategory: one category of a handheld database: its number (0 to 15, 0 being Unfiled), its 8-bit
// unique ID, its name of at most 15 characters, a file-name-safe form of the name (used to name a
// per-category archive store) and its flags.
#pragma once

#include <cstdint>
#include <string>

namespace korvet::store {

// Flag bit of a category that was relabelled, or created without a number or an ID.
inline constexpr std::uint32_t kCategoryChanged = 0x10;

class CPCategory {
 public:
  // Longest name the category block has room for (its field holds a NUL as well).
  static constexpr std::size_t kMaxNameLength = 15;
  static constexpr std::size_t kMaxSafeNameLength = 255;

  CPCategory();
  CPCategory(long index, long id, const char* name);
  CPCategory(const CPCategory& other);
  CPCategory& operator=(const CPCategory& other);
  virtual ~CPCategory();

  // Virtual operations in their slot order.
  virtual long GetIndex() const;
  virtual long GetId() const;
  virtual const char* GetName() const;  // null when the name is empty
  // Copies the name and its NUL; kBufferTooSmall with the size needed when the buffer is smaller. *size becomes
  // the name's length on success.
  virtual long CopyName(char* buffer, long* size) const;
  virtual long CopySafeName(char* buffer, long* size) const;
  virtual std::uint32_t GetFlags() const;
  virtual void SetId(long id);
  // Keeps at most 15 characters (a double-byte character is never split); kValueTooLarge when the text was cut.
  virtual long SetName(const char* text);
  virtual long SetSafeName(const char* text);  // at most 255 characters; null clears it
  virtual void SetFlags(std::uint32_t flags);
  virtual void SetChanged(bool changed);
  virtual bool IsChanged() const;
  virtual void SetIndex(long index);
  // Same number, ID and name (case-sensitive).
  virtual bool Equals(const CPCategory& other) const;

  const char* GetSafeName() const { return safeName_.c_str(); }

 private:
  long index_ = -1;
  long id_ = -1;
  std::string name_;
  std::string safeName_;
  std::uint32_t flags_ = 0;
};

}  // namespace korvet::store
