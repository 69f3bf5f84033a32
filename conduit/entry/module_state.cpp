#include "conduit/entry/module_state.h"

#include "conduit/base/conduit_module.h"

namespace korvet {
namespace {
HINSTANCE g_module = nullptr;
int g_attachCount = 0;
}  // namespace

HINSTANCE ConduitModule() { return g_module ? g_module : base::ConduitModule(); }

void ConduitAttached(HINSTANCE module) {
  if (g_attachCount++ == 0) g_module = module;
}

void ConduitDetached() { --g_attachCount; }

}  // namespace korvet
