#include "devices/drivers/device_drivers.h"

#include <algorithm>
#include <cctype>

namespace qvr {

const DeviceDriver* FindDriver(const DeviceModule& module, std::span<const DeviceDriver> drivers) {
  for (const DeviceDriver& driver : drivers)
    if (driver.module->deviceAddress == module.deviceAddress) return &driver;
  return nullptr;
}

const DeviceDriver& ControllerDriver(std::span<const DeviceDriver> drivers) {
  for (const DeviceDriver& driver : drivers)
    if (driver.IsController()) return driver;
  // Every registry lists the controller; this keeps a malformed one from crashing.
  return DeviceDrivers().front();
}

const DeviceDriver& FirstConfiguredDriver(std::span<const DeviceDriver> drivers) {
  for (const DeviceDriver& driver : drivers)
    if (driver.hasConfiguration()) return driver;
  return ControllerDriver(drivers);
}

const DeviceDriver* DriverNamed(std::string_view name, std::span<const DeviceDriver> drivers) {
  const auto sameLetters = [](std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::tolower(static_cast<unsigned char>(x)) ==
             std::tolower(static_cast<unsigned char>(y));
    });
  };
  for (const DeviceDriver& driver : drivers)
    if (sameLetters(driver.commandName, name)) return &driver;
  return nullptr;
}

std::vector<std::string> CommandNames(bool withConfigurationOnly,
                                      std::span<const DeviceDriver> drivers) {
  std::vector<std::string> names;
  for (const DeviceDriver& driver : drivers)
    if (!withConfigurationOnly || driver.hasConfiguration()) names.push_back(driver.commandName);
  return names;
}

std::string CommandNameList(bool withConfigurationOnly, std::span<const DeviceDriver> drivers) {
  const std::vector<std::string> names = CommandNames(withConfigurationOnly, drivers);
  std::string list;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) list += i + 1 == names.size() ? " or " : ", ";
    list += names[i];
  }
  return list;
}

}  // namespace qvr
