#pragma once
// One feature report each way: the seam between the packet protocol and the hardware (hidapi)
// or the simulated controller.
#include <array>
#include <cstdint>

#include "link/link_result.h"
#include "platform/adapter_lock.h"

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
  // An exchange (a request and the polls for its reply) has ended: an adapter taken for it
  // alone is let go, so that other programs may use it between exchanges.
  virtual void EndExchange() {}
  // While held (holds nest), the adapter stays this program's between exchanges.
  virtual void HoldAdapter(bool hold) { (void)hold; }
  // Takes the adapter for this program before any report, in one attempt that never waits (a
  // caller that waits does so between attempts): LinkOk, LinkAdapterBusy, or why it cannot be
  // had (LinkAdapterNotReserved, or the failure opening the controller gives).
  [[nodiscard]] virtual LinkResult TakeAdapter() { return LinkOk; }
  // The program that kept the adapter when the last attempt to take it found it in use
  // (LinkAdapterBusy); nobody once it was taken.
  virtual AdapterHolder BusyHolder() const { return {}; }
  // Why the last attempt to take the adapter failed (LinkAdapterNotReserved).
  virtual AdapterLockProblem LockProblem() const { return {}; }
};

}  // namespace qvr
