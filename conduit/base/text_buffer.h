// TextBuffer: the framework's growable, NUL-terminated ANSI text. Category names, database names, file
// names and string-table texts travel in it. Character positions count characters, not bytes, so a
// double-byte character counts once; byte positions are said to be bytes where an operation uses them.
#pragma once

#include <cstdarg>
#include <vector>

// A module handle as the Windows headers declare it (HMODULE points to this struct), so that the
// text itself needs no <windows.h>; only the string-table loading does (text_buffer_strings.cpp).
struct HINSTANCE__;

namespace korvet::base {

using ModuleHandle = HINSTANCE__*;

inline constexpr long kTextOutOfMemory = -501;
inline constexpr long kTextLockFailed = -502;  // kept for callers that test it; owned memory never fails to lock

class TextBuffer {
 public:
  // Room reserved by the first allocation, at the least.
  static constexpr long kMinimumAllocation = 256;
  // Spare bytes added when the storage grows, and left after shrinking.
  static constexpr long kSlack = 64;

  struct Capacity {
    long bytes;
  };

  TextBuffer();  // empty, 256 bytes reserved
  explicit TextBuffer(const char* text);
  TextBuffer(const TextBuffer& other);
  TextBuffer(TextBuffer&& other) noexcept;
  explicit TextBuffer(Capacity capacity);
  TextBuffer& operator=(const TextBuffer& other);
  TextBuffer& operator=(TextBuffer&& other) noexcept;
  TextBuffer& operator=(const char* text);
  virtual ~TextBuffer();

  // The text; never null (an empty text while no storage is allocated).
  const char* Text() const { return text_; }
  // Bytes allocated for the text and its NUL; 0 while no storage is allocated.
  long GetCapacity() const { return capacity_; }

  // Virtual operations in their slot order.
  virtual long Reserve(long bytes);
  virtual long Allocate(long bytes);
  virtual long AssignText(const char* text);
  virtual long AssignBuffer(const TextBuffer& other);
  virtual long AssignBufferCopy(const TextBuffer& other);
  virtual void FreeStorage(bool release);
  virtual long Resize(long bytes);
  virtual long AppendText(const char* text);
  virtual long Concatenate(const char* a, const char* b);
  virtual long FormatArgs(const char* pattern, va_list args);
  virtual long Length() const;
  virtual long LengthAgain() const;
  virtual char CharAt(long position) const;  // first byte of the character; 0 past the end
  virtual char CharAtAgain(long position) const;
  virtual void SetCharAt(long position, char c);
  virtual TextBuffer Mid(long start, long count) const;  // bytes; count -1: to the end
  virtual ModuleHandle GetModule() const;
  virtual void SetModule(ModuleHandle module);
  virtual long LengthThird() const;
  virtual char* GetWritable(long bytes);  // null when no storage could be had
  virtual void ReleaseWritable(long length);
  virtual long SetLength(long length);
  virtual void NoOp();
  virtual TextBuffer Left(long count) const;
  virtual TextBuffer Right(long count) const;
  virtual long AssignChar(char c);
  virtual long AssignIfOther(const TextBuffer& other);
  virtual long AssignTextOrClear(const char* text);
  virtual long AppendChar(char c);
  virtual long AppendTextIfAny(const char* text);
  virtual long AppendBuffer(const TextBuffer& other);
  virtual int CompareBuffer(const TextBuffer& other) const;
  virtual int CompareText(const char* text) const;
  virtual int CompareTextNoCase(const char* text) const;
  virtual TextBuffer SpanIncluding(const char* set) const;
  virtual TextBuffer SpanExcluding(const char* set) const;
  virtual void MakeUpper();
  virtual void MakeLower();
  virtual void Reverse();
  virtual void TrimRight();
  virtual void TrimRightChar(char c);
  virtual void TrimRightSet(const char* set);
  virtual void TrimLeftSet(const char* set);
  virtual void TrimLeftChar(char c);
  virtual void TrimLeft();
  virtual TextBuffer TakeFirstWord();
  virtual long FindText(const char* text) const;  // byte positions, -1 when absent
  virtual long FindChar(char c) const;
  virtual long FindBuffer(const TextBuffer& other) const;
  virtual long FindCharAgain(char c) const;
  virtual long FindBufferAgain(const TextBuffer& other) const;
  virtual long ReverseFindChar(char c) const;
  virtual long FindOneOf(const char* set) const;
  virtual bool LoadFromStringTable(unsigned id);
  virtual bool IsEmpty() const;
  virtual void ClearText();

 private:
  // Storage holds capacity_ bytes for the text plus one hidden NUL that no operation hands out, so the
  // text stays terminated even after a direct writer filled every byte it was given.
  long Store(long capacity, bool keepText);
  long SetBytes(const char* bytes, long count, long reserveExtra);
  void CutAt(long byteOffset);
  const char* CharPointer(long position) const;

  long capacity_ = 0;
  char* text_;
  std::vector<char> storage_;
  ModuleHandle module_ = nullptr;  // null: the conduit library, filled in on first use
};

TextBuffer operator+(const TextBuffer& a, const TextBuffer& b);
TextBuffer operator+(const TextBuffer& a, const char* b);
TextBuffer operator+(const char* a, const TextBuffer& b);
TextBuffer operator+(const TextBuffer& a, char c);

// printf-style formatting into a buffer; the result is the buffer's status.
long FormatInto(TextBuffer& buffer, const char* pattern, ...);
// The same with the pattern loaded from the string table of the buffer's module; 0 and an empty
// text when the string does not exist.
long FormatFromStringTable(TextBuffer& buffer, unsigned id, ...);

}  // namespace korvet::base
