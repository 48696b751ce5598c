// The computer's id, as both platforms choose it around the system's own.
#include <cstdlib>

#include "platform/machine_name.h"

namespace qvr {

std::string MachineId() {
  static const std::string id = [] {
    const char* chosen = std::getenv("QVR_MACHINE_ID");
    if (chosen != nullptr && *chosen != '\0') return std::string(chosen);
    const std::string system = SystemMachineId();
    return system.empty() ? MachineName() : system;
  }();
  return id;
}

}  // namespace qvr
