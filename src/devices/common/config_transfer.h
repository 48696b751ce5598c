#pragma once
// A whole configuration between the device and its image, shared by both devices: the
// identification, the parameter blocks, the event table, progress and the final reset.
#include <cstdint>
#include <span>
#include <vector>

#include "devices/common/block_io.h"
#include "link/device_module.h"

namespace qvr {

class Catalogue;
class Host;

// `blocks` without those whose command is in `leftOut` (blocks the unit keeps as its own);
// `skippedBytes` receives their size, for the progress.
std::vector<BlockRef> BlocksWithout(std::span<const BlockRef> blocks,
                                    std::span<const uint8_t> leftOut, int& skippedBytes);

struct TransferPlan {
  int progressTotal;                 // bytes of all blocks and of the whole event table
  std::span<const BlockRef> blocks;  // in transfer order
  uint8_t eventCommand;
  int skippedBytes = 0;  // blocks of the total a write leaves out (progress only)
};

// DeviceInfo (log banner and lines in `host`), progress "Reading configuration ...", the blocks,
// then the events up to the end record. The first failure is returned, with its place when a
// memory transfer failed.
[[nodiscard]] TransferResult ReadDeviceConfiguration(Link& link, Host& host,
                                                     const Catalogue& catalogue,
                                                     const DeviceModule& module,
                                                     const TransferPlan& plan, EventTable& events);
// Progress "Write configuration ...", the blocks, the used events packed with their end
// record, then the device's reset. The first failure is returned (no reset then), with its
// place when a memory transfer failed.
[[nodiscard]] TransferResult WriteDeviceConfiguration(Link& link, Host& host,
                                                      const Catalogue& catalogue,
                                                      const DeviceModule& module,
                                                      const TransferPlan& plan,
                                                      const EventTable& events);

}  // namespace qvr
