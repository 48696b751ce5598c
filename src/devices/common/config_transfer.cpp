#include "devices/common/config_transfer.h"

#include <algorithm>

#include "devices/common/device_commands.h"
#include "i18n/catalogue.h"
#include "link/device_info.h"

namespace qvr {

std::vector<BlockRef> BlocksWithout(std::span<const BlockRef> blocks,
                                    std::span<const uint8_t> leftOut, int& skippedBytes) {
  std::vector<BlockRef> sent;
  skippedBytes = 0;
  for (const BlockRef& block : blocks) {
    if (std::find(leftOut.begin(), leftOut.end(), block.command) == leftOut.end()) {
      sent.push_back(block);
    } else {
      skippedBytes += int(block.size);
    }
  }
  return sent;
}

TransferResult ReadDeviceConfiguration(Link& link, Host& host, const Catalogue& catalogue,
                                       const DeviceModule& module, const TransferPlan& plan,
                                       EventTable& events) {
  DeviceInfo info;
  const LinkResult identified = ReadDeviceInfo(link, host, catalogue, module, info);
  if (identified != LinkOk) return identified;
  host.BeginProgress(plan.progressTotal,
                     catalogue.Format(MessageId::kReadingConfiguration, module.name));
  const TransferResult result = ReadBlocks(link, module.deviceAddress, plan.blocks);
  if (result != LinkOk) return result;
  return ReadEventTable(link, host, module.deviceAddress, plan.eventCommand, events);
}

TransferResult WriteDeviceConfiguration(Link& link, Host& host, const Catalogue& catalogue,
                                        const DeviceModule& module, const TransferPlan& plan,
                                        const EventTable& events) {
  host.BeginProgress(plan.progressTotal,
                     catalogue.Format(MessageId::kWritingConfiguration, module.name));
  TransferResult result = WriteBlocks(link, module.deviceAddress, module.blockSize, plan.blocks);
  if (result != LinkOk) return result;
  if (plan.skippedBytes > 0) host.AdvanceProgress(plan.skippedBytes);
  result = WriteEventTable(link, host, module.deviceAddress, plan.eventCommand, module.blockSize,
                           events);
  if (result != LinkOk) return result;
  return ResetDevice(link, module);
}

}  // namespace qvr
