// What a HotSync link costs: every Sync Manager call is a round trip between the desktop and the
// handheld, and every byte moved takes its transfer time. The stand-in does its work at memory
// speed; these models turn its call and byte counts into the time a cradle would take.
//
// The figures (round trip, bytes per second):
//   usb     5 ms, 100,000 B/s: a request and its answer each wait for a frame of the full-speed bus
//           and the handheld's own handling of the packet, so a round trip takes some milliseconds;
//           the handheld, not the 12 Mbit/s bus, bounds the throughput at about 100 KB/s.
//   serial  10 ms, 11,520 B/s: at 115,200 bps each byte takes ten bits (start, eight, stop); a round
//           trip adds the packet layer's acknowledgements and the handheld's handling.
// Each call also moves kCallHeaderBytes of request and answer headers.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace korvet::sim {

struct LinkModel {
  std::string_view name;
  double roundTripSeconds;
  double bytesPerSecond;
};

inline constexpr long kCallHeaderBytes = 24;

inline constexpr std::array<LinkModel, 2> kLinkModels = {{{"usb", 0.005, 100000.0}, {"serial", 0.010, 11520.0}}};

inline std::optional<LinkModel> FindLinkModel(std::string_view name) {
  for (const LinkModel& model : kLinkModels)
    if (model.name == name) return model;
  return std::nullopt;
}

// The link's time for `calls` Sync Manager calls that moved `bytes` record bytes.
inline double LinkSeconds(const LinkModel& model, long long calls, long long bytes) {
  return calls * model.roundTripSeconds + (bytes + calls * kCallHeaderBytes) / model.bytesPerSecond;
}

}  // namespace korvet::sim
