#include "devices/common/device_commands.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "i18n/catalogue.h"
#include "link/device_info.h"

namespace qvr {

namespace {

constexpr uint8_t kCommandResetToDefault = 4;
constexpr uint8_t kCommandDescription = 6;
constexpr unsigned kDescriptionCapacity = 1000;

constexpr int kIrWaitMs = 10000;
constexpr uint32_t kIrStepMs = 125;
constexpr uint32_t kIrPumpPauseMs = 5;  // the window stays lively without a busy core
constexpr unsigned kIrCodeSize = 5;
constexpr uint8_t kIrNothingYet = 0;
constexpr uint8_t kIrNoCode = 0xFF;

void ShowLinkError(Host& host, const Catalogue& catalogue, MessageId message, const char* name,
                   LinkResult result) {
  host.ShowMessageBox(BoxKind::kError, DeviceFailureText(catalogue, message, name, result));
}

}  // namespace

LinkResult SendDeviceCommand(Link& link, Host& host, const Catalogue& catalogue,
                             const DeviceModule* module, uint8_t command, const uint8_t* data,
                             unsigned length) {
  if (module == nullptr) return LinkExchangeFailed;
  LinkResult result = link.DeviceWrite(module->deviceAddress, command, 0, data, length);
  if (result != LinkOk)
    ShowLinkError(host, catalogue, MessageId::kDeviceWriteFailed, module->name, result);
  return result;
}

LinkResult ReadDeviceValue(Link& link, Host& host, const Catalogue& catalogue,
                           const DeviceModule* module, uint8_t command, uint8_t* destination,
                           unsigned length) {
  if (module == nullptr) return LinkExchangeFailed;
  // A value is one short read: where it failed says nothing more.
  LinkResult result =
      link.ReadMemory(module->deviceAddress, command, 0, destination, length).code();
  if (result != LinkOk)
    ShowLinkError(host, catalogue, MessageId::kDeviceReadFailed, module->name, result);
  return result;
}

LinkResult ReadDeviceReply(Link& link, Host& host, const Catalogue& catalogue,
                           const DeviceModule& module, uint8_t command, uint8_t* destination,
                           unsigned& length) {
  unsigned count = 0;
  LinkResult result = link.DeviceRead(module.deviceAddress, command, 0, destination, length, count);
  if (result != LinkOk) {
    ShowLinkError(host, catalogue, MessageId::kDeviceReadFailed, module.name, result);
    return result;
  }
  // A reply longer than the buffer was cut to fit; the caller must not look past it.
  length = std::min(count, length);
  return LinkOk;
}

LinkResult ReadDeviceDescription(Link& link, Host& host, const Catalogue& catalogue,
                                 const DeviceModule* activeModule, uint8_t address,
                                 std::string& hexLine) {
  if (activeModule == nullptr) return LinkExchangeFailed;
  std::array<uint8_t, kDescriptionCapacity> buffer;
  unsigned count = 0;
  LinkResult result = link.DeviceRead(address, kCommandDescription, 0, buffer.data(),
                                      unsigned(buffer.size()), count);
  if (result != LinkOk) {
    ShowLinkError(host, catalogue, MessageId::kDeviceReadFailed, activeModule->name, result);
    return result;
  }
  hexLine.clear();
  for (unsigned i = 0; i < std::min(count, kDescriptionCapacity); ++i) {
    char pair[4];
    std::snprintf(pair, sizeof pair, "%s%02X", i == 0 ? "" : " ", unsigned(buffer[i]));
    hexLine += pair;
  }
  return LinkOk;
}

bool WaitForIrCode(Link& link, Host& host, const Catalogue& catalogue, const DeviceModule* module,
                   uint8_t command, uint8_t code[5]) {
  std::fill_n(code, kIrCodeSize, uint8_t(0));
  if (SendDeviceCommand(link, host, catalogue, module, command, nullptr, 0) != LinkOk) return false;
  Clock& clock = link.clock();
  host.BeginProgress(kIrWaitMs, catalogue.Text(MessageId::kAwaitingIrCode));

  const uint32_t start = clock.NowMs();
  uint32_t step = start;
  bool anyReply = false;
  for (;;) {
    if (ReadDeviceValue(link, host, catalogue, module, command, code, kIrCodeSize) != LinkOk) break;
    anyReply = true;
    if (code[0] != kIrNothingYet) break;
    // Keeps the window alive between polls.
    while (uint32_t(clock.NowMs() - step) < kIrStepMs) {
      host.PumpMessages();
      clock.SleepMs(kIrPumpPauseMs);
    }
    step += kIrStepMs;
    host.AdvanceProgress(int(kIrStepMs));
    if (uint32_t(clock.NowMs() - start) > uint32_t(kIrWaitMs)) break;
  }
  host.AdvanceProgress(int(kIrStepMs));
  // Without a single reply the buffer holds nothing received, so there is no code to report.
  return anyReply && code[0] != kIrNoCode;
}

LinkResult ResetToDefault(Link& link, Host& host, const Catalogue& catalogue,
                          const DeviceModule& module,
                          const std::function<LinkResult()>& beforeSending) {
  const BoxAnswer answer =
      host.ShowMessageBox(BoxStyle{BoxKind::kWarning, DefaultButton::kNo},
                          catalogue.Format(MessageId::kDefaultQuestion, module.name));
  if (answer != BoxAnswer::kYes) return LinkOk;
  if (beforeSending) {
    if (const LinkResult result = beforeSending(); result != LinkOk) return result;
  }
  return link.DeviceWrite(module.deviceAddress, kCommandResetToDefault, 0, nullptr, 0);
}

LinkResult ResetDevice(Link& link, const DeviceModule& module) {
  const LinkResult result = link.DeviceWrite(module.deviceAddress, kCommandReset, 0, nullptr, 0);
  if (!module.IsController() || !link.requestDelivered()) return result;
  if (result != LinkExchangeFailed && result != LinkTimeout) return result;
  // The controller restarts as soon as it has the request, usually before it can answer:
  // once it is gone from the bus right after, the reset was carried out.
  DeviceInfo info;
  return ReadInfoBlock(link, kControllerAddress, info) == LinkDisconnected ? LinkOk : result;
}

}  // namespace qvr
