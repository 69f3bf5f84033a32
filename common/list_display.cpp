#include "common/list_display.h"

#include "common/list_format.h"
#include "common/report_folder_reader.h"
#include "common/win_file.h"

namespace korvet {

namespace {

struct ListText {
  std::string text;
  bool endMarker = false;  // the reading stopped at a '@'
};

std::optional<ListText> ReadUpToMarker(const std::string& path, std::size_t limit = lists::kDisplayBufferBytes) {
  WinFile file = WinFile::OpenForReading(path);
  if (!file && file.OpenError() == ERROR_FILE_NOT_FOUND) {
    WinFile::CreateNew(path).Close();
    file = WinFile::OpenForReading(path);
  }
  if (!file) return std::nullopt;
  ListText read;
  while (read.text.size() < limit) {
    std::uint8_t byte = 0;
    if (file.ReadByte(byte) != WinFile::ReadResult::kByte || byte == 0) break;
    if (byte == lists::kEndMarker) {
      read.endMarker = true;
      break;
    }
    read.text.push_back(static_cast<char>(byte));
  }
  return read;
}

}  // namespace

std::optional<std::string> ReadListText(const std::string& path) {
  std::optional<ListText> read = ReadUpToMarker(path);
  if (!read) return std::nullopt;
  return read->text;
}

std::optional<std::string> ReadListEntryText(const std::string& path) {
  std::optional<ListText> read = ReadUpToMarker(path, std::string::npos);
  if (!read) return std::nullopt;
  return read->text;
}

std::optional<std::string> ReadFolderPickerText(const std::string& path) {
  std::optional<ListText> read = ReadUpToMarker(path);
  if (!read) return std::nullopt;
  return read->endMarker ? ReportFolderSettings::ShownFolder(read->text) : read->text;
}

}  // namespace korvet
