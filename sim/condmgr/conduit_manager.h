// What the stand-in Conduit Manager does behind its exports, on the registrations of one folder.
#pragma once

#include <cstdint>
#include <string>

#include "sim/condmgr/registrations.h"

namespace korvet::hotsync {

// Results of the Conduit Manager functions (CmRemoveConduitByCreatorID answers 1 for removed).
inline constexpr long kCmOk = 0;
inline constexpr long kCmBadArgument = -1001;    // null pointer, bad creator ID, value with a line break
inline constexpr long kCmNotRegistered = -1002;  // no conduit with that creator ID
inline constexpr long kCmAlreadyRegistered = -1003;
inline constexpr long kCmStorageFailure = -1004;  // the registration file cannot be read or written
inline constexpr long kCmBufferTooSmall = -1005;  // the capacity then says how many bytes are needed
inline constexpr long kCmNoCorePath = -1006;

inline constexpr long kCmRemoved = 1;
inline constexpr long kCmNotRemoved = 0;

// One text of a registration, e.g. &ConduitRegistration::library.
using CreatorField = std::string ConduitRegistration::*;

// Copies the folder and its NUL into the buffer when it fits in *capacity bytes; otherwise leaves the
// buffer alone, puts the size needed into *capacity and answers kCmBufferTooSmall.
long CopyCorePath(const std::string& folder, char* buffer, std::int32_t* capacity);

class ConduitManager {
 public:
  explicit ConduitManager(std::string folder) : folder_(std::move(folder)) {}

  // A new registration with only its type set; one already there is left as it is.
  long InstallCreator(const char* creator, const std::int32_t* type);
  long SetText(const char* creator, CreatorField field, const char* value);
  long SetPriority(const char* creator, const std::int32_t* priority);
  // kCmRemoved when a registration was removed, kCmNotRemoved when there was none, else an error.
  long Remove(const char* creator);

 private:
  template <typename Change>
  long Update(const char* creator, Change change);

  std::string folder_;
};

}  // namespace korvet::hotsync
