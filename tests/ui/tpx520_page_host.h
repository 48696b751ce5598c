#pragma once
// The window side of a TPX-520 page under test: the simulated controller behind a real link,
// a recording host with a manual clock, and the page itself, shown offscreen on page 2.
#include <QMenu>
#include <memory>
#include <vector>

#include "devices/common/ui/page_host.h"
#include "devices/tpx520/ui/page.h"
#include "i18n/catalogue.h"
#include "link/bytes.h"
#include "link/connection_monitor.h"
#include "link/link.h"
#include "link/packet_layout.h"
#include "sim/sim_controller.h"
#include "sim/sim_transport.h"
#include "support/test_host.h"

namespace qvr::test {

struct WrittenBlock {
  uint32_t offset;
  std::vector<uint8_t> data;
};

class Tpx520PageHost : public PageHost, private ConnectionMonitor::Listener {
 public:
  explicit Tpx520PageHost(Language language = kEnglish)
      : transport_(sim),
        host_(&clock),
        link_(transport_, host_, clock),
        monitor_(link_, catalogue_, *this) {
    host_.pumpAdvanceMs = 25;  // every pump lets some time pass, so waits end
    catalogue_.setLanguage(language);
    page = std::make_unique<tpx520::Page>(*this, nullptr);
    page->resize(776, 480);
    page->InitPage();
  }

  Link& link() override { return link_; }
  const Catalogue& catalogue() const override { return catalogue_; }
  Host& host() override { return host_; }
  ConnectionMonitor& monitor() override { return monitor_; }
  int activePage() const override { return kPageTpx520; }
  void setActivePage(int) override {}
  bool closing() const override { return false; }
  bool debugMode() const override { return true; }
  void setStatusText(const std::string&) override {}
  QMenu* eventMenu() override { return &menu_; }

  TestHost& boxes() { return host_; }
  // Write requests of `command` to the TPX-520 as they crossed the wire, oldest first.
  std::vector<WrittenBlock> Writes(uint8_t command) const {
    std::vector<WrittenBlock> writes;
    for (const sim::WirePacket& packet : sim.Wire()) {
      const PacketBytes& b = packet.bytes;
      if (!packet.request || b[kPacketDestination] != kDeviceModules[kPageTpx520].deviceAddress ||
          b[kPacketCommand] != uint8_t(command | kWriteFlag)) {
        continue;
      }
      const uint8_t* data = &b[kPacketPayload];
      writes.push_back({GetU16(&b[kPacketOffset]), {data, data + b[kPacketLength]}});
    }
    return writes;
  }
  int RequestCount(uint8_t command) const {
    return sim.CountRequests(kDeviceModules[kPageTpx520].deviceAddress, command);
  }

  sim::SimController sim;
  ManualClock clock;
  std::unique_ptr<tpx520::Page> page;

 private:
  void SetStatusText(const std::string&) override {}
  void ConnectedChanged(bool) override {}
  void HideProgress() override {}
  void SetPollTimerEnabled(bool) override {}

  sim::SimTransport transport_;
  TestHost host_;
  Catalogue catalogue_;
  Link link_;
  ConnectionMonitor monitor_;
  QMenu menu_;
};

}  // namespace qvr::test
