#include "link/connection_monitor.h"

#include "i18n/catalogue.h"
#include "link/device_module.h"
#include "link/scoped_value.h"

namespace qvr {

namespace {

constexpr int kMaxLivenessDots = 10;

}  // namespace

ConnectionMonitor::ConnectionMonitor(Link& link, Host& host, const Catalogue& catalogue,
                                     Listener& listener)
    : link_(link), host_(host), catalogue_(catalogue), listener_(listener) {}

void ConnectionMonitor::Tick() {
  // A tick that arrives while a report is in flight (the exchange pumps while it waits) leaves
  // both the poll and the hold-off count alone until the exchange is over.
  if (polling_ || link_.exchangeBusy()) return;
  // Page traffic raised the hold-off; the poll waits until two ticks have passed quietly.
  if (link_.pollHoldOff() != 0) {
    link_.setPollHoldOff(link_.pollHoldOff() - 1);
    return;
  }
  listener_.HideProgress();
  (void)PollController();
}

LinkResult ConnectionMonitor::PollController() {
  const ScopedValue polling(polling_, true);
  listener_.SetPollTimerEnabled(false);
  LinkResult result = ReadInfoBlock(link_, kControllerAddress, info_);
  // Another of our programs has the adapter: it is there, only not ours for now. Device
  // commands wait until it is free; nothing says it is gone.
  setAdapterBusy(result == LinkAdapterBusy);
  if (result == LinkAdapterBusy) {
    listener_.SetStatusText(AdapterBusyText(catalogue_, link_.BusyHolder()));
  } else if (result != LinkOk) {
    listener_.SetStatusText(LinkResultText(catalogue_, result));
    // Unlike a missing controller, a refused one needs the user to act: the log keeps the
    // fix (or the reason the adapter could not be reserved), once per spell.
    if (result == LinkNoPermission && lastResult_ != LinkNoPermission)
      host_.LogLine(LinkResultText(catalogue_, result));
    if (result == LinkAdapterNotReserved && lastResult_ != LinkAdapterNotReserved)
      host_.LogLine(LinkResultText(catalogue_, result) + "\n" +
                    AdapterLockProblemText(catalogue_, link_.LockProblem()));
    if (connected_) {
      host_.LogLine(catalogue_.Text(MessageId::kDisconnectedBanner));
      setConnected(false);
    }
  } else if (!connected_) {
    dots_ = 0;
    host_.LogLine(catalogue_.Text(MessageId::kConnectedBanner));
    listener_.SetStatusText(catalogue_.Format(MessageId::kConnectedStatus, info_.name().c_str()));
    ShowControllerInfo(host_, catalogue_, info_);
    setConnected(true);
  } else {
    const std::string dots(size_t(AdvanceLivenessDots()), '.');
    listener_.SetStatusText(
        catalogue_.Format(MessageId::kConnectedStatusDots, info_.name().c_str(), dots.c_str()));
  }
  lastResult_ = result;
  link_.setPollHoldOff(0);
  listener_.SetPollTimerEnabled(true);
  return result;
}

void ConnectionMonitor::setConnected(bool value) {
  if (connected_ == value) return;
  connected_ = value;
  listener_.ConnectedChanged(connected());
}

void ConnectionMonitor::setAdapterBusy(bool busy) {
  if (adapterBusy_ == busy) return;
  adapterBusy_ = busy;
  listener_.ConnectedChanged(connected());
}

int ConnectionMonitor::AdvanceLivenessDots() {
  dots_ = dots_ + 1 > kMaxLivenessDots ? 0 : dots_ + 1;
  return dots_;
}

}  // namespace qvr
