// The entries of the settings-file list, "directory,name*" each, as every program reads and writes
// them: the directory (ending with the backslash the list editor writes), a comma, the file's name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvet {

class ListedFile {
 public:
  // The entry the list editor writes for a file it adds.
  ListedFile(std::string_view directory, std::string_view fileName);
  // An entry's bytes as the list holds them, without its '*'.
  static ListedFile FromText(std::string text);

  const std::string& Text() const { return text_; }
  // The first comma splits the entry, as the HotSync session reads it; a list written by hand may
  // hold more. Without a comma the directory is the whole entry and the name is empty.
  bool HasSeparator() const { return comma_ != std::string::npos; }
  std::string Directory() const { return text_.substr(0, comma_); }
  std::string FileName() const { return HasSeparator() ? text_.substr(comma_ + 1) : std::string(); }
  // The line the dialogs show: the entry with every comma dropped, e.g. "C:\Data\site1.qzl".
  std::string Shown() const;

 private:
  explicit ListedFile(std::string text);
  std::string text_;
  std::size_t comma_;
};

// A list's text before its '@': the entries ended by '*', then whatever follows the last one.
struct ListedFiles {
  std::vector<ListedFile> files;
  std::string unended;

  static ListedFiles Parse(std::string_view listText);
  std::string Text() const;
  // Each entry's line ended by CR LF, then the bytes after the last entry without their commas.
  std::string Shown() const;
};

}  // namespace korvet
