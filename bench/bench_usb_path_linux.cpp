// The real USB path's own cost: packet exchanges through hidapi's hidraw backend and an
// emulated adapter node (umockdev) against the same exchanges through the simulated transport,
// and a full MUX-410 read through the node against the floor of 1 ms per feature report.
// Run on demand; it restarts itself under umockdev's preload.
#include <chrono>
#include <cstdio>

#include "bench_support.h"
#include "devices/drivers/device_drivers.h"
#include "devices/mux410/transfer.h"
#include "i18n/catalogue.h"
#include "link/clock.h"
#include "link/hid_transport.h"
#include "link/link.h"
#include "sim/sim_transport.h"
#include "support/usb_bed.h"

namespace {

using namespace qvr;
using BenchClock = std::chrono::steady_clock;

double SecondsSince(BenchClock::time_point start) {
  return std::chrono::duration<double>(BenchClock::now() - start).count();
}

// Microseconds per identification exchange (two feature reports) over `transport`.
double MicrosecondsPerExchange(Transport& transport, int exchanges) {
  bench::QuietHost host;
  SteadyClock clock;
  Link link(transport, host, clock);
  uint8_t info[66];
  unsigned count = 0;
  const auto start = BenchClock::now();
  for (int i = 0; i < exchanges; ++i) {
    if (link.ReadPacket(0, 1, 0, info, sizeof info, count) != LinkOk) return -1;
  }
  return SecondsSince(start) * 1e6 / exchanges;
}

}  // namespace

int main(int argc, char** argv) {
  if (!test::RunUnderUmockdev(argc, argv)) return 1;
  test::UsbBed bed;
  bed.Plug({});
  constexpr int kExchanges = 2000;

  HidTransport usb;
  bench::CountingTransport counted(usb);
  const double realUs = MicrosecondsPerExchange(counted, kExchanges);
  sim::SimController controller;
  sim::SimTransport simulated(controller);
  const double simUs = MicrosecondsPerExchange(simulated, kExchanges);
  if (realUs < 0 || simUs < 0) {
    std::printf("exchange failed\n");
    return 1;
  }
  std::printf(
      "exchange through the emulated node %8.1f us; simulator transport %6.1f us; "
      "the USB path's own cost %.1f us, ratio %.1f\n",
      realUs, simUs, realUs - simUs, realUs / simUs);

  bench::QuietHost host;
  SteadyClock clock;
  Link link(counted, host, clock);
  Catalogue catalogue;
  mux410::ConfigImage image;
  counted.reports = 0;
  const auto start = BenchClock::now();
  if (mux410::ReadConfiguration(link, host, catalogue, mux410::kModule, image) != LinkOk) {
    std::printf("read failed\n");
    return 1;
  }
  const double seconds = SecondsSince(start);
  const double floorSeconds = double(counted.reports) / 1000.0;
  std::printf(
      "full MUX-410 read through the node %7.1f ms; floor %ld reports x 1 ms = %6.1f ms, "
      "ratio %.3f\n",
      seconds * 1000.0, counted.reports, floorSeconds * 1000.0, seconds / floorSeconds);
  return 0;
}
