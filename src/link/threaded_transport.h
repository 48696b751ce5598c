#pragma once
// Runs another transport's blocking calls (open, send and receive a feature report) on a thread
// of its own, so that the caller keeps its window alive while a report is in flight: it waits
// for the call by sleeping briefly and pumping (without user input) between looks.
//
// A call still running after the deadline is abandoned: the caller gets LinkTimeout, the
// controller is closed as soon as the stuck call returns, and the next call opens it afresh.
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "link/clock.h"
#include "link/host.h"
#include "link/transport.h"

namespace qvr {

// Far beyond what a report takes (a few milliseconds), yet short enough that a stuck
// controller never holds the program for long.
inline constexpr uint32_t kTransportCallDeadlineMs = 1500;

class ThreadedTransport final : public Transport {
 public:
  ThreadedTransport(std::unique_ptr<Transport> inner, Host& host, Clock& clock,
                    uint32_t deadlineMs = kTransportCallDeadlineMs);
  // Waits a bounded time for a call still in flight; a call stuck beyond that is left to end
  // on its own thread, which then releases the transport.
  ~ThreadedTransport() override;
  ThreadedTransport(const ThreadedTransport&) = delete;
  ThreadedTransport& operator=(const ThreadedTransport&) = delete;

  [[nodiscard]] LinkResult SendFeatureReport(const PacketBytes& packet) override;
  [[nodiscard]] LinkResult ReceiveFeatureReport(PacketBytes& packet) override;
  // Closes at once when no call is in flight, else as soon as the call in flight returns.
  void CloseController() override;
  // Opens the controller and takes its lock on the transport thread, within the deadline.
  [[nodiscard]] LinkResult TakeAdapter() override;
  // These only touch the adapter lock, which the inner transport guards itself.
  void EndExchange() override;
  void HoldAdapter(bool hold) override;
  AdapterHolder BusyHolder() const override;
  AdapterLockProblem LockProblem() const override;

  struct Shared;  // what the caller and the transport thread share

 private:
  enum class CallKind { kSend, kReceive, kTake };
  [[nodiscard]] LinkResult Call(CallKind kind, PacketBytes& packet);
  [[nodiscard]] bool WaitUntil(const std::function<bool()>& ready, uint32_t start);

  std::shared_ptr<Shared> shared_;
  std::thread thread_;
  Host& host_;
  Clock& clock_;
  uint32_t deadlineMs_;
};

}  // namespace qvr
