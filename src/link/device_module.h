#pragma once
// A device's row on the bus: its name, type code, address, block size and file masks. The
// controller's row is the link's own (it answers at address 0); each device kind defines its row
// in its own folder, and the driver registry (src/devices/drivers/) puts them in page order.
#include <cstdint>

namespace qvr {

// The adapter itself answers at this address; the devices behind it at theirs.
inline constexpr uint8_t kControllerAddress = 0;

struct DeviceModule {
  const char* name;
  uint8_t typeCode;
  uint8_t deviceAddress;
  const char* firmwareMask;
  int32_t blockSize;
  const char* configMask;  // empty when the row has no configuration files

  // The QVR-B adapter rather than a device behind it.
  constexpr bool IsController() const { return deviceAddress == kControllerAddress; }
};

inline constexpr DeviceModule kControllerModule = {
    .name = "QVR-B",
    .typeCode = 1,
    .deviceAddress = kControllerAddress,
    .firmwareMask = "*.LDR",
    .blockSize = 32,
    .configMask = "",
};

}  // namespace qvr
