#include "devices/drivers/other_devices_file.h"

#include <memory>
#include <vector>

#include "devices/common/config_file_io.h"
#include "devices/drivers/device_drivers.h"

namespace qvr {

namespace {

// The parameters of a fresh image of `module`'s kind (none for the controller); the fields
// point into the image, which `image` keeps.
std::vector<ImageField> FreshFields(const DeviceModule& module, std::shared_ptr<void>& image) {
  return WithConfigDriver(
      module,
      [&](const auto& driver) {
        auto fresh = std::make_shared<typename std::decay_t<decltype(driver)>::Image>();
        image = fresh;
        return driver.fields(*fresh);
      },
      [] { return std::vector<ImageField>(); });
}

}  // namespace

const DeviceModule* OtherDevicesFile(const std::string& path, const DeviceModule& module) {
  std::shared_ptr<void> ownImage, otherImage;
  const std::vector<ImageField> own = FreshFields(module, ownImage);
  for (const DeviceDriver& other : DeviceDrivers()) {
    if (!other.hasConfiguration() || other.module->deviceAddress == module.deviceAddress) continue;
    if (HoldsOtherDevicesKeys(path, own, FreshFields(*other.module, otherImage)))
      return other.module;
  }
  return nullptr;
}

}  // namespace qvr
