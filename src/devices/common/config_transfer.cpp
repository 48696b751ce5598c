#include "devices/common/config_transfer.h"

#include "i18n/catalogue.h"
#include "link/device_commands.h"
#include "link/device_info.h"

namespace qvr {

namespace {}  // namespace

LinkResult ReadDeviceConfiguration(Link& link, const Catalogue& catalogue,
                                   const DeviceModule& module, const TransferPlan& plan,
                                   EventTable& events) {
  DeviceInfo info;
  LinkResult result = ReadDeviceInfo(link, catalogue, module, info);
  if (result != LinkOk) return result;
  link.host().BeginProgress(plan.progressTotal,
                            catalogue.Format(MessageId::kReadingConfiguration, module.name));
  result = ReadBlocks(link, module.deviceAddress, plan.blocks);
  if (result != LinkOk) return result;
  return ReadEventTable(link, module.deviceAddress, plan.eventCommand, events);
}

LinkResult WriteDeviceConfiguration(Link& link, const Catalogue& catalogue,
                                    const DeviceModule& module, const TransferPlan& plan,
                                    const EventTable& events) {
  link.host().BeginProgress(plan.progressTotal,
                            catalogue.Format(MessageId::kWritingConfiguration, module.name));
  LinkResult result = WriteBlocks(link, module.deviceAddress, module.blockSize, plan.blocks);
  if (result != LinkOk) return result;
  if (plan.skippedBytes > 0) link.host().AdvanceProgress(plan.skippedBytes);
  result = WriteEventTable(link, module.deviceAddress, plan.eventCommand, module.blockSize, events);
  if (result != LinkOk) return result;
  return ResetDevice(link, module);
}

}  // namespace qvr
