#include "devices/drivers/device_drivers.h"

#include <algorithm>
#include <cctype>

namespace qvr {
namespace {

const DeviceDriver kDrivers[kModuleCount] = {
    {
        .kind = DeviceKind::kController,
        .commandName = "qvr-b",
        .module = &kDeviceModules[kPageQvrb],
        .configuration = NoConfiguration{},
    },
    {
        .kind = DeviceKind::kMux410,
        .commandName = "mux-410",
        .module = &kDeviceModules[kPageMux410],
        .configuration = &mux410::kConfigDriver,
    },
    {
        .kind = DeviceKind::kTpx520,
        .commandName = "tpx-520",
        .module = &kDeviceModules[kPageTpx520],
        .configuration = &tpx520::kConfigDriver,
    },
};

}  // namespace

std::span<const DeviceDriver> DeviceDrivers() {
  return kDrivers;
}

const DeviceDriver& DriverOf(const DeviceModule& module) {
  for (const DeviceDriver& driver : kDrivers)
    if (driver.module->deviceAddress == module.deviceAddress) return driver;
  return kDrivers[kPageQvrb];
}

const DeviceDriver* DriverNamed(std::string_view name) {
  const auto sameLetters = [](std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::tolower(static_cast<unsigned char>(x)) ==
             std::tolower(static_cast<unsigned char>(y));
    });
  };
  for (const DeviceDriver& driver : kDrivers)
    if (sameLetters(driver.commandName, name)) return &driver;
  return nullptr;
}

std::vector<std::string> CommandNames(bool withConfigurationOnly) {
  std::vector<std::string> names;
  for (const DeviceDriver& driver : kDrivers)
    if (!withConfigurationOnly || driver.hasConfiguration()) names.push_back(driver.commandName);
  return names;
}

}  // namespace qvr
