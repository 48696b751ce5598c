#include "sim/sim_transport.h"

#include <thread>

namespace qvr::sim {
namespace {

// Sleeps for most of the wait and spins the rest: the scheduler's wake-up is too coarse for
// latencies of a fraction of a millisecond.
void Wait(std::chrono::microseconds latency) {
  if (latency.count() <= 0) return;
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + latency;
  constexpr auto kSpinMargin = std::chrono::microseconds(300);
  if (latency > kSpinMargin) std::this_thread::sleep_until(deadline - kSpinMargin);
  while (Clock::now() < deadline) {
  }
}

// The lock file of a controller that keeps its state in a folder; "" for one that keeps none.
std::string LockFileOf(const SimController& controller) {
  return controller.stateDir().empty() ? std::string()
                                       : SimulatedAdapterLockFile(controller.stateDir());
}

}  // namespace

SimTransport::SimTransport(SimController& controller, AdapterSharing sharing)
    : controller_(&controller),
      sharing_(sharing),
      lockFile_(LockFileOf(controller)),
      keeper_(sharing) {}

SimTransport::SimTransport(std::unique_ptr<SimController> controller, AdapterSharing sharing)
    : owned_(std::move(controller)),
      controller_(owned_.get()),
      sharing_(sharing),
      lockFile_(LockFileOf(*controller_)),
      keeper_(sharing) {}

SimTransport::~SimTransport() {
  keeper_.ReleaseAll();
}

LinkResult SimTransport::Take(uint32_t waitMs) {
  if (lockFile_.empty()) return LinkOk;
  return keeper_.Take(lockFile_, AdapterLock::Kind::kLockFile, waitMs);
}

LinkResult SimTransport::TakeAdapter() {
  return Take(0);
}

void SimTransport::EndExchange() {
  keeper_.ExchangeEnded();
}

void SimTransport::HoldAdapter(bool hold) {
  keeper_.Hold(hold);
}

AdapterHolder SimTransport::BusyHolder() const {
  return keeper_.BusyHolder();
}

AdapterLockProblem SimTransport::LockProblem() const {
  return keeper_.Problem();
}

// Like the HID device: a report on an open handle to a vanished controller fails once as an
// exchange failure and loses the handle; opening a controller that is not there is
// LinkDisconnected.
LinkResult SimTransport::OpenForReport() {
  bool present = controller_->ReportReachesBus();
  if (!open_) {
    if (!present) return LinkDisconnected;
    open_ = true;
    return LinkOk;
  }
  if (present) return LinkOk;
  open_ = false;
  return LinkExchangeFailed;
}

LinkResult SimTransport::SendFeatureReport(const PacketBytes& packet) {
  LinkResult result = Take(sharing_.waitMs);
  if (result != LinkOk) return result;
  std::unique_lock lock(mutex_);
  result = OpenForReport();
  if (result != LinkOk) return result;
  lock.unlock();
  Wait(controller_->latency());
  lock.lock();
  controller_->Deliver(packet);
  return LinkOk;
}

LinkResult SimTransport::ReceiveFeatureReport(PacketBytes& packet) {
  LinkResult result = Take(sharing_.waitMs);
  if (result != LinkOk) return result;
  std::unique_lock lock(mutex_);
  result = OpenForReport();
  if (result != LinkOk) return result;
  lock.unlock();
  Wait(controller_->latency());
  lock.lock();
  packet = controller_->TakeReply();
  return LinkOk;
}

void SimTransport::CloseController() {
  keeper_.ExchangeEnded();
  std::lock_guard lock(mutex_);
  open_ = false;
}

}  // namespace qvr::sim
