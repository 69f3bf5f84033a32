// Writes a database through sync20.dll's operations, or reads one through them, and lists what it
// wrote or read in a plain text form that the Palm::PDB side of the interoperability test also
// produces:
//   name <name> / creator <hex> / type <hex> / version <n> / appinfo <hex or ->
//   record <id, 6 hex> <attributes, 2 hex> <category> <data hex or ->
//
//   sim_pdb_interop write|write-open|read INSTALL_FOLDER DATABASE LISTING
// "write-open" leaves the database open and the session running when the program ends, so that the
// library's own clean-up must write it back. An installation folder "-" keeps the library's default.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "conduit/platform/sync_manager.h"
#include "sim/sync20/sync20_control.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace hh = korvet::handheld;

constexpr std::uint8_t kDeleted = hh::kHandheldDeleted;
constexpr std::uint8_t kModified = hh::kHandheldModified;
constexpr std::uint8_t kPrivate = hh::kHandheldPrivate;
constexpr std::uint8_t kArchived = hh::kHandheldArchived;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string Hex(const std::uint8_t* bytes, std::size_t size) {
  if (size == 0) return "-";
  std::string text;
  char pair[3];
  for (std::size_t i = 0; i < size; ++i) {
    std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
    text += pair;
  }
  return text;
}

void PrintRecord(std::FILE* out, std::uint32_t id, std::uint8_t attributes, int category, const Bytes& data) {
  std::fprintf(out, "record %06x %02x %d %s\n", static_cast<unsigned>(id), attributes, category,
               Hex(data.data(), data.size()).c_str());
}

bool Check(long code, const char* what) {
  if (code != 0) std::fprintf(stderr, "%s failed with 0x%lx\n", what, code);
  return code == 0;
}

// A record as the device keeps what was written: the archive bit only on a deleted record, no
// category beside the deleted bit, and no data in a deleted record that was not archived.
struct Written {
  std::uint32_t id;
  std::uint8_t attributes;
  int category;
  Bytes data;
};

Written AsTheDeviceKeepsIt(std::uint32_t id, std::uint8_t attributes, int category, Bytes data) {
  if (!(attributes & kDeleted)) attributes &= static_cast<std::uint8_t>(~kArchived);
  if (attributes & kDeleted) category = 0;
  if ((attributes & kDeleted) && !(attributes & kArchived)) data.clear();
  return {id, attributes, category, std::move(data)};
}

int Write(const std::string& name, bool leaveOpen, std::FILE* out) {
  hh::DatabaseCreationBlock create{};
  create.creator = 0x4B525654;  // "KRVT"
  create.type = 0x44415441;     // "DATA"
  create.flags = 0x0008;
  create.version = 1;
  std::strncpy(create.name, name.c_str(), sizeof create.name - 1);
  DeleteHandheldDatabase(name.c_str(), 0);
  if (!Check(CreateHandheldDatabase(&create), "CreateHandheldDatabase")) return 1;
  const std::uint8_t handle = create.handle;

  Bytes appInfo(300);
  for (std::size_t i = 0; i < appInfo.size(); ++i) appInfo[i] = static_cast<std::uint8_t>(i * 7);
  hh::DatabaseInfoBlock info{};
  info.capacity = info.dataSize = static_cast<std::uint16_t>(appInfo.size());
  info.data = appInfo.data();
  if (!Check(WriteHandheldAppInfoBlock(handle, &info), "WriteHandheldAppInfoBlock")) return 1;

  std::vector<Written> written;  // in the order of the database: a write answers with the ID alone
  auto write = [&](std::uint32_t id, std::uint8_t attributes, int category, Bytes data) {
    hh::RecordTransferBlock block{};
    block.handle = handle;
    block.recordId = id;
    block.attributes = attributes;
    block.category = static_cast<std::int16_t>(category);
    block.dataSize = static_cast<std::uint32_t>(data.size());
    block.capacity = static_cast<std::uint16_t>(data.size());
    block.data = data.data();
    if (!Check(WriteHandheldRecord(&block), "WriteHandheldRecord")) return false;
    Written kept = AsTheDeviceKeepsIt(block.recordId, attributes, category, std::move(data));
    auto same = std::find_if(written.begin(), written.end(), [&](const Written& w) { return w.id == kept.id; });
    if (same != written.end()) {
      *same = std::move(kept);
    } else {
      written.push_back(std::move(kept));
    }
    return true;
  };
  Bytes every(256);
  for (int i = 0; i < 256; ++i) every[i] = static_cast<std::uint8_t>(i);
  Bytes long_(3000);
  for (std::size_t i = 0; i < long_.size(); ++i) long_[i] = static_cast<std::uint8_t>(i % 251);
  bool ok = write(0, 0, 0, {'h', 'e', 'l', 'l', 'o'}) && write(0, kModified | kPrivate, 15, every) &&
            write(0, kModified, 7, long_) && write(0, kDeleted | kModified, 3, {'g', 'o', 'n', 'e'}) &&
            write(0, kDeleted | kArchived, 9, {'k', 'e', 'e', 'p'}) &&
            write(0, kArchived | kPrivate, 4, {'a', 'r', 'c', 'h'}) &&
            write(0, kDeleted | kArchived | kModified | kPrivate, 0, {'s', 'e', 'c'}) && write(0, 0, 1, {}) &&
            write(0x00ABCDEF, kModified, 2, {'i', 'd'}) && write(0, 0, 5, {'d', 'r', 'o', 'p'});
  if (!ok) return 1;
  ok = write(written[0].id, kModified, 6, {'h', 'e', 'l', 'l', 'o', '!'});  // replaced in place
  hh::RecordTransferBlock drop{};
  drop.handle = handle;
  drop.recordId = written.back().id;
  if (!ok || !Check(DeleteHandheldRecord(&drop), "DeleteHandheldRecord")) return 1;
  written.pop_back();
  if (!leaveOpen && !Check(CloseHandheldDatabase(handle), "CloseHandheldDatabase")) return 1;

  std::fprintf(out, "name %s\ncreator 4b525654\ntype 44415441\nversion 1\nappinfo %s\n", name.c_str(),
               Hex(appInfo.data(), appInfo.size()).c_str());
  for (const Written& record : written) {
    PrintRecord(out, record.id, record.attributes, record.category, record.data);
  }
  return 0;
}

