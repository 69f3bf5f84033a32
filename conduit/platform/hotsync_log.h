// Plain text lines of the HotSync log (activity -1).
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "common/error_text.h"
#include "conduit/platform/sync_manager.h"

namespace korvet {

inline constexpr long kPlainTextActivity = -1;

// Lines carry paths and names from lists, files and the handheld: a control byte among them is
// shown, never written raw. A line without one is written as it is, with no allocation (the
// out-of-memory lines depend on that).
inline void LogLine(const char* text) {
  const char* end = text + std::strlen(text);
  const bool plain = std::find_if(text, end, [](char c) {
                       const auto byte = static_cast<unsigned char>(c);
                       return byte < 0x20 || byte == 0x7F;
                     }) == end;
  if (plain) {
    AppendHotSyncLog(text, kPlainTextActivity, 0);
  } else {
    AppendHotSyncLog(VisibleText(text).c_str(), kPlainTextActivity, 0);
  }
}
inline void LogLine(const std::string& text) {
  if (text.find('\0') != std::string::npos) {
    AppendHotSyncLog(VisibleText(text).c_str(), kPlainTextActivity, 0);
  } else {
    LogLine(text.c_str());
  }
}

}  // namespace korvet
