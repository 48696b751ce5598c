// Time to show a full MUX-410 configuration (96 events) on the page and take it back, the
// work of every device or file read and of every write. Prints the median beside the aim.
#include <QApplication>
#include <QMenu>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "devices/common/ui/page_host.h"
#include "devices/drivers/device_drivers.h"
#include "devices/mux410/ui/mux410_page.h"
#include "i18n/catalogue.h"
#include "link/clock.h"
#include "link/connection_monitor.h"
#include "link/link.h"
#include "sim/sim_controller.h"
#include "sim/sim_transport.h"

#include "bench_support.h"

namespace {

using namespace qvr;

constexpr double kAimMs = 5.0;
constexpr int kRounds = 41;

using qvr::bench::QuietHost;

class FixedClock : public Clock {
 public:
  uint32_t NowMs() override { return 0; }
};

class BenchHost : public PageHost, private ConnectionMonitor::Listener {
 public:
  BenchHost()
      : transport_(sim_),
        link_(transport_, host_, clock_),
        monitor_(link_, host_, catalogue_, *this) {
    catalogue_.setLanguage(kEnglish);
  }
  Link& link() override { return link_; }
  const Catalogue& catalogue() const override { return catalogue_; }
  Host& host() override { return host_; }
  ConnectionMonitor& monitor() override { return monitor_; }
  int activePage() const override { return 1; }  // the MUX-410 page
  void setActivePage(int) override {}
  void ShowControllerPage() override {}
  bool controllerPageShown() const override { return false; }
  const DeviceModule* activeModule() const override { return &mux410::kModule; }
  bool closing() const override { return false; }
  bool debugMode() const override { return false; }
  void setStatusText(const std::string&) override {}
  QMenu* eventMenu() override { return &menu_; }

 private:
  void SetStatusText(const std::string&) override {}
  void ConnectedChanged(bool) override {}
  void HideProgress() override {}
  void SetPollTimerEnabled(bool) override {}

  sim::SimController sim_;
  sim::SimTransport transport_;
  QuietHost host_;
  FixedClock clock_;
  Catalogue catalogue_;
  Link link_;
  ConnectionMonitor monitor_;
  QMenu menu_;
};

void FillFullImage(mux410::ConfigImage& image) {
  image.setConfigName("Bench");
  image.setDescription("A full table\r\nof 96 events");
  image.navi = {2, 1, 0, 1};
  image.onPowerOn() = 1;
  image.setPowerOnTimeout(1875);
  image.setPulseTimeout(500);
  image.dpar = {2, 1, 0x05};
  image.events.setCount(mux410::kEventCapacity);
  for (int i = 0; i < mux410::kEventCapacity; ++i) {
    image.events.record(i) =
        EventRecord{uint8_t(1 + i % 7), uint8_t(2 + i % 34), uint8_t(i % 11), uint8_t(1 + i % 9),
                    uint8_t(i % 3),     uint16_t(i * 7),     uint8_t(i)};
    image.events.setDescription(i, "Event " + std::to_string(i + 1));
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  BenchHost host;
  mux410::Page page(host, nullptr);
  page.resize(776, 472);
  page.InitPage();
  page.show();

  std::vector<double> times;
  for (int round = 0; round < kRounds; ++round) {
    // Every odd round starts from an empty page, as the first read of a run does.
    if (round % 2 == 1) {
      page.image().Clear();
      page.ImageToControls();
    }
    FillFullImage(page.image());
    const auto start = std::chrono::steady_clock::now();
    page.ImageToControls();
    const int refused = page.ControlsToImage();
    const auto end = std::chrono::steady_clock::now();
    if (refused != 0) {
      std::fprintf(stderr, "the controls refused the image\n");
      return 1;
    }
    times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::vector<double> fromEmpty;
  for (size_t i = 1; i < times.size(); i += 2) fromEmpty.push_back(times[i]);
  std::sort(fromEmpty.begin(), fromEmpty.end());
  std::sort(times.begin(), times.end());
  const double median = times[times.size() / 2];
  std::printf("from an empty page only: median %.3f ms\n", fromEmpty[fromEmpty.size() / 2]);
  std::printf(
      "MUX-410 page, 96 events: ImageToControls + ControlsToImage median %.3f ms "
      "(aim %.1f ms, %.2f of the aim, %d rounds)\n",
      median, kAimMs, median / kAimMs, kRounds);
  return 0;
}
