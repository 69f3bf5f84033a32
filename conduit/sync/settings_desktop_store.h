// SettingsDesktopStore: the desktop side of a settings-file synchronizer. During a sync its whole
// content is the one record that its settings file becomes (the base's Open and LoadContents). It also
// reads and writes a structured file of its own: the settings text with its terminating zero, then the
// signature 0x4D500100, two length-prefixed texts, the categories and the packed records. No sync
// writes a desktop file, so its save ends in the non-writing primitive like every other.
#pragma once

#include <array>
#include <cstdint>

#include "conduit/base/text_buffer.h"
#include "conduit/store/desktop_database_manager.h"

namespace korvet::sync {

inline constexpr std::uint32_t kSettingsFileSignature = 0x4D500100;

class SettingsDesktopStore : public store::DesktopDatabaseManager {
 public:
  SettingsDesktopStore(store::SyncLogger* logger, std::uint32_t options, const char* remoteName, const char* fileName,
                       const char* directory, long syncType);
  ~SettingsDesktopStore() override;

  // The base's finish, then the settings file is closed: the backup store copies it next, and a
  // file still held without sharing could not be copied.
  long FinishSync() override;
  // No categories in a settings file is not an error.
  long LoadCategories() override;
  long SaveFile() override;
  // Reads the sections after the settings text. A file without the signature there (a plain settings
  // file) holds no records.
  long LoadFile() override;

  // The sections, in file order.
  virtual long WriteSignature();
  virtual long ReadSignature(bool* present);
  virtual long WriteTexts();
  virtual long ReadTexts();
  virtual long WriteCategories();
  virtual long ReadCategories();
  virtual long WriteRecords();
  virtual long ReadRecords();

  const base::TextBuffer& Title() const { return title_; }
  const base::TextBuffer& Note() const { return note_; }

 private:
  std::uint32_t signature_ = kSettingsFileSignature;
  base::TextBuffer title_;
  base::TextBuffer note_;
  // Format values: version, record section tag, category section tag.
  std::array<std::uint32_t, 3> format_ = {1, 0x1002, 0x1003};
};

}  // namespace korvet::sync
