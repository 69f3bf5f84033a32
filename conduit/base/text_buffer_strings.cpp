// Texts from the string table of the conduit library (or of the test program that links the framework).
#include "conduit/base/text_buffer.h"

#include <windows.h>

#include <climits>

#include "conduit/base/conduit_module.h"

namespace korvet::base {

bool TextBuffer::LoadFromStringTable(unsigned id) {
  if (module_ == nullptr) module_ = ConduitModule();
  if (Reserve(kMinimumAllocation) != 0) return false;
  for (;;) {
    const int loaded = LoadStringA(module_, id, text_, static_cast<int>(capacity_));
    if (loaded <= 0) {
      text_[0] = '\0';
      return false;
    }
    // A string that filled the buffer may have been cut: retry with more room until two bytes
    // stay free.
    if (capacity_ - loaded >= 2) return true;
    if (capacity_ > LONG_MAX - 256 || Reserve(capacity_ + 256) != 0) return true;  // keep what fitted
  }
}

long FormatFromStringTable(TextBuffer& buffer, unsigned id, ...) {
  TextBuffer pattern{TextBuffer::Capacity{0}};
  pattern.SetModule(buffer.GetModule());
  if (!pattern.LoadFromStringTable(id)) {
    buffer.ClearText();
    return 0;
  }
  va_list args;
  va_start(args, id);
  const long status = buffer.FormatArgs(pattern.Text(), args);
  va_end(args);
  return status;
}

}  // namespace korvet::base
