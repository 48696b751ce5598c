#include "devices/drivers/device_drivers.h"

namespace qvr {
namespace {

const DeviceDriver kDrivers[kModuleCount] = {
    {
        .kind = DeviceKind::kController,
        .module = &kDeviceModules[kPageQvrb],
        .configuration = NoConfiguration{},
    },
    {
        .kind = DeviceKind::kMux410,
        .module = &kDeviceModules[kPageMux410],
        .configuration = &mux410::kConfigDriver,
    },
    {
        .kind = DeviceKind::kTpx520,
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

}  // namespace qvr
