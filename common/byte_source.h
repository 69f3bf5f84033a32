// The list files are read one byte at a time, the way the HotSync session always read them: from a
// file on disk (WinFile) or from bytes already in memory (tests, and parsers given the bytes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace korvet {

class ByteSource {
 public:
  enum class ReadResult { kByte, kEndOfFile, kFailed };

  virtual ReadResult ReadByte(std::uint8_t& byte) = 0;
  // The system's error code of the last read that failed.
  virtual std::uint32_t ReadError() const = 0;

 protected:
  ByteSource() = default;
  ByteSource(const ByteSource&) = default;
  ByteSource& operator=(const ByteSource&) = default;
  ~ByteSource() = default;
};

class MemoryBytes final : public ByteSource {
 public:
  explicit MemoryBytes(std::string bytes) : bytes_(std::move(bytes)) {}

  ReadResult ReadByte(std::uint8_t& byte) override {
    if (next_ == bytes_.size()) return ReadResult::kEndOfFile;
    byte = static_cast<std::uint8_t>(bytes_[next_++]);
    return ReadResult::kByte;
  }
  std::uint32_t ReadError() const override { return 0; }

 private:
  std::string bytes_;
  std::size_t next_ = 0;
};

}  // namespace korvet
