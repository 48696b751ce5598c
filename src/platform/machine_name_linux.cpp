#include <unistd.h>

#include <fstream>

#include "platform/machine_name.h"

namespace qvr {

std::string MachineName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

std::string SystemMachineId() {
  // The older place is D-Bus's, which systems without systemd still fill.
  for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
    std::string line;
    if (std::getline(std::ifstream(path), line) && !line.empty()) return line;
  }
  return {};
}

}  // namespace qvr
