// Where a desktop store hands the settings file it opened: the shared settings-file store of the
// settings-file transfer builds the one record a settings file becomes. Declared here so that the
// stores need nothing from the engine above them.
#pragma once

namespace korvet::store {

class SyncRecord;

class SettingsRecordSource {
 public:
  // Keeps the characters after the last backslash of the path as the file name.
  virtual long SetFileName(const char* path) = 0;
  // The record text becomes the file name, ",", the text and "*".
  virtual long BuildRecordText(const char* text) = 0;
  // Fills the record a settings file becomes; false only when memory runs out.
  virtual bool FillRecord(SyncRecord& record) const = 0;

 protected:
  ~SettingsRecordSource() = default;
};

// The one shared instance, which lives as long as the conduit library.
SettingsRecordSource& SharedSettingsRecordSource();

}  // namespace korvet::store
