// Plain text lines of the HotSync log (activity -1).
#pragma once

#include <string>

#include "conduit/platform/sync_manager.h"

namespace korvet {

inline constexpr long kPlainTextActivity = -1;

inline void LogLine(const char* text) { AppendHotSyncLog(text, kPlainTextActivity, 0); }
inline void LogLine(const std::string& text) { LogLine(text.c_str()); }

}  // namespace korvet
