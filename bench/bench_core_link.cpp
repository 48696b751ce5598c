// Link throughput against the simulated controller: packet exchanges per second without
// latency, and block transfers with a modelled 1 ms per feature report beside their floor
// (every report the transfer needed, times 1 ms), measured in the same run.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "link/link.h"
#include "sim/sim_controller.h"
#include "sim/sim_transport.h"
#include "sim/sim_update_image.h"

#include "bench_support.h"

namespace {

using namespace qvr;
using BenchClock = std::chrono::steady_clock;

using qvr::bench::QuietHost;

using qvr::bench::CountingTransport;

double SecondsSince(BenchClock::time_point start) {
  return std::chrono::duration<double>(BenchClock::now() - start).count();
}

bool BenchExchanges() {
  sim::SimController controller;
  sim::SimTransport transport(controller);
  QuietHost host;
  SteadyClock clock;
  Link link(transport, host, clock);

  uint8_t info[66];
  unsigned count = 0;
  long exchanges = 0;
  const auto start = BenchClock::now();
  double elapsed = 0;
  while ((elapsed = SecondsSince(start)) < 1.0) {
    for (int i = 0; i < 1000; ++i) {
      if (link.ReadPacket(0, 1, 0, info, sizeof info, count) != LinkOk) {
        std::printf("exchange failed\n");
        return false;
      }
    }
    exchanges += 1000;
  }
  const double rate = exchanges / elapsed;
  std::printf("exchanges without latency: %.0f/s (aim 200000/s, ratio %.2f)\n", rate,
              rate / 200000.0);
  return true;
}

struct Transfer {
  const char* what;
  long reports;
  double seconds;
};

// The same number of bare reports through the simulated transport, without the link: what
// the modelled latency costs on this machine at this moment (sleep wake-ups run late under load).
double MeasuredFloorSeconds(Transport& bare, long reports) {
  PacketBytes request{};
  request[2] = 1;  // the controller's identification
  request[71] = PacketChecksum(request.data(), 71);
  PacketBytes reply{};
  const auto start = BenchClock::now();
  for (long i = 0; i < reports / 2; ++i) {
    (void)bare.SendFeatureReport(request);
    (void)bare.ReceiveFeatureReport(reply);
  }
  return SecondsSince(start);
}

void PrintAgainstFloor(const Transfer& t, double perReportMs, double measuredFloor) {
  const double floorSeconds = t.reports * perReportMs / 1000.0;
  std::printf(
      "%-42s %6.1f ms; floor %ld reports x %.0f ms = %6.1f ms, ratio %.3f; "
      "bare reports %6.1f ms, ratio %.3f\n",
      t.what, t.seconds * 1000.0, t.reports, perReportMs, floorSeconds * 1000.0,
      t.seconds / floorSeconds, measuredFloor * 1000.0, t.seconds / measuredFloor);
}

bool BenchTransfers() {
  constexpr double kPerReportMs = 1.0;
  constexpr int kRounds = 5;
  sim::SimController controller;
  controller.SetLatency(std::chrono::microseconds(1000));
  sim::SimTransport simTransport(controller);
  CountingTransport transport(simTransport);
  QuietHost host;
  SteadyClock clock;
  Link link(transport, host, clock);

  // No memory area of the devices reaches 1000 bytes; the MUX-410 event table is the largest.
  std::vector<uint8_t> events(96 * 8);
  Transfer read{"ReadMemory 768 bytes (MUX-410 events)", 0, 0};
  for (int round = 0; round < kRounds; ++round) {
    transport.reports = 0;
    const auto start = BenchClock::now();
    if (link.ReadMemory(1, 27, 0, events.data(), unsigned(events.size())) != LinkOk) return false;
    read.seconds += SecondsSince(start);
    read.reports += transport.reports;
  }
  PrintAgainstFloor(read, kPerReportMs, MeasuredFloorSeconds(simTransport, read.reports));

  // A firmware image is the one 1000-byte area a device takes: a first single block opens the
  // update, the block transfer then writes the image from offset 0.
  const std::vector<uint8_t> file = sim::BuildUpdateFile(300, 33, 2, 1000);
  const uint8_t* image = file.data() + 4;
  Transfer write{"WriteMemory 1000 bytes (MUX-410 firmware)", 0, 0};
  for (int round = 0; round < kRounds; ++round) {
    if (link.DeviceWrite(1, 2, 0, image, 32) != LinkOk) return false;
    transport.reports = 0;
    const auto start = BenchClock::now();
    if (link.WriteMemory(1, 2, 0, image, 1000, 32) != LinkOk) return false;
    write.seconds += SecondsSince(start);
    write.reports += transport.reports;
  }
  PrintAgainstFloor(write, kPerReportMs, MeasuredFloorSeconds(simTransport, write.reports));
  return true;
}

}  // namespace

int main() {
  if (!BenchExchanges()) return 1;
  if (!BenchTransfers()) {
    std::printf("transfer failed\n");
    return 1;
  }
  return 0;
}
