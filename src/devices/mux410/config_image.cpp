#include "devices/mux410/config_image.h"

namespace qvr::mux410 {

void ConfigImage::Clear() {
  *this = ConfigImage{};
}

}  // namespace qvr::mux410
