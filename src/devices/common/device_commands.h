#pragma once
// The wrappers the device pages and the toolbar use: one request to a module's device, and on
// failure exactly one error box naming the device and the result text. `module` is the active
// page's row; nullptr (no page) gives LinkExchangeFailed without a box.
#include <cstdint>
#include <functional>
#include <string>

#include "link/device_module.h"
#include "link/link.h"

namespace qvr {

class Catalogue;

// The restart every device answers; a configuration write ends with it.
inline constexpr uint8_t kCommandReset = 3;

// What a failed configuration write may have left on the unit, for the text after the failure:
// the half-written warning, or, when only the final restart was refused, just that.
inline bool OnlyRestartRefused(const WriteWatch& watch) {
  return watch.deviceChanged() && watch.lastCommand() == kCommandReset;
}

// One write request at offset 0; error box "Error writing to the device ..." on failure.
[[nodiscard]] LinkResult SendDeviceCommand(Link& link, Host& host, const Catalogue& catalogue,
                                           const DeviceModule* module, uint8_t command,
                                           const uint8_t* data, unsigned length);
// ReadMemory of `length` bytes at offset 0; error box "Error reading from device ..." on failure.
[[nodiscard]] LinkResult ReadDeviceValue(Link& link, Host& host, const Catalogue& catalogue,
                                         const DeviceModule* module, uint8_t command,
                                         uint8_t* destination, unsigned length);
// One DeviceRead (with its retry) to `module`'s device, whatever page is active; on success
// `length` := the reply's byte count. Error box on failure.
[[nodiscard]] LinkResult ReadDeviceReply(Link& link, Host& host, const Catalogue& catalogue,
                                         const DeviceModule& module, uint8_t command,
                                         uint8_t* destination, unsigned& length);
// The debug dump of command 6 from `address` as one line of upper-case hex pairs separated by
// blanks; error box (naming `activeModule`) on failure.
[[nodiscard]] LinkResult ReadDeviceDescription(Link& link, Host& host, const Catalogue& catalogue,
                                               const DeviceModule* activeModule, uint8_t address,
                                               std::string& hexLine);
// Starts IR learning with `command` and polls the 5-byte code every 125 ms for up to 10 s with
// a progress display. False when the start failed, the first poll failed, or byte 0 is 0xFF.
bool WaitForIrCode(Link& link, Host& host, const Catalogue& catalogue, const DeviceModule* module,
                   uint8_t command, uint8_t code[5]);
// Asks (warning, No default) and on Yes sends command 4; any other answer is LinkOk, unsent.
// `beforeSending`, when given, runs after the Yes (a backup of the configuration); a result
// other than LinkOk stops there and is returned.
[[nodiscard]] LinkResult ResetToDefault(Link& link, Host& host, const Catalogue& catalogue,
                                        const DeviceModule& module,
                                        const std::function<LinkResult()>& beforeSending = {});
// Sends command 3 (restart) to the module's device; asks nothing, shows nothing. The
// controller's own reset counts as done when it leaves the bus instead of answering.
[[nodiscard]] LinkResult ResetDevice(Link& link, const DeviceModule& module);

}  // namespace qvr
