// Plain text lines of the HotSync log (activity -1).
#pragma once

#include <string>

#include "conduit/platform/sync_manager.h"

namespace korvet {

inline constexpr long kPlainTextActivity = -1;

inline void LogLine(const std::string& text) { AppendHotSyncLog(text.c_str(), kPlainTextActivity, 0); }

}  // namespace korvet
