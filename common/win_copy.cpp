#include "common/win_copy.h"

#include <windows.h>

namespace korvet {

bool CopyFileReplacing(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

}  // namespace korvet
