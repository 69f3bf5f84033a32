#include "conduit/sync/unused_calls.h"

namespace korvet::sync {
namespace {
bool g_makeUnusedCalls = false;
}  // namespace

void MakeUnusedCalls(bool make) { g_makeUnusedCalls = make; }
bool MakesUnusedCalls() { return g_makeUnusedCalls; }

}  // namespace korvet::sync
