#include "conduit/base/conduit_module.h"

namespace korvet::base {

HMODULE ConduitModule() {
  // Asking for the module that contains this function's own code finds the conduit library without
  // anyone having to hand its instance handle down.
  static const HMODULE module = [] {
    HMODULE found = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&ConduitModule), &found)) {
      found = GetModuleHandleA(nullptr);
    }
    return found;
  }();
  return module;
}

}  // namespace korvet::base
