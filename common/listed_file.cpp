#include "common/listed_file.h"

#include "common/list_format.h"

namespace korvet {
namespace {

std::string WithoutSeparators(std::string_view text) {
  std::string shown;
  for (char c : text)
    if (c != lists::kSeparator) shown.push_back(c);
  return shown;
}

}  // namespace

ListedFile::ListedFile(std::string text) : text_(std::move(text)), comma_(text_.find(lists::kSeparator)) {}

ListedFile::ListedFile(std::string_view directory, std::string_view fileName)
    : ListedFile(std::string(directory) + lists::kSeparator + std::string(fileName)) {}

ListedFile ListedFile::FromText(std::string text) { return ListedFile(std::move(text)); }

std::string ListedFile::Shown() const { return WithoutSeparators(text_); }

ListedFiles ListedFiles::Parse(std::string_view listText) {
  ListedFiles list;
  for (std::size_t end = listText.find(lists::kEntryEnd); end != std::string_view::npos;
       end = listText.find(lists::kEntryEnd)) {
    list.files.push_back(ListedFile::FromText(std::string(listText.substr(0, end))));
    listText.remove_prefix(end + 1);
  }
  list.unended = listText;
  return list;
}

std::string ListedFiles::Text() const {
  std::string text;
  for (const ListedFile& file : files) text += file.Text() + lists::kEntryEnd;
  return text + unended;
}

std::string ListedFiles::Shown() const {
  std::string shown;
  for (const ListedFile& file : files) shown += file.Shown() + "\r\n";
  return shown + WithoutSeparators(unended);
}

}  // namespace korvet
