#include "cli/adapters.h"

#include <chrono>
#include <string>

#include "cli/cli_texts.h"
#include "cli/run_options.h"
#include "i18n/catalogue.h"
#include "link/clock.h"
#include "link/device_module.h"
#include "link/hid_transport.h"
#include "link/link.h"
#include "link/threaded_transport.h"
#include "platform/file_names.h"
#include "sim/sim_controller.h"
#include "sim/sim_transport.h"

namespace qvr::cli {

namespace {

// Identification shows nothing and asks nothing.
class SilentHost final : public Host {
 public:
  void PumpMessages() override {}
  void LogLine(const std::string&) override {}
  void ClearLog() override {}
  void BeginProgress(int, const std::string&) override {}
  void AdvanceProgress(int) override {}
  bool PacketLogEnabled() const override { return false; }
  BoxAnswer ShowMessageBox(BoxStyle, const std::string&) override { return BoxAnswer::kNo; }
};

std::string SimulatedStateDir(const AdapterSource& source, int number) {
  if (source.simulatorDir.empty() || number == 1) return source.simulatorDir;
  return source.simulatorDir + "/adapter-" + std::to_string(number);
}

Adapter SimulatedAdapter(const AdapterSource& source, int number) {
  Adapter adapter;
  adapter.path = "sim:" + std::to_string(number);
  adapter.simulated = true;
  adapter.open = [source, number](AdapterSharing sharing) -> std::unique_ptr<Transport> {
    auto controller = std::make_unique<sim::SimController>(SimulatedStateDir(source, number));
    controller->SetLatency(std::chrono::milliseconds(source.latencyMs));
    // Each bench position holds other units: every serial number differs by the position.
    const uint32_t offset = uint32_t(number - 1);
    controller->OffsetSerialNumbers(offset);
    return std::make_unique<sim::SimTransport>(std::move(controller), sharing);
  };
  return adapter;
}

std::string ListedAdapters(const Catalogue& catalogue, const std::vector<Adapter>& present) {
  std::string lines;
  for (const Adapter& adapter : present) {
    lines += '\n';
    lines += AdapterLine(catalogue, adapter, IdentifyAdapter(adapter));
  }
  return lines;
}

}  // namespace

std::vector<Adapter> FindAdapters(const AdapterSource& source) {
  std::vector<Adapter> adapters;
  if (source.simulator) {
    for (int number = 1; number <= source.simulatedAdapters; ++number)
      adapters.push_back(SimulatedAdapter(source, number));
    return adapters;
  }
  for (const std::string& path : EnumerateControllerPaths()) {
    adapters.push_back({path, false, [path](AdapterSharing sharing) {
                          return std::make_unique<HidTransport>(path, sharing);
                        }});
  }
  return adapters;
}

AdapterReport IdentifyAdapter(const Adapter& adapter) {
  SilentHost host;
  SteadyClock clock;
  ThreadedTransport transport(adapter.open(AdapterSharing{}), host, clock);
  Link link(transport, host, clock);
  AdapterReport report;
  report.result = ReadInfoBlock(link, kControllerAddress, report.info);
  if (report.result == LinkAdapterBusy) report.holder = link.BusyHolder();
  if (report.result == LinkAdapterNotReserved) report.problem = link.LockProblem();
  link.CloseController();
  return report;
}

namespace {

// The path as a shell takes it back: Windows device paths hold "&" and "#", which cmd.exe and
// PowerShell would cut a pasted --controller at, so such a path is shown in quotes.
std::string PastablePath(const std::string& path) {
  if (path.find_first_of(" &#^%;,()<>|'") == std::string::npos) return path;
  return "\"" + path + "\"";
}

}  // namespace

std::string AdapterLine(const Catalogue& catalogue, const Adapter& adapter,
                        const AdapterReport& report) {
  const std::string path = PastablePath(adapter.path);
  if (report.result == LinkAdapterBusy)
    return path + "  " +
           catalogue.FormatText(Text(catalogue, CliText::kAdapterInUse),
                                AdapterHolderText(catalogue, report.holder).c_str());
  if (report.result == LinkAdapterNotReserved)
    return path + "  " + LinkResultText(catalogue, report.result) + " " +
           AdapterLockProblemText(catalogue, report.problem);
  if (report.result != LinkOk) return path + "  " + LinkResultText(catalogue, report.result);
  const DeviceInfo& info = report.info;
  const unsigned application = info.applicationVersion();
  const std::string applicationText =
      application == 0 ? Text(catalogue, CliText::kApplicationNotLoaded)
                       : catalogue.FormatText("%u.%02u", application / 100, application % 100);
  return catalogue.FormatText(Text(catalogue, CliText::kAdapterLine), path.c_str(),
                              static_cast<unsigned long>(info.serialNumber()),
                              unsigned(info.bootVersion() / 100),
                              unsigned(info.bootVersion() % 100), applicationText.c_str());
}

AdapterChoice ChooseAdapters(const std::vector<Adapter>& present, const std::string& wanted,
                             const Catalogue& catalogue) {
  if (wanted == "all") {
    if (present.empty()) return {{}, Text(catalogue, CliText::kNoAdapter)};
    return {present, {}};
  }
  if (wanted.empty()) {
    // None present: the command itself reports the controller as missing, as it always has.
    if (present.size() <= 1) return {present, {}};
    return {
        {}, Text(catalogue, CliText::kSeveralAdapters) + ListedAdapters(catalogue, present), true};
  }
  for (const Adapter& adapter : present) {
    if (SameDevicePath(adapter.path, wanted)) return {{adapter}, {}};
  }
  for (const Adapter& adapter : present) {
    const AdapterReport report = IdentifyAdapter(adapter);
    if (report.result == LinkOk && std::to_string(report.info.serialNumber()) == wanted)
      return {{adapter}, {}};
  }
  return {{},
          catalogue.FormatText(Text(catalogue, CliText::kNoSuchAdapter), wanted.c_str()) +
              ListedAdapters(catalogue, present)};
}

AdapterSource SourceOf(const RunOptions& options) {
  return {options.simulator, options.simulatorDir, options.simulatedLatencyMs,
          options.simulatedAdapters};
}

}  // namespace qvr::cli
