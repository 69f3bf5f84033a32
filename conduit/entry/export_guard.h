// HotSync Manager runs the conduit inside its own process: an exception leaving an export would end
// that process. Whatever escapes an export's body becomes one HotSync log line and the failure result.
#pragma once

#include <exception>
#include <string>

#include "conduit/platform/hotsync_log.h"

namespace korvet {

inline constexpr long kInternalFailure = -1;

template <typename Body>
long Guarded(const char* where, Body&& body) noexcept {
  try {
    return body();
  } catch (const std::exception& error) {
    LogLine(std::string("Korvet stopped in ") + where + ": " + error.what());
  } catch (...) {
    LogLine(std::string("Korvet stopped in ") + where + ": unknown failure");
  }
  return kInternalFailure;
}

}  // namespace korvet
