#include "devices/common/config_transfer.h"

#include "i18n/catalogue.h"
#include "link/device_commands.h"
#include "link/device_info.h"

namespace qvr {

TransferResult ReadDeviceConfiguration(Link& link, const Catalogue& catalogue,
                                       const DeviceModule& module, const TransferPlan& plan,
                                       EventTable& events) {
  DeviceInfo info;
  const LinkResult identified = ReadDeviceInfo(link, catalogue, module, info);
  if (identified != LinkOk) return identified;
  link.host().BeginProgress(plan.progressTotal,
                            catalogue.Format(MessageId::kReadingConfiguration, module.name));
  const TransferResult result = ReadBlocks(link, module.deviceAddress, plan.blocks);
  if (result != LinkOk) return result;
  return ReadEventTable(link, module.deviceAddress, plan.eventCommand, events);
}

TransferResult WriteDeviceConfiguration(Link& link, const Catalogue& catalogue,
                                        const DeviceModule& module, const TransferPlan& plan,
                                        const EventTable& events) {
  link.host().BeginProgress(plan.progressTotal,
                            catalogue.Format(MessageId::kWritingConfiguration, module.name));
  TransferResult result = WriteBlocks(link, module.deviceAddress, module.blockSize, plan.blocks);
  if (result != LinkOk) return result;
  if (plan.skippedBytes > 0) link.host().AdvanceProgress(plan.skippedBytes);
  result = WriteEventTable(link, module.deviceAddress, plan.eventCommand, module.blockSize, events);
  if (result != LinkOk) return result;
  return ResetDevice(link, module);
}

}  // namespace qvr
