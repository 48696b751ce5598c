// The largest update that can be transferred (a 65504-byte payload: payload plus one block
// reaches exactly offset 65536) against the simulated MUX-410 with a modelled 1 ms per
// feature report, beside the floor of reports x 1 ms.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "devices/drivers/device_drivers.h"
#include "i18n/catalogue.h"
#include "link/bytes.h"
#include "link/clock.h"
#include "link/link.h"
#include "platform/file_names.h"
#include "platform/temporary_file.h"
#include "sim/sim_controller.h"
#include "sim/sim_transport.h"
#include "sim/sim_update_image.h"
#include "update/update_procedure.h"

#include "bench_support.h"

namespace {

constexpr unsigned kPayload = 65504;
constexpr auto kPerReport = std::chrono::milliseconds(1);

using qvr::bench::QuietHost;

struct Measurement {
  qvr::UpdateOutcome result = qvr::UpdateOutcome::kFailed;
  double seconds = 0;
  size_t requests = 0;
};

Measurement Measure(const std::string& path, std::chrono::microseconds perReport) {
  qvr::sim::SimController controller;
  controller.SetLatency(perReport);
  qvr::sim::SimTransport transport(controller);
  QuietHost host;
  qvr::SteadyClock clock;
  qvr::Link link(transport, host, clock);
  qvr::Catalogue catalogue;
  catalogue.setLanguage(qvr::kEnglish);
  const qvr::UpdateFileChooser chooser{[&path] { return path; }, nullptr, nullptr};

  Measurement m;
  const auto start = std::chrono::steady_clock::now();
  m.result = qvr::UpdateFirmware(link, host, catalogue, qvr::mux410::kModule, chooser);
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  for (const qvr::sim::WirePacket& packet : controller.Wire()) m.requests += packet.request;
  return m;
}

}  // namespace

int main() {
  const qvr::sim::Identity& mux = qvr::sim::kMux410Identity;
  const std::vector<uint8_t> bytes = qvr::sim::BuildUpdateFile(
      uint16_t(mux.applicationVersion + 1), mux.deviceVersion, mux.deviceType, kPayload);
  const std::string path = qvr::CreateTemporaryFile(".LDR");
  if (path.empty()) return 1;
  std::ofstream(qvr::NativePath(path), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));

  Measurement modelled = Measure(path, kPerReport);
  Measurement free = Measure(path, std::chrono::microseconds(0));
  std::filesystem::remove(qvr::NativePath(path));
  if (modelled.result != qvr::UpdateOutcome::kUpdated ||
      free.result != qvr::UpdateOutcome::kUpdated) {
    std::fprintf(stderr, "update failed (%d, %d)\n", int(modelled.result), int(free.result));
    return 1;
  }

  // Every exchange is one report out and one back; the identification is one exchange, the
  // transfer one leading write plus (payload + one block) / block size writes.
  const size_t requests = modelled.requests;
  const double seconds = modelled.seconds;
  const double floor = double(requests * 2) * 1e-3;
  std::printf("update of a %zu-byte file (payload %u): %zu requests, %.3f s\n", bytes.size(),
              kPayload, requests, seconds);
  std::printf("floor %zu reports x 1 ms = %.3f s, ratio %.3f\n", requests * 2, floor,
              seconds / floor);
  std::printf("the same update without latency (the program's own cost): %.3f s\n", free.seconds);
  return 0;
}
