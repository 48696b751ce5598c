#pragma once
// The TPX-520's configuration driver: its image and the functions every user of it goes through.
#include "devices/common/config_driver.h"
#include "devices/tpx520/config_image.h"
#include "link/device_module.h"

namespace qvr::tpx520 {

// The TPX-520's row on the bus.
inline constexpr DeviceModule kModule = {
    .name = "TPX-520",
    .typeCode = 3,
    .deviceAddress = 2,
    .firmwareMask = "*.LDR",
    .blockSize = 32,
    .configMask = "*.MUX",
};

extern const ConfigDriver<ConfigImage> kConfigDriver;

}  // namespace qvr::tpx520
