#include "link/device_info.h"

#include <algorithm>

#include "i18n/catalogue.h"
#include "i18n/cp1251.h"

namespace qvr {

namespace {

constexpr int kNameOffset = 10;
constexpr uint8_t kCommandDeviceInfo = 1;
constexpr unsigned kInfoReplySize = 65;

}  // namespace

std::string DeviceInfo::name() const {
  // Bounded by the block even when a caller filled it without the terminating zero.
  auto first = bytes.begin() + kNameOffset;
  return Cp1251ToUtf8(std::string(first, std::find(first, bytes.end(), uint8_t(0))));
}

std::vector<std::string> ControllerInfoLines(const Catalogue& catalogue, const DeviceInfo& info) {
  std::vector<std::string> lines;
  lines.push_back(catalogue.Format(MessageId::kInfoName, info.name().c_str()));
  lines.push_back(catalogue.Format(MessageId::kInfoSerialNumber,
                                   static_cast<unsigned long>(info.serialNumber())));
  const unsigned boot = info.bootVersion();
  lines.push_back(catalogue.Format(MessageId::kInfoBootVersion, boot / 100, boot % 100));
  const unsigned application = info.applicationVersion();
  if (application == 0) {
    lines.push_back(catalogue.Text(MessageId::kInfoNoApplication));
  } else {
    lines.push_back(
        catalogue.Format(MessageId::kInfoApplicationVersion, application / 100, application % 100));
  }
  return lines;
}

void ShowControllerInfo(Host& host, const Catalogue& catalogue, const DeviceInfo& info) {
  for (const std::string& line : ControllerInfoLines(catalogue, info)) host.LogLine(line);
}

LinkResult ReadInfoBlock(Link& link, uint8_t address, DeviceInfo& info) {
  // The read clears the whole block before copying, so byte 65 stays the name's terminator.
  unsigned count = 0;
  const LinkResult result = link.DeviceRead(address, kCommandDeviceInfo, 0, info.bytes.data(),
                                            unsigned(info.bytes.size()), count);
  if (result != LinkOk) return result;
  // A reply carries at most 65 bytes: all of the block but the name's terminator. Anything
  // shorter would pass for a device with no name, serial number or type.
  if (count < kInfoReplySize) {
    info.Clear();
    return LinkExchangeFailed;
  }
  return LinkOk;
}

LinkResult ReadDeviceInfo(Link& link, Host& host, const Catalogue& catalogue,
                          const DeviceModule& module, DeviceInfo& info) {
  LinkResult result = ReadInfoBlock(link, module.deviceAddress, info);
  if (result != LinkOk) return result;
  host.ClearLog();
  host.LogLine(catalogue.Text(MessageId::kDeviceBanner));
  ShowControllerInfo(host, catalogue, info);
  return LinkOk;
}

}  // namespace qvr
