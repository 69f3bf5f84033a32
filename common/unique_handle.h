// One owner for every kind of Win32 handle: move-only, and the handle is closed when the owner goes.
// A traits type names the handle type, its invalid value and how it is closed, so each kind takes
// one line and no wrapper writes its own destructor, move pair or close.
#pragma once

#include <windows.h>

#include <utility>

namespace korvet {

template <typename Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Type handle) : handle_(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  bool IsValid() const { return handle_ != Traits::Invalid(); }
  explicit operator bool() const { return IsValid(); }
  Type Get() const { return handle_; }
  // Gives the handle up without closing it.
  Type Release() { return std::exchange(handle_, Traits::Invalid()); }
  // Closes what it holds and takes `handle`; false when the close reported a failure.
  bool Reset(Type handle = Traits::Invalid()) {
    const Type old = std::exchange(handle_, handle);
    return old == Traits::Invalid() || Traits::Close(old);
  }

 private:
  Type handle_ = Traits::Invalid();
};

// Files and other handles whose failed open gives INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Type handle) { return CloseHandle(handle) != 0; }
};
// Processes, threads and jobs, whose failed open gives null.
struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static bool Close(Type handle) { return CloseHandle(handle) != 0; }
};
struct FileSearchTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Close(Type handle) { return FindClose(handle) != 0; }
};
struct LibraryTraits {
  using Type = HMODULE;
  static Type Invalid() { return nullptr; }
  static bool Close(Type module) { return FreeLibrary(module) != 0; }
};
struct BitmapTraits {
  using Type = HBITMAP;
  static Type Invalid() { return nullptr; }
  static bool Close(Type bitmap) { return DeleteObject(bitmap) != 0; }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFileSearch = UniqueHandle<FileSearchTraits>;
using UniqueLibrary = UniqueHandle<LibraryTraits>;
using UniqueBitmap = UniqueHandle<BitmapTraits>;

}  // namespace korvet
