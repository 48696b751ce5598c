#pragma once
// The Transport over a SimController: what hidapi is for the real controller. Reports open the
// simulated controller on demand; while it is off the bus the report in flight fails with
// LinkExchangeFailed (the handle is lost) and later opens fail with LinkDisconnected.
// A controller that keeps its state in a folder is shared with our other programs through a lock
// file there, as a real adapter through its node: every report goes out only with that lock,
// kept as the sharing says. Controllers in other folders, or in none, never wait for each other.
#include <memory>
#include <mutex>

#include "link/adapter_keeper.h"
#include "link/transport.h"
#include "sim/sim_controller.h"

namespace qvr::sim {

class SimTransport final : public Transport {
 public:
  // Talks to `controller`, which must outlive the transport.
  explicit SimTransport(SimController& controller, AdapterSharing sharing = {});
  // Owns its controller.
  explicit SimTransport(std::unique_ptr<SimController> controller, AdapterSharing sharing = {});
  ~SimTransport() override;

  // Delivers the request to the controller; its reply becomes available to the next receive.
  [[nodiscard]] LinkResult SendFeatureReport(const PacketBytes& packet) override;
  // The waiting reply, or 72 zero bytes (command 0: no reply yet) when there is none.
  [[nodiscard]] LinkResult ReceiveFeatureReport(PacketBytes& packet) override;
  void CloseController() override;
  void EndExchange() override;
  void HoldAdapter(bool hold) override;
  [[nodiscard]] LinkResult TakeAdapter() override;
  AdapterHolder BusyHolder() const override;
  AdapterLockProblem LockProblem() const override;

  SimController& controller() { return *controller_; }
  bool isOpen() const { return open_; }

 private:
  [[nodiscard]] LinkResult OpenForReport();
  // The state folder's lock this program's, waiting `waitMs` at most (none: nothing to take).
  [[nodiscard]] LinkResult Take(uint32_t waitMs);

  // Reports may come from a transport thread while the program closes the handle.
  std::mutex mutex_;
  std::unique_ptr<SimController> owned_;
  SimController* controller_;
  bool open_ = false;
  AdapterSharing sharing_;
  std::string lockFile_;  // "": the controller keeps no state, and needs no lock
  AdapterKeeper keeper_;
};

}  // namespace qvr::sim
