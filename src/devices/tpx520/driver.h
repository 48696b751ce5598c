#pragma once
// The TPX-520's configuration driver: its image and the functions every user of it goes through.
#include "devices/common/config_driver.h"
#include "devices/tpx520/config_image.h"

namespace qvr::tpx520 {

extern const ConfigDriver<ConfigImage> kConfigDriver;

}  // namespace qvr::tpx520
