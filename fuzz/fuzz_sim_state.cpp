// Reads arbitrary bytes as a simulated device's state file: it must neither crash nor hang, a
// file it refuses changes nothing, and a state it takes survives a save and a second read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_scratch.h"
#include "sim/sim_controller.h"
#include "sim/sim_device.h"
#include "sim/sim_profiles.h"
#include "sim/sim_state_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = qvr::fuzz::Scratch().Write("input.state", data, size);
  const std::string saved = qvr::fuzz::Scratch().File("saved.state");
  for (const uint8_t address : {qvr::sim::kAddressMux410, qvr::sim::kAddressTpx520}) {
    const qvr::sim::Profile& profile = qvr::sim::ProfileOf(address);
    qvr::sim::SimDevice device(profile);
    const qvr::sim::SimDevice untouched(profile);
    if (!qvr::sim::LoadDeviceState(input, device)) {
      if (device.memory() != untouched.memory() ||
          device.applicationVersion() != untouched.applicationVersion())
        std::abort();
      continue;
    }
    if (!qvr::sim::SaveDeviceState(saved, device)) std::abort();
    qvr::sim::SimDevice back(profile);
    if (!qvr::sim::LoadDeviceState(saved, back)) std::abort();
    if (back.memory() != device.memory() ||
        back.applicationVersion() != device.applicationVersion() ||
        back.currentInput() != device.currentInput())
      std::abort();
  }
  return 0;
}
