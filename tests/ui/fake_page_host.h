#pragma once
// The window side of a device page under test: the simulated controller behind a real link, a
// recording host with a manual clock that answers boxes from a script, and the window's flags
// (active page, closing, debug) as plain fields.
#include <QMenu>
#include <functional>
#include <string>
#include <vector>

#include "devices/common/ui/page_host.h"
#include "devices/drivers/device_drivers.h"
#include "i18n/catalogue.h"
#include "link/bytes.h"
#include "link/connection_monitor.h"
#include "link/link.h"
#include "link/packet_layout.h"
#include "sim/sim_controller.h"
#include "sim/sim_transport.h"
#include "support/page_order.h"
#include "support/test_host.h"

namespace qvr::test {

struct WireWrite {
  uint32_t offset;
  std::vector<uint8_t> data;
};

// Forwards to the recording host and lets a test act inside the page's message pumps.
class HookedHost : public Host {
 public:
  explicit HookedHost(TestHost& to) : to_(to) {}
  void PumpMessages() override {
    to_.PumpMessages();
    if (onPump) onPump();
  }
  void LogLine(const std::string& line) override { to_.LogLine(line); }
  void ClearLog() override { to_.ClearLog(); }
  void BeginProgress(int total, const std::string& caption) override {
    to_.BeginProgress(total, caption);
  }
  void AdvanceProgress(int count) override {
    to_.AdvanceProgress(count);
    if (onProgress) onProgress();  // the window pumps messages as its gauge moves
  }
  bool PacketLogEnabled() const override { return to_.PacketLogEnabled(); }
  BoxAnswer ShowMessageBox(BoxStyle style, const std::string& text) override {
    return to_.ShowMessageBox(style, text);
  }
  std::function<void()> onPump;
  std::function<void()> onProgress;

 private:
  TestHost& to_;
};

class FakePageHost : public PageHost, private ConnectionMonitor::Listener {
 public:
  explicit FakePageHost(Language language = kEnglish)
      : boxes(&clock),
        hooked(boxes),
        linkPumps(boxes),
        transport_(sim),
        link_(transport_, linkPumps, clock),
        monitor_(link_, linkPumps, catalogue_, *this) {
    boxes.pumpAdvanceMs = 25;  // every pump lets time pass, so waits end
    catalogue_.setLanguage(language);
  }

  Link& link() override { return link_; }
  const Catalogue& catalogue() const override { return catalogue_; }
  Catalogue& catalogue() { return catalogue_; }
  Host& host() override { return hooked; }
  ConnectionMonitor& monitor() override { return monitor_; }
  int activePage() const override { return page; }
  void setActivePage(int value) override { page = value; }
  void ShowControllerPage() override { page = kPageQvrb; }
  bool controllerPageShown() const override { return page == kPageQvrb; }
  const DeviceModule* activeModule() const override {
    return page >= 0 && size_t(page) < DeviceDrivers().size() ? DeviceDrivers()[size_t(page)].module
                                                              : nullptr;
  }
  bool closing() const override { return closingFlag; }
  bool debugMode() const override { return debug; }
  void setStatusText(const std::string& text) override { status = text; }
  QMenu* eventMenu() override { return &menu; }

  // Write requests of `command` to device `address` as they crossed the wire, oldest first.
  std::vector<WireWrite> Writes(uint8_t address, uint8_t command) const {
    std::vector<WireWrite> writes;
    for (const sim::WirePacket& packet : sim.Wire()) {
      const PacketBytes& b = packet.bytes;
      if (!packet.request || b[kPacketDestination] != address ||
          b[kPacketCommand] != uint8_t(command | kWriteFlag)) {
        continue;
      }
      const uint8_t* data = &b[kPacketPayload];
      writes.push_back({GetU16(&b[kPacketOffset]), {data, data + b[kPacketLength]}});
    }
    return writes;
  }
  // The text of the last box, "" when none was shown.
  std::string LastBox() const { return boxes.boxes.empty() ? "" : boxes.boxes.back().text; }

  sim::SimController sim;
  ManualClock clock;
  TestHost boxes;
  HookedHost hooked;     // what the page sees as its host: its boxes, waits and progress
  HookedHost linkPumps;  // the link's host: acts inside an exchange's pumps and memory transfers
  QMenu menu;
  int page = kPageMux410;
  bool closingFlag = false;
  bool debug = true;
  std::string status;

 private:
  void SetStatusText(const std::string&) override {}
  void ConnectedChanged(bool) override {}
  void HideProgress() override {}
  void SetPollTimerEnabled(bool) override {}

  sim::SimTransport transport_;
  Catalogue catalogue_;
  Link link_;
  ConnectionMonitor monitor_;
};

}  // namespace qvr::test
