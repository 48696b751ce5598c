#pragma once
// Firmware update of a module's device from a checked *.LDR file: identify the device, choose
// the file, check it, check compatibility (asking on same or older versions), transfer.
#include <functional>
#include <string>

#include "link/device_module.h"
#include "link/link.h"

namespace qvr {

class Catalogue;
class Host;

struct UpdateFileChooser {
  std::function<std::string()> choose;               // "" when cancelled
  std::function<void(const std::string&)> remember;  // called before the file is loaded
};

// 1 updated, 0 cancelled at the file choice, -1 failed or refused; every outcome has been shown
// through `host` (boxes and log lines).
int UpdateFirmware(Link& link, Host& host, const Catalogue& catalogue, const DeviceModule& module,
                   const UpdateFileChooser& chooser);

}  // namespace qvr
