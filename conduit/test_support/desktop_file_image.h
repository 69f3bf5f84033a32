// Builds generic desktop data files byte by byte for tests, independently of the structures that read
// and write them: little-endian integers, NUL-padded text fields, the header, information blocks and
// packed records.
#pragma once

#include <cstdint>
#include <string>

namespace korvet::testing {

class DesktopFileImage {
 public:
  DesktopFileImage& U8(std::uint8_t v) {
    bytes_ += static_cast<char>(v);
    return *this;
  }
  DesktopFileImage& U16(std::uint16_t v) {
    return U8(static_cast<std::uint8_t>(v)).U8(static_cast<std::uint8_t>(v >> 8));
  }
  DesktopFileImage& U32(std::uint32_t v) {
    return U16(static_cast<std::uint16_t>(v)).U16(static_cast<std::uint16_t>(v >> 16));
  }
  DesktopFileImage& Text(const std::string& text, std::size_t field) {
    std::string padded = text;
    padded.resize(field, '\0');
    bytes_ += padded;
    return *this;
  }
  DesktopFileImage& Raw(const std::string& bytes) {
    bytes_ += bytes;
    return *this;
  }
  // An 84-byte header for "KORVETDatabaseDB" (creator "KRVT", type "DATA", attributes 8, version 1,
  // modification time 100, modification number 7, creation time 200, backup time 300).
  DesktopFileImage& Header(std::uint32_t records, std::uint32_t appSize = 0, std::uint32_t sortSize = 0) {
    U32(84).U16(1).Text("KORVETDatabaseDB", 34).U32(1).U32(0x4B525654).U32(0x44415441).U16(8).U16(0);
    return U32(100).U32(7).U32(200).U32(300).U32(records).U32(appSize).U32(sortSize);
  }
  // An information block whose data area is exactly the data.
  DesktopFileImage& Block(const std::string& name, const std::string& data, std::uint32_t extra = 0) {
    const auto size = static_cast<std::uint32_t>(data.size());
    U32(56 + size).U16(0x1002).U16(0).U32(56).Text(name, 32).U32(size).U32(size).U32(extra);
    return Raw(data);
  }
  DesktopFileImage& Record(std::uint32_t id, std::uint16_t attributes, std::uint32_t category,
                           const std::string& data) {
    return Head(40 + static_cast<std::uint32_t>(data.size()), id, attributes, category,
                static_cast<std::uint32_t>(data.size()))
        .Raw(data);
  }
  // A 40-byte record head with whatever lengths the test wants.
  DesktopFileImage& Head(std::uint32_t total, std::uint32_t id, std::uint16_t attributes, std::uint32_t category,
                         std::uint32_t dataLength) {
    U32(total).U32(0x1002).U32(40).U32(0).U32(id).U32(0).U16(attributes).U16(0);
    return U32(category).U32(0).U32(dataLength);
  }
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace korvet::testing
