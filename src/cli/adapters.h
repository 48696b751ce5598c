#pragma once
// The adapters qvrctl can reach (QVR-B controllers on the USB bus, or simulated ones) and the
// choice among them that --controller makes.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/device_info.h"
#include "link/hid_transport.h"
#include "link/transport.h"

namespace qvr {
class Catalogue;
}

namespace qvr::cli {

struct AdapterSource {
  bool simulator = false;
  std::string simulatorDir;  // empty: the simulated devices forget everything at exit
  int latencyMs = 0;
  int simulatedAdapters = 1;
};

struct Adapter {
  std::string path;  // the hidraw node, or "sim:N"
  bool simulated = false;
  // A transport to this adapter alone, shared with our other programs as `sharing` says.
  std::function<std::unique_ptr<Transport>(AdapterSharing)> open;
};

// Every adapter present now, in bus order. Simulated adapter 1 keeps its devices in the state
// folder itself (as a single one always did), adapter N > 1 in its "adapter-N" subfolder; each
// reports its own serial number.
std::vector<Adapter> FindAdapters(const AdapterSource& source);

// The controller's identification as the adapter gives it, or why it cannot.
struct AdapterReport {
  LinkResult result = LinkOk;
  DeviceInfo info;
  AdapterHolder holder;        // LinkAdapterBusy: who has it, as far as the system tells
  AdapterLockProblem problem;  // LinkAdapterNotReserved: why its lock could not be taken
};
AdapterReport IdentifyAdapter(const Adapter& adapter);

// The adapters a command runs on. `wanted`: empty (the one present; with none, the first
// controller found when the command runs), "all", a path, or a serial number. Empty `chosen`
// with a non-empty `refusal`: the choice failed, and the refusal says which adapters are there.
struct AdapterChoice {
  std::vector<Adapter> chosen;
  std::string refusal;
  bool ambiguous = false;  // several adapters and none named: the command line must choose
};
AdapterChoice ChooseAdapters(const std::vector<Adapter>& present, const std::string& wanted,
                             const Catalogue& catalogue);

// One line for an adapter: path, serial number and versions, or why it cannot be read (in use:
// by whom).
std::string AdapterLine(const Catalogue& catalogue, const Adapter& adapter,
                        const AdapterReport& report);

}  // namespace qvr::cli
