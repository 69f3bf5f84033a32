#include "conduit/base/text_buffer.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include "conduit/base/allocation.h"
#include "conduit/base/ansi_text.h"

namespace korvet::base {

namespace {

// What the text points at while no storage is allocated. Never written: every writer allocates first.
char g_emptyText[1] = {'\0'};

bool IsWhiteSpace(const char* p) { return CharBytes(p) == 1 && std::strchr(" \t\n\v\f\r", *p) != nullptr; }

// True when the character at p (bytes long) is one of the characters of set.
bool InSet(const char* set, const char* p, std::size_t bytes) {
  if (set == nullptr || bytes == 0) return false;
  for (const char* s = set; *s != '\0'; s = NextChar(s)) {
    if (CharBytes(s) == bytes && std::memcmp(s, p, bytes) == 0) return true;
  }
  return false;
}

bool IsChar(const char* p, char c) { return CharBytes(p) == 1 && *p == c; }

long ToLong(std::size_t n) { return n > static_cast<std::size_t>(LONG_MAX) ? LONG_MAX : static_cast<long>(n); }

}  // namespace

TextBuffer::TextBuffer() : text_(g_emptyText) { Allocate(kMinimumAllocation); }

TextBuffer::TextBuffer(const char* text) : text_(g_emptyText) { AssignText(text); }

TextBuffer::TextBuffer(const TextBuffer& other) : text_(g_emptyText), module_(other.module_) {
  AssignText(other.text_);
}

TextBuffer::TextBuffer(TextBuffer&& other) noexcept
    : capacity_(other.capacity_), text_(g_emptyText), storage_(std::move(other.storage_)), module_(other.module_) {
  if (capacity_ != 0) text_ = storage_.data();
  other.capacity_ = 0;
  other.text_ = g_emptyText;
  other.storage_.clear();
}

TextBuffer::TextBuffer(Capacity capacity) : text_(g_emptyText) { Allocate(capacity.bytes); }

TextBuffer& TextBuffer::operator=(const TextBuffer& other) {
  AssignBuffer(other);
  return *this;
}

TextBuffer& TextBuffer::operator=(TextBuffer&& other) noexcept {
  if (this != &other) {
    storage_ = std::move(other.storage_);
    capacity_ = other.capacity_;
    text_ = capacity_ != 0 ? storage_.data() : g_emptyText;
    module_ = other.module_;
    other.capacity_ = 0;
    other.text_ = g_emptyText;
    other.storage_.clear();
  }
  return *this;
}

TextBuffer& TextBuffer::operator=(const char* text) {
  AssignText(text);
  return *this;
}

TextBuffer::~TextBuffer() { FreeStorage(true); }

long TextBuffer::Store(long capacity, bool keepText) {
  if (capacity <= 0) {
    FreeStorage(true);
    return 0;
  }
  if (capacity == LONG_MAX) return kTextOutOfMemory;
  std::vector<char> fresh;
  // Without memory the old storage and its text stay.
  if (!AssignZeroed(fresh, static_cast<std::size_t>(capacity) + 1)) return kTextOutOfMemory;
  if (keepText && capacity_ != 0) {
    // A shorter block keeps as much of the text as fits before its last byte.
    const long kept = std::min(Length(), capacity - 1);
    std::memcpy(fresh.data(), text_, static_cast<std::size_t>(kept));
  }
  storage_.swap(fresh);
  capacity_ = capacity;
  text_ = storage_.data();
  return 0;
}

long TextBuffer::Reserve(long bytes) {
  if (bytes <= capacity_) return 0;
  if (capacity_ == 0) return Allocate(bytes);
  if (bytes > LONG_MAX - kSlack) return kTextOutOfMemory;
  return Store(bytes + kSlack, true);
}

long TextBuffer::Allocate(long bytes) {
  if (capacity_ != 0) return Reserve(bytes);
  return Store(std::max(bytes, kMinimumAllocation), false);
}

long TextBuffer::SetBytes(const char* bytes, long count, long reserveExtra) {
  if (count <= 0) {
    if (capacity_ != 0) text_[0] = '\0';
    return 0;
  }
  // The source may lie inside this buffer's own storage, which growing would free.
  const std::string copy(bytes, static_cast<std::size_t>(count));
  if (count > LONG_MAX - reserveExtra) return kTextOutOfMemory;
  const long status = Reserve(count + reserveExtra);
  if (status != 0) return status;
  std::memcpy(text_, copy.data(), copy.size());
  text_[count] = '\0';
  return 0;
}

long TextBuffer::AssignText(const char* text) {
  if (text == nullptr || *text == '\0') return SetBytes(nullptr, 0, 0);
  return SetBytes(text, ToLong(std::strlen(text)), 256);
}

long TextBuffer::AssignBuffer(const TextBuffer& other) {
  if (&other == this) return 0;
  return AssignText(other.text_);
}

long TextBuffer::AssignBufferCopy(const TextBuffer& other) { return AssignBuffer(other); }

void TextBuffer::FreeStorage(bool release) {
  if (release) {
    std::vector<char>().swap(storage_);
    capacity_ = 0;
    text_ = g_emptyText;
  } else if (capacity_ != 0) {
    std::fill(storage_.begin(), storage_.end(), '\0');
  }
}

long TextBuffer::Resize(long bytes) { return Store(bytes, true); }

long TextBuffer::AppendText(const char* text) {
  if (text == nullptr || *text == '\0') return 0;
  const std::string joined = std::string(text_) + text;
  return SetBytes(joined.data(), ToLong(joined.size()), 2);
}

long TextBuffer::Concatenate(const char* a, const char* b) {
  const std::string joined = std::string(a != nullptr ? a : "") + (b != nullptr ? b : "");
  return SetBytes(joined.data(), ToLong(joined.size()), 2);
}

long TextBuffer::FormatArgs(const char* pattern, va_list args) {
  if (pattern == nullptr) return SetBytes(nullptr, 0, 0);
  // Measuring with the formatter itself gives the exact room needed, whatever the conversions.
  va_list measure;
  va_copy(measure, args);
  const int needed = std::vsnprintf(nullptr, 0, pattern, measure);
  va_end(measure);
  if (needed <= 0) return SetBytes(nullptr, 0, 0);
  std::string formatted(static_cast<std::size_t>(needed) + 1, '\0');
  std::vsnprintf(formatted.data(), formatted.size(), pattern, args);
  return SetBytes(formatted.data(), needed, 1);
}

long TextBuffer::Length() const {
  return capacity_ == 0 ? 0 : ToLong(strnlen(text_, static_cast<std::size_t>(capacity_)));
}

long TextBuffer::LengthAgain() const { return Length(); }

const char* TextBuffer::CharPointer(long position) const {
  if (position < 0) return nullptr;
  const char* p = text_;
  for (long i = 0; i < position && *p != '\0'; ++i) p = NextChar(p);
  return *p == '\0' ? nullptr : p;
}

char TextBuffer::CharAt(long position) const {
  const char* p = CharPointer(position);
  return p != nullptr ? *p : '\0';
}

char TextBuffer::CharAtAgain(long position) const { return CharAt(position); }

void TextBuffer::SetCharAt(long position, char c) {
  const char* found = CharPointer(position);
  if (found == nullptr) return;
  char* p = text_ + (found - text_);
  // A double-byte character gives up both of its bytes to the one that replaces it.
  if (CharBytes(p) == 2) std::memmove(p + 1, p + 2, std::strlen(p + 2) + 1);
  *p = c;
}

TextBuffer TextBuffer::Mid(long start, long count) const {
  const long length = Length();
  start = std::clamp(start, 0L, length);
  if (count == -1 || count > length - start) count = length - start;
  TextBuffer result{Capacity{0}};
  if (count > 0) result.SetBytes(text_ + start, count, 1);
  return result;
}

ModuleHandle TextBuffer::GetModule() const { return module_; }

void TextBuffer::SetModule(ModuleHandle module) { module_ = module; }

long TextBuffer::LengthThird() const { return Length(); }

char* TextBuffer::GetWritable(long bytes) {
  if (bytes > 0 && Reserve(bytes) != 0) return nullptr;
  if (capacity_ == 0 && Allocate(kMinimumAllocation) != 0) return nullptr;
  return text_;
}

void TextBuffer::ReleaseWritable(long length) {
  if (capacity_ == 0) return;
  const long textLength = Length();
  if (capacity_ > textLength + kSlack) Resize(textLength + kSlack);
  if (length != -1 && length >= 0 && length < Length()) CutAt(length);
}

void TextBuffer::CutAt(long byteOffset) {
  if (capacity_ != 0 && byteOffset >= 0 && byteOffset < capacity_) text_[byteOffset] = '\0';
}

long TextBuffer::SetLength(long length) {
  if (capacity_ == 0) {
    const long status = Allocate(length > 0 ? length + 1 : kMinimumAllocation);
    if (status != 0) return status;
  }
  const long current = Length();
  if (length == -1) {
    return capacity_ > current + kSlack ? Resize(current + kSlack) : 0;
  }
  if (length < 0) return 0;
  if (length >= current) return length == LONG_MAX ? kTextOutOfMemory : Reserve(length + 1);
  CutAt(length);
  return capacity_ > length + kSlack ? Resize(length + kSlack) : 0;
}

void TextBuffer::NoOp() {}

TextBuffer TextBuffer::Left(long count) const { return Mid(0, count < 0 ? 0 : count); }

TextBuffer TextBuffer::Right(long count) const {
  const long length = Length();
  if (count <= 0) return Mid(length, 0);
  return Mid(count >= length ? 0 : length - count, -1);
}

long TextBuffer::AssignChar(char c) {
  const char text[2] = {c, '\0'};
  return AssignText(text);
}

long TextBuffer::AssignIfOther(const TextBuffer& other) {
  if (other.text_ == text_) return 0;
  return AssignBuffer(other);
}

long TextBuffer::AssignTextOrClear(const char* text) {
  if (text == text_ && capacity_ != 0) return 0;
  return AssignText(text);
}

long TextBuffer::AppendChar(char c) {
  if (c == '\0') return 0;
  const char text[2] = {c, '\0'};
  return AppendText(text);
}

long TextBuffer::AppendTextIfAny(const char* text) {
  if (text == nullptr || *text == '\0') return 0;
  return AppendText(text);
}

long TextBuffer::AppendBuffer(const TextBuffer& other) { return AppendText(other.text_); }

int TextBuffer::CompareBuffer(const TextBuffer& other) const { return CompareText(other.text_); }

int TextBuffer::CompareText(const char* text) const { return std::strcmp(text_, text != nullptr ? text : ""); }

int TextBuffer::CompareTextNoCase(const char* text) const { return CompareNoCase(text_, text); }

TextBuffer TextBuffer::SpanIncluding(const char* set) const {
  const char* p = text_;
  while (*p != '\0' && InSet(set, p, CharBytes(p))) p = NextChar(p);
  return Left(static_cast<long>(p - text_));
}

TextBuffer TextBuffer::SpanExcluding(const char* set) const {
  const char* p = text_;
  while (*p != '\0' && !InSet(set, p, CharBytes(p))) p = NextChar(p);
  return Left(static_cast<long>(p - text_));
}

void TextBuffer::MakeUpper() {
  if (Length() != 0) AssignText(ToUpperCase(text_).c_str());
}

void TextBuffer::MakeLower() {
  if (Length() != 0) AssignText(ToLowerCase(text_).c_str());
}

void TextBuffer::Reverse() {
  const long length = Length();
  if (length < 2) return;
  // Characters change places; the two bytes of a double-byte character keep their order.
  std::string reversed(static_cast<std::size_t>(length), '\0');
  std::size_t end = reversed.size();
  for (const char* p = text_; *p != '\0'; p = NextChar(p)) {
    const std::size_t bytes = CharBytes(p);
    end -= bytes;
    std::memcpy(reversed.data() + end, p, bytes);
  }
  std::memcpy(text_, reversed.data(), reversed.size());
}

namespace {

// Byte offset where the run of trailing characters that satisfy keep... ends the text.
template <typename Trailing>
long TrailingStart(const char* text, Trailing trailing) {
  const char* end = text;  // just after the last character that is not trailing
  for (const char* p = text; *p != '\0'; p = NextChar(p)) {
    if (!trailing(p)) end = NextChar(p);
  }
  return static_cast<long>(end - text);
}

template <typename Leading>
const char* LeadingEnd(const char* text, Leading leading) {
  const char* p = text;
  while (*p != '\0' && leading(p)) p = NextChar(p);
  return p;
}

}  // namespace

void TextBuffer::TrimRight() { CutAt(TrailingStart(text_, IsWhiteSpace)); }

void TextBuffer::TrimRightChar(char c) {
  CutAt(TrailingStart(text_, [c](const char* p) { return IsChar(p, c); }));
}

void TextBuffer::TrimRightSet(const char* set) {
  CutAt(TrailingStart(text_, [set](const char* p) { return InSet(set, p, CharBytes(p)); }));
}

void TextBuffer::TrimLeftSet(const char* set) {
  const char* p = LeadingEnd(text_, [set](const char* q) { return InSet(set, q, CharBytes(q)); });
  if (p != text_) std::memmove(text_, p, std::strlen(p) + 1);
}

void TextBuffer::TrimLeftChar(char c) {
  const char* p = LeadingEnd(text_, [c](const char* q) { return IsChar(q, c); });
  if (p != text_) std::memmove(text_, p, std::strlen(p) + 1);
}

void TextBuffer::TrimLeft() {
  const char* p = LeadingEnd(text_, IsWhiteSpace);
  if (p != text_) std::memmove(text_, p, std::strlen(p) + 1);
}

TextBuffer TextBuffer::TakeFirstWord() {
  TextBuffer rest{Capacity{0}};
  if (*text_ == '\0' || IsWhiteSpace(text_)) return rest;
  const char* space = text_;
  while (*space != '\0' && !IsWhiteSpace(space)) space = NextChar(space);
  if (*space == '\0') return rest;  // one word and nothing after it
  rest.AssignText(LeadingEnd(space, IsWhiteSpace));
  CutAt(static_cast<long>(space - text_));
  return rest;
}

long TextBuffer::FindText(const char* text) const {
  if (text == nullptr || *text == '\0' || *text_ == '\0') return -1;
  const std::size_t length = std::strlen(text);
  // Matches start on character boundaries only: a trail byte followed by the next character's
  // lead byte is not a match.
  for (const char* p = text_; *p != '\0'; p = NextChar(p)) {
    if (std::strncmp(p, text, length) == 0) return static_cast<long>(p - text_);
  }
  return -1;
}

long TextBuffer::FindChar(char c) const {
  if (c == '\0') return -1;
  for (const char* p = text_; *p != '\0'; p = NextChar(p)) {
    if (IsChar(p, c)) return static_cast<long>(p - text_);
  }
  return -1;
}

long TextBuffer::FindBuffer(const TextBuffer& other) const { return FindText(other.text_); }

long TextBuffer::FindCharAgain(char c) const { return FindChar(c); }

long TextBuffer::FindBufferAgain(const TextBuffer& other) const { return FindBuffer(other); }

long TextBuffer::ReverseFindChar(char c) const {
  long found = -1;
  if (c == '\0') return found;
  for (const char* p = text_; *p != '\0'; p = NextChar(p)) {
    if (IsChar(p, c)) found = static_cast<long>(p - text_);
  }
  return found;
}

long TextBuffer::FindOneOf(const char* set) const {
  for (const char* p = text_; *p != '\0'; p = NextChar(p)) {
    if (InSet(set, p, CharBytes(p))) return static_cast<long>(p - text_);
  }
  return -1;
}

bool TextBuffer::IsEmpty() const { return Length() == 0; }

void TextBuffer::ClearText() { FreeStorage(false); }

TextBuffer operator+(const TextBuffer& a, const TextBuffer& b) {
  TextBuffer result{TextBuffer::Capacity{0}};
  result.Concatenate(a.Text(), b.Text());
  return result;
}

TextBuffer operator+(const TextBuffer& a, const char* b) {
  TextBuffer result{TextBuffer::Capacity{0}};
  result.Concatenate(a.Text(), b);
  return result;
}

TextBuffer operator+(const char* a, const TextBuffer& b) {
  TextBuffer result{TextBuffer::Capacity{0}};
  result.Concatenate(a, b.Text());
  return result;
}

TextBuffer operator+(const TextBuffer& a, char c) {
  const char text[2] = {c, '\0'};
  return a + text;
}

long FormatInto(TextBuffer& buffer, const char* pattern, ...) {
  va_list args;
  va_start(args, pattern);
  const long status = buffer.FormatArgs(pattern, args);
  va_end(args);
  return status;
}

}  // namespace korvet::base
