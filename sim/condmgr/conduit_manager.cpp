#include "sim/condmgr/conduit_manager.h"

#include <algorithm>
#include <cstring>

namespace korvet::hotsync {

long CopyCorePath(const std::string& folder, char* buffer, std::int32_t* capacity) {
  if (!buffer || !capacity) return kCmBadArgument;
  if (folder.empty()) return kCmNoCorePath;
  std::size_t needed = folder.size() + 1;
  if (*capacity < 0 || static_cast<std::size_t>(*capacity) < needed) {
    *capacity = static_cast<std::int32_t>(needed);
    return kCmBufferTooSmall;
  }
  std::memcpy(buffer, folder.c_str(), needed);
  return kCmOk;
}

// Loads the registrations, applies one change and saves them, so each call is one whole update of
// the file. A damaged file is never overwritten.
template <typename Change>
long ConduitManager::Update(const char* creator, Change change) {
  if (!creator || !IsValidCreator(creator)) return kCmBadArgument;
  std::string error;
  std::optional<Registrations> registrations = LoadRegistrations(folder_, &error);
  if (!registrations) return kCmStorageFailure;
  long result = change(*registrations);
  if (result != kCmOk && result != kCmRemoved) return result;
  if (!SaveRegistrations(folder_, *registrations, &error)) return kCmStorageFailure;
  return result;
}

long ConduitManager::InstallCreator(const char* creator, const std::int32_t* type) {
  if (!type) return kCmBadArgument;
  return Update(creator, [&](Registrations& registrations) {
    if (FindRegistration(registrations, creator)) return kCmAlreadyRegistered;
    registrations.push_back(ConduitRegistration{.creator = creator, .type = *type});
    return kCmOk;
  });
}

long ConduitManager::SetText(const char* creator, CreatorField field, const char* value) {
  if (!value || !IsValidValue(value)) return kCmBadArgument;
  return Update(creator, [&](Registrations& registrations) {
    ConduitRegistration* conduit = FindRegistration(registrations, creator);
    if (!conduit) return kCmNotRegistered;
    conduit->*field = value;
    return kCmOk;
  });
}

long ConduitManager::SetPriority(const char* creator, const std::int32_t* priority) {
  if (!priority) return kCmBadArgument;
  return Update(creator, [&](Registrations& registrations) {
    ConduitRegistration* conduit = FindRegistration(registrations, creator);
    if (!conduit) return kCmNotRegistered;
    conduit->priority = *priority;
    return kCmOk;
  });
}

long ConduitManager::Remove(const char* creator) {
  long result = Update(creator, [&](Registrations& registrations) {
    auto found = std::find_if(registrations.begin(), registrations.end(),
                              [&](const ConduitRegistration& conduit) { return conduit.creator == creator; });
    if (found == registrations.end()) return kCmNotRegistered;
    registrations.erase(found);
    return kCmRemoved;
  });
  return result == kCmNotRegistered ? kCmNotRemoved : result;
}

}  // namespace korvet::hotsync
