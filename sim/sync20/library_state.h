// The one emulated handheld and call monitor of the loaded sync20.dll.
#pragma once

#include "sim/sync20/call_monitor.h"
#include "sim/sync20/emulated_handheld.h"

namespace korvet::sim {

// Never destroyed: the library's process-detach handler still writes databases back after the
// runtime may have run its destructors.
EmulatedHandheld& Handheld();
CallMonitor& Monitor();

}  // namespace korvet::sim
