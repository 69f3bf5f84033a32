#include "sim/sync20/library_state.h"

namespace korvet::sim {

EmulatedHandheld& Handheld() {
  static EmulatedHandheld* handheld = new EmulatedHandheld;
  return *handheld;
}

CallMonitor& Monitor() {
  static CallMonitor* monitor = new CallMonitor;
  return *monitor;
}

}  // namespace korvet::sim
