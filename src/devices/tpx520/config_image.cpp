#include "devices/tpx520/config_image.h"

namespace qvr::tpx520 {

// Everything zero, and the touch block counts as not read from the device.
void ConfigImage::Clear() {
  *this = ConfigImage{};
}

}  // namespace qvr::tpx520
