#pragma once
// DeviceInfo: the 66-byte identification block every device returns for command 1, and the
// monitoring-log lines that show it.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "link/bytes.h"
#include "link/device_module.h"
#include "link/link.h"

namespace qvr {

class Catalogue;
class Host;

struct DeviceInfo {
  std::array<uint8_t, 66> bytes{};

  uint16_t applicationVersion() const { return GetU16(&bytes[0]); }
  uint32_t serialNumber() const { return GetU32(&bytes[2]); }
  uint16_t bootVersion() const { return GetU16(&bytes[6]); }
  uint8_t deviceVersion() const { return bytes[8]; }
  uint8_t deviceType() const { return bytes[9]; }
  // Bytes 10.. up to the first zero (byte 65 is always zero): Windows-1251 like every 8-bit
  // text of the devices, given as UTF-8 so that no consumer meets bytes that are not.
  std::string name() const;
  void Clear() { bytes.fill(0); }
};

// The four information lines (name, serial number, boot version, application version).
std::vector<std::string> ControllerInfoLines(const Catalogue& catalogue, const DeviceInfo& info);

// Appends the four information lines to the host's log.
void ShowControllerInfo(Host& host, const Catalogue& catalogue, const DeviceInfo& info);

// One read of the identification block (command 1, capacity 66) from `address`; shows nothing.
[[nodiscard]] LinkResult ReadInfoBlock(Link& link, uint8_t address, DeviceInfo& info);

// Reads the module's DeviceInfo (command 1, one DeviceRead of capacity 66); on success clears
// the log and writes the device banner and the information lines. On failure nothing is shown.
[[nodiscard]] LinkResult ReadDeviceInfo(Link& link, Host& host, const Catalogue& catalogue,
                                        const DeviceModule& module, DeviceInfo& info);

}  // namespace qvr
