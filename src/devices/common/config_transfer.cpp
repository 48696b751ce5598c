#include "devices/common/config_transfer.h"

#include "i18n/catalogue.h"
#include "link/device_commands.h"
#include "link/device_info.h"

namespace qvr {

namespace {

constexpr int kMsgReadingConfiguration = 69;
constexpr int kMsgWritingConfiguration = 70;

}  // namespace

LinkResult ReadDeviceConfiguration(Link& link, Host& host, const Catalogue& catalogue,
                                   const DeviceModule& module, const TransferPlan& plan,
                                   EventTable& events) {
  DeviceInfo info;
  LinkResult result = ReadDeviceInfo(link, host, catalogue, module, info);
  if (result != LinkOk) return result;
  host.BeginProgress(plan.progressTotal, catalogue.Format(kMsgReadingConfiguration, module.name));
  result = ReadBlocks(link, module.deviceAddress, plan.blocks);
  if (result != LinkOk) return result;
  return ReadEventTable(link, host, module.deviceAddress, plan.eventCommand, events);
}

LinkResult WriteDeviceConfiguration(Link& link, Host& host, const Catalogue& catalogue,
                                    const DeviceModule& module, const TransferPlan& plan,
                                    const EventTable& events) {
  host.BeginProgress(plan.progressTotal, catalogue.Format(kMsgWritingConfiguration, module.name));
  LinkResult result = WriteBlocks(link, module.deviceAddress, module.blockSize, plan.blocks);
  if (result != LinkOk) return result;
  if (plan.skippedBytes > 0) host.AdvanceProgress(plan.skippedBytes);
  result = WriteEventTable(link, host, module.deviceAddress, plan.eventCommand, module.blockSize,
                           events);
  if (result != LinkOk) return result;
  return ResetDevice(link, module);
}

}  // namespace qvr
