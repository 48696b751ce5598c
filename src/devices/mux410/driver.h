#pragma once
// The MUX-410's configuration driver: its image and the functions every user of it goes through.
#include "devices/common/config_driver.h"
#include "devices/mux410/config_image.h"
#include "link/device_module.h"

namespace qvr::mux410 {

// The MUX-410's row on the bus.
inline constexpr DeviceModule kModule = {
    .name = "MUX-410",
    .typeCode = 2,
    .deviceAddress = 1,
    .firmwareMask = "*.LDR",
    .blockSize = 32,
    .configMask = "*.MUX",
};

extern const ConfigDriver<ConfigImage> kConfigDriver;

}  // namespace qvr::mux410
