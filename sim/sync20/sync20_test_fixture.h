// Drives the exported operations of sync20.dll against a fresh installation folder per test.
#pragma once

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/paths.h"
#include "conduit/platform/sync_manager.h"
#include "sim/pdb/palm_database.h"
#include "sim/support/sim_files.h"
#include "sim/sync20/sync20_control.h"
#include "sim/sync20/sync20_errors.h"
#include "tests/support/scratch_folder.h"

namespace korvet::sim::testing {

using Bytes = std::vector<std::uint8_t>;
using handheld::DatabaseCreationBlock;
using handheld::DatabaseInfoBlock;
using handheld::RecordTransferBlock;

inline constexpr std::uint32_t kCreator = 0x4B525654;  // "KRVT"
inline constexpr std::uint32_t kType = 0x44415441;     // "DATA"

// Each test gets a fresh installation folder under the temporary folder, removed afterwards.
class Sync20Test : public ::testing::Test {
 protected:
  void SetUp() override {
    SimClearFailures();
    ASSERT_EQ(SimSetInstallDirectory(install_.c_str()), 0);
    SimResetCallCounts();
  }

  void TearDown() override {
    SimEndSession();
    SimClearFailures();
  }

  std::string HandheldFolderPath() const { return JoinPath(install_, "Handheld"); }
  std::string FilePath(const std::string& name) const { return JoinPath(HandheldFolderPath(), name + ".pdb"); }

  // Creates and opens a database; its handle.
  std::uint8_t Create(const std::string& name, std::uint32_t flags = 0) {
    DatabaseCreationBlock block{};
    block.creator = kCreator;
    block.type = kType;
    block.flags = flags;
    block.version = 2;
    std::strncpy(block.name, name.c_str(), sizeof block.name - 1);
    EXPECT_EQ(CreateHandheldDatabase(&block), 0) << name;
    return block.handle;
  }

  std::uint8_t Open(const std::string& name, std::uint8_t mode = handheld::kOpenReadWrite | handheld::kOpenShowSecret) {
    std::uint8_t handle = 0;
    EXPECT_EQ(OpenHandheldDatabase(name.c_str(), 0, &handle, mode), 0) << name;
    return handle;
  }

  // Writes a record; the block as the library filled it. data must outlive nothing: it is copied.
  RecordTransferBlock Write(std::uint8_t handle, std::uint32_t id, std::uint8_t attributes, std::int16_t category,
                            Bytes data, long expected = 0) {
    RecordTransferBlock block{};
    block.handle = handle;
    block.recordId = id;
    block.attributes = attributes;
    block.category = category;
    block.dataSize = static_cast<std::uint32_t>(data.size());
    block.capacity = static_cast<std::uint16_t>(data.size());
    block.data = data.data();
    EXPECT_EQ(WriteHandheldRecord(&block), expected);
    block.data = nullptr;
    return block;
  }

  // A read block with its own buffer.
  struct Read {
    RecordTransferBlock block{};
    Bytes buffer;
    Read(std::uint8_t handle, std::uint16_t capacity = handheld::kMaxRecordSize) : buffer(capacity + 16u, 0xEE) {
      block.handle = handle;
      block.capacity = capacity;
      block.data = buffer.data();
    }
    Bytes Data() const {
      return Bytes(buffer.begin(), buffer.begin() + std::min<std::size_t>(block.dataSize, block.capacity));
    }
  };

  Read ReadIndex(std::uint8_t handle, std::uint16_t index, long expected = 0) {
    Read read(handle);
    read.block.index = index;
    EXPECT_EQ(ReadHandheldRecordByIndex(&read.block), expected) << index;
    return read;
  }

  // A position map block over the caller's array of `count` IDs, from position 0.
  static handheld::PositionMapBlock PositionMapOver(std::uint8_t handle, std::uint32_t* ids, std::uint16_t count) {
    handheld::PositionMapBlock map{};
    map.handle = handle;
    map.wanted = count;
    map.capacity = count;
    map.ids = ids;
    return map;
  }

  std::uint16_t Count(std::uint8_t handle) {
    std::uint16_t count = 0xFFFF;
    EXPECT_EQ(SyncGetDBRecordCount(handle, &count), 0);
    return count;
  }

  // The database file as the library last wrote it.
  PalmDatabase LoadFile(const std::string& name) {
    std::string error;
    auto database = HandheldFolder(HandheldFolderPath()).Load(name, &error);
    EXPECT_TRUE(database) << error;
    return database.value_or(PalmDatabase{});
  }

  void SaveFile(const PalmDatabase& database) {
    std::string error;
    ASSERT_TRUE(HandheldFolder(HandheldFolderPath()).Save(database, &error)) << error;
  }

  korvet::testing::ScratchFolder scratch_;
  const std::string install_ = scratch_.Path();
};

}  // namespace korvet::sim::testing
