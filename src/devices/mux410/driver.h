#pragma once
// The MUX-410's configuration driver: its image and the functions every user of it goes through.
#include "devices/common/config_driver.h"
#include "devices/mux410/config_image.h"

namespace qvr::mux410 {

extern const ConfigDriver<ConfigImage> kConfigDriver;

}  // namespace qvr::mux410