int Read(const std::string& name, std::FILE* out) {
  hh::DatabaseQuery query{0xC0, 0, name.c_str()};
  hh::FoundDatabaseBlock found{};
  if (!Check(SyncFindDbByName(&query, &found), "SyncFindDbByName")) return 1;
  std::uint8_t handle = 0;
  const std::uint8_t mode = hh::kOpenRead | hh::kOpenShowSecret;  // the private records too
  if (!Check(OpenHandheldDatabase(name.c_str(), 0, &handle, mode), "OpenHandheldDatabase")) return 1;
  Bytes buffer(hh::kMaxRecordSize);
  hh::DatabaseInfoBlock info{};
  info.capacity = hh::kMaxRecordSize;
  info.data = buffer.data();
  const long infoCode = ReadHandheldAppInfoBlock(handle, &info);
  if (infoCode != 0 && infoCode != 0x4003) return Check(infoCode, "ReadHandheldAppInfoBlock") ? 0 : 1;
  std::fprintf(out, "name %s\ncreator %08x\ntype %08x\nversion %u\nappinfo %s\n", found.name,
               static_cast<unsigned>(found.creator), static_cast<unsigned>(found.type), found.version,
               Hex(buffer.data(), info.dataSize).c_str());
  std::uint16_t count = 0;
  if (!Check(SyncGetDBRecordCount(handle, &count), "SyncGetDBRecordCount")) return 1;
  for (std::uint16_t index = 0; index < count; ++index) {
    hh::RecordTransferBlock block{};
    block.handle = handle;
    block.index = index;
    block.capacity = hh::kMaxRecordSize;
    block.data = buffer.data();
    if (!Check(ReadHandheldRecordByIndex(&block), "ReadHandheldRecordByIndex")) return 1;
    PrintRecord(out, block.recordId, block.attributes, block.category,
                Bytes(buffer.begin(), buffer.begin() + block.dataSize));
  }
  return Check(CloseHandheldDatabase(handle), "CloseHandheldDatabase") ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: sim_pdb_interop write|write-open|read INSTALL_FOLDER DATABASE LISTING\n");
    return 2;
  }
  const std::string command = argv[1];
  if (std::strcmp(argv[2], "-") != 0 && !Check(SimSetInstallDirectory(argv[2]), "SimSetInstallDirectory")) {
    return 1;
  }
  File out(std::fopen(argv[4], "wb"));
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", argv[4]);
    return 1;
  }
  if (command == "write-open") return Write(argv[3], true, out.get());
  const int result = command == "write"  ? Write(argv[3], false, out.get())
                     : command == "read" ? Read(argv[3], out.get())
                                         : 2;
  return Check(SimEndSession(), "SimEndSession") ? result : 1;
}
