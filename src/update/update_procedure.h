#pragma once
// Firmware update of a module's device from a checked *.LDR file: identify the device, choose
// the file, check it, check compatibility (asking on same or older versions), transfer, then
// wait for the unit to answer again and compare the version it reports with the file's.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/device_module.h"
#include "link/link.h"

namespace qvr {

class Catalogue;
class Host;

struct UpdateFileChooser {
  std::function<std::string()> choose;               // "" when cancelled
  std::function<void(const std::string&)> remember;  // called before the file is loaded
  // Called with the file's bytes once they passed the checks, before anything is sent: the
  // bytes the update sends, whatever becomes of the file meanwhile.
  std::function<void(const std::string&, const std::vector<uint8_t>&)> loaded;
};

enum class UpdateOutcome {
  kUpdated,       // and the unit reports the file's version
  kCancelled,     // at the file choice
  kFailed,        // or refused (by the file checks or the user's No)
  kNotTaken,      // every block went, and the unit reports another version than the file's
  kNotConfirmed,  // every block went, and the unit has not answered since
};

// Every outcome has been shown through `host` (boxes and log lines); a transfer that failed also
// logs the block and offset where it stopped. The unit (for the controller, the adapter found
// again by the link's transport) is given up to kUpdateAnswerWaitMs of the link's clock to
// answer after the last block, with identification requests only.
UpdateOutcome UpdateFirmware(Link& link, Host& host, const Catalogue& catalogue,
                             const DeviceModule& module, const UpdateFileChooser& chooser);

}  // namespace qvr
