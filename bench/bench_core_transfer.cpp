// Full configuration transfers against the simulated controller with a modelled 1 ms per
// feature report: a read and a write of a MUX-410 with all 96 events and of a TPX-520 with all
// 64, each beside the floor of its reports x 1 ms and the time the same number of bare
// reports through the simulated transport takes in this run (what the machine can do).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "devices/mux410/driver.h"
#include "devices/mux410/transfer.h"
#include "devices/tpx520/driver.h"
#include "devices/tpx520/transfer.h"
#include "i18n/catalogue.h"
#include "link/clock.h"
#include "link/link.h"
#include "sim/sim_controller.h"
#include "sim/sim_transport.h"

#include "bench_support.h"

namespace {

constexpr auto kPerReport = std::chrono::milliseconds(1);
using Seconds = std::chrono::duration<double>;

// Shows nothing, but keeps the progress so that every transfer can be seen to reach its total.
class ProgressHost : public qvr::Host {
 public:
  void BeginProgress(int newTotal, const std::string&) override {
    total = newTotal;
    done = 0;
  }
  void AdvanceProgress(int count) override { done += count; }
  qvr::BoxAnswer ShowMessageBox(qvr::BoxStyle, const std::string& text) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    return qvr::BoxAnswer::kOk;
  }
  bool PacketLogEnabled() const override { return false; }
  void PumpMessages() override {}
  void LogLine(const std::string&) override {}
  void ClearLog() override {}
  int total = 0;
  int done = 0;
};

using qvr::bench::CountingTransport;

struct Bench {
  qvr::sim::SimController sim;
  qvr::sim::SimTransport simTransport{sim};
  CountingTransport transport{simTransport};
  ProgressHost host;
  qvr::SteadyClock clock;
  qvr::Link link{transport, host, clock};
  qvr::Catalogue catalogue;
};

// Every slot used, so that the read walks the whole table and the write sends no end record.
std::vector<uint8_t> FullTable(int capacity) {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < capacity; ++i) {
    qvr::EventRecord record{1, uint8_t(2 + i % 9), 8, 1, 0, uint16_t(i), uint8_t(i)};
    auto encoded = record.Encode();
    bytes.insert(bytes.end(), encoded.begin(), encoded.end());
  }
  return bytes;
}

// The time `reports` bare reports take through the simulated transport at the same latency.
double BareReports(long reports) {
  qvr::sim::SimController sim;
  sim.SetLatency(kPerReport);
  qvr::sim::SimTransport transport(sim);
  qvr::PacketBytes packet{};
  auto start = std::chrono::steady_clock::now();
  for (long i = 0; i < reports; ++i) {
    (void)(i % 2 ? transport.ReceiveFeatureReport(packet) : transport.SendFeatureReport(packet));
  }
  return Seconds(std::chrono::steady_clock::now() - start).count();
}

// Each transfer runs kRounds times and the fastest round counts: other work on the machine
// only ever adds time.
constexpr int kRounds = 5;

bool Report(const char* what, Bench& bench, const std::function<qvr::TransferResult()>& run) {
  double best = 1e9;
  long reports = 0;
  for (int round = 0; round < kRounds; ++round) {
    bench.transport.reports = 0;
    auto start = std::chrono::steady_clock::now();
    const qvr::TransferResult result = run();
    best = std::min(best, Seconds(std::chrono::steady_clock::now() - start).count());
    if (result != qvr::LinkOk || bench.host.done != bench.host.total) {
      std::fprintf(stderr, "%s failed: %d, progress %d of %d\n", what, int(result.code()),
                   bench.host.done, bench.host.total);
      return false;
    }
    reports = bench.transport.reports;
  }
  // The program's own share: the same transfer with the latency switched off.
  bench.sim.SetLatency(std::chrono::microseconds(0));
  auto start = std::chrono::steady_clock::now();
  (void)run();
  double own = Seconds(std::chrono::steady_clock::now() - start).count();
  bench.sim.SetLatency(kPerReport);

  double floor = double(reports) * 1e-3;
  double bare = 1e9;
  for (int round = 0; round < kRounds; ++round) bare = std::min(bare, BareReports(reports));
  std::printf(
      "%-26s %4ld reports  %.3f s  floor %.3f s  ratio %.3f  (bare reports %.3f s, ratio %.3f; "
      "own cost %.1f ms)\n",
      what, reports, best, floor, best / floor, bare, best / bare, own * 1e3);
  return true;
}

template <typename Image, typename ReadFn, typename WriteFn>
bool Device(const char* name, const qvr::DeviceModule& module, uint8_t eventCommand, int capacity,
            ReadFn read, WriteFn write) {
  Bench bench;
  bench.catalogue.setLanguage(qvr::kEnglish);
  bench.sim.SetBlock(module.deviceAddress, eventCommand, FullTable(capacity));
  bench.sim.SetLatency(kPerReport);
  Image image;
  std::string readLabel = std::string(name) + " read, " + std::to_string(capacity) + " events";
  std::string writeLabel = std::string(name) + " write, " + std::to_string(capacity) + " events";
  bool ok = Report(readLabel.c_str(), bench,
                   [&] { return read(bench.link, bench.host, bench.catalogue, module, image); });
  if (ok && image.events.count() != capacity) {
    std::fprintf(stderr, "%s read %d events\n", name, image.events.count());
    return false;
  }
  return ok && Report(writeLabel.c_str(), bench, [&] {
           return write(bench.link, bench.host, bench.catalogue, module, image);
         });
}

}  // namespace

int main() {
  bool ok = Device<qvr::mux410::ConfigImage>(
      "MUX-410", qvr::mux410::kModule, qvr::mux410::kCmdEvents, qvr::mux410::kEventCapacity,
      qvr::mux410::ReadConfiguration, qvr::mux410::WriteConfiguration);
  ok = ok &&
       Device<qvr::tpx520::ConfigImage>("TPX-520", qvr::tpx520::kModule, qvr::tpx520::kCmdEvents,
                                        qvr::tpx520::kEventCapacity, qvr::tpx520::ReadConfiguration,
                                        qvr::tpx520::WriteConfiguration);
  return ok ? 0 : 1;
}
