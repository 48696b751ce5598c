#pragma once
// MUX-410 device transfers: the identification, the five blocks and the event table, with the
// progress total 814; writes end with the device's reset.
#include <array>
#include <vector>

#include "devices/common/block_io.h"
#include "devices/mux410/config_image.h"
#include "link/device_module.h"
#include "link/link.h"

namespace qvr {
class Catalogue;
class Host;
}  // namespace qvr

namespace qvr::mux410 {

// The parameter blocks in transfer order, referring to the image's own bytes.
std::array<BlockRef, 5> ParameterBlocks(ConfigImage& image);
// The blocks of `image` a write of `sent` sends: every one, but the navigation block while it
// is kept on the unit; `skippedBytes` receives the size left out.
std::vector<BlockRef> BlocksSent(ConfigImage& image, const ConfigImage& sent, int& skippedBytes);

// Zero-fills the image, reads the DeviceInfo (log banner and lines), then the blocks and the
// events up to the end record. The first failure is returned; the image holds what was read.
[[nodiscard]] TransferResult ReadConfiguration(Link& link, Host& host, const Catalogue& catalogue,
                                               const DeviceModule& module, ConfigImage& image);
// Writes the five blocks, the used events packed from offset 0 with one zero end record (none
// when all 96 are used), then resets the device. The caller prunes and validates first.
[[nodiscard]] TransferResult WriteConfiguration(Link& link, Host& host, const Catalogue& catalogue,
                                                const DeviceModule& module,
                                                const ConfigImage& image);
// Makes the image what a device write sends, as the window's controls would (bit fields and
// check boxes cut to what they hold), and answers the first value the page would refuse or
// could not show (a list value beyond its list, a time-out out of range, an event list value
// beyond its list); empty when it may be sent. qvrctl and the window both go through it.
ImageRefusal PrepareForDevice(ConfigImage& image);

}  // namespace qvr::mux410
