#pragma once
// The Transport over a SimController: what hidapi is for the real controller. Reports open the
// simulated controller on demand; while it is off the bus the report in flight fails with
// LinkExchangeFailed (the handle is lost) and later opens fail with LinkDisconnected.
#include <memory>
#include <mutex>

#include "link/transport.h"
#include "sim/sim_controller.h"

namespace qvr::sim {

class SimTransport final : public Transport {
 public:
  // Talks to `controller`, which must outlive the transport.
  explicit SimTransport(SimController& controller);
  // Owns its controller.
  explicit SimTransport(std::unique_ptr<SimController> controller);

  // Delivers the request to the controller; its reply becomes available to the next receive.
  [[nodiscard]] LinkResult SendFeatureReport(const PacketBytes& packet) override;
  // The waiting reply, or 72 zero bytes (command 0: no reply yet) when there is none.
  [[nodiscard]] LinkResult ReceiveFeatureReport(PacketBytes& packet) override;
  void CloseController() override;

  SimController& controller() { return *controller_; }
  bool isOpen() const { return open_; }

 private:
  [[nodiscard]] LinkResult OpenForReport();

  // Reports may come from a transport thread while the program closes the handle.
  std::mutex mutex_;
  std::unique_ptr<SimController> owned_;
  SimController* controller_;
  bool open_ = false;
};

}  // namespace qvr::sim
