#pragma once
// One feature report each way: the seam between the packet protocol and the hardware (hidapi)
// or the simulated controller.
#include <array>
#include <cstdint>

#include "link/link_result.h"

namespace qvr {

inline constexpr int kPacketSize = 72;
using PacketBytes = std::array<uint8_t, kPacketSize>;

class Transport {
 public:
  virtual ~Transport() = default;
  // Sends one feature report (report id 0 followed by the 72 bytes). Opens the device on
  // demand: LinkOk, or the open failure, or LinkExchangeFailed (the device is then closed).
  [[nodiscard]] virtual LinkResult SendFeatureReport(const PacketBytes& packet) = 0;
  // Fetches one feature report with report id 0 into `packet`; results as for sending.
  [[nodiscard]] virtual LinkResult ReceiveFeatureReport(PacketBytes& packet) = 0;
  // Closes the device if open; the next report reopens it.
  virtual void CloseController() = 0;
};

}  // namespace qvr
