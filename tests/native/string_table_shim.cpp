// Stands in, on Linux, for the string-table loading of the text buffer (text_buffer_strings.cpp):
// there is no string table here, so every text is missing, as a bad string ID is on Windows. The
// texts themselves are tested under Wine.
#include "conduit/base/text_buffer.h"

namespace korvet::base {

bool TextBuffer::LoadFromStringTable(unsigned) {
  ClearText();
  return false;
}

}  // namespace korvet::base
