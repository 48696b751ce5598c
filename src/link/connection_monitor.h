#pragma once
// The connection monitor: every 200 ms tick polls the controller's DeviceInfo (unless page
// traffic holds the poll off), announces connection and disconnection in the log, keeps the
// status text with its liveness dots and tells the window when `connected` changes.
#include <string>

#include "link/device_info.h"
#include "link/link.h"

namespace qvr {

class Catalogue;

class ConnectionMonitor {
 public:
  class Listener {
   public:
    virtual ~Listener() = default;
    virtual void SetStatusText(const std::string& text) = 0;
    // Called on every change of `connected` (the window refreshes its toolbar).
    virtual void ConnectedChanged(bool connected) = 0;
    virtual void HideProgress() = 0;
    // The poll stops its own timer while it runs, so no tick re-enters through message pumping.
    virtual void SetPollTimerEnabled(bool enabled) = 0;
  };

  ConnectionMonitor(Link& link, Host& host, const Catalogue& catalogue, Listener& listener);

  // One tick of the 200 ms timer: counts the hold-off down, or hides the gauge and polls.
  void Tick();
  // One poll of the controller; the result is informational.
  LinkResult PollController();

  // Connected and not in use by another of our programs: device commands may run.
  bool connected() const { return connected_ && !adapterBusy_; }
  bool adapterBusy() const { return adapterBusy_; }
  // The firmware update clears it after the controller updated itself.
  void setConnected(bool value);
  void ClearControllerInfo() { info_.Clear(); }

  // Liveness dots 0..10, shared with the IEBus log loop; returns the new count.
  int AdvanceLivenessDots();

 private:
  Link& link_;
  Host& host_;  // log lines and the controller's banner
  const Catalogue& catalogue_;
  Listener& listener_;
  DeviceInfo info_;
  void setAdapterBusy(bool busy);

  bool connected_ = false;
  bool adapterBusy_ = false;
  int dots_ = 0;
  bool polling_ = false;  // a tick arriving while a poll pumps messages does nothing
  LinkResult lastResult_ = LinkOk;
};

}  // namespace qvr
