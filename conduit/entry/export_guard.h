// HotSync Manager runs the conduit inside its own process: an exception leaving an export would end
// that process. Whatever escapes an export's body becomes one HotSync log line and the failure result.
#pragma once

#include <array>
#include <cstddef>
#include <exception>

#include "conduit/platform/hotsync_log.h"

namespace korvet {

inline constexpr long kInternalFailure = -1;

namespace guard_detail {

// The line is put together on the stack: the exception may be an out-of-memory, and a second one
// inside the handler would end HotSync Manager after all.
inline void LogStopped(const char* where, const char* why) noexcept {
  std::array<char, 256> line{};
  std::size_t used = 0;
  for (const char* part : {"Korvet stopped in ", where, ": ", why}) {
    for (; part && *part && used + 1 < line.size(); ++part) line[used++] = *part;
  }
  LogLine(line.data());
}

}  // namespace guard_detail

template <typename Body>
long Guarded(const char* where, Body&& body) noexcept {
  try {
    return body();
  } catch (const std::exception& error) {
    guard_detail::LogStopped(where, error.what());
  } catch (...) {
    guard_detail::LogStopped(where, "unknown failure");
  }
  return kInternalFailure;
}

}  // namespace korvet
