#pragma once
// TPX-520 device transfers: the identification, the name, touch, navigation and mode blocks
// and the event table, with the progress total 570; writes end with the device's reset.
#include "devices/tpx520/config_image.h"
#include "link/device_module.h"
#include "link/link.h"

namespace qvr {
class Catalogue;
}

namespace qvr::tpx520 {

// Zero-fills the image, reads the DeviceInfo (log banner and lines), then the blocks and the
// events up to the end record. The first failure is returned; the image holds what was read.
[[nodiscard]] LinkResult ReadConfiguration(Link& link, const Catalogue& catalogue,
                                           const DeviceModule& module, ConfigImage& image);
// Writes the name, touch (only when image.touchFromDevice), navigation and mode blocks, the
// used events packed from offset 0 with one zero end record (none when all 64 are used), then
// resets the device. The caller prunes and validates first.
[[nodiscard]] LinkResult WriteConfiguration(Link& link, const Catalogue& catalogue,
                                            const DeviceModule& module, const ConfigImage& image);
// The checks a page would make before a device or file write, on the image alone (for qvrctl):
// a list value beyond its list, a time-out outside its range, a used event whose input is
// 0xFF. Returns the field's message in the catalogue's language, or empty when valid.
std::string CheckImage(const Catalogue& catalogue, ConfigImage& image);

}  // namespace qvr::tpx520
