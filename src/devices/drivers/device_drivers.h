#pragma once
// The registry of device kinds: one driver each, in page order. The window's module table and
// pages, qvrctl's device names and completions, and backups are all built from it; a new kind is
// added here (and, for the window, in its page registry, src/app/device_pages.cpp).
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "devices/mux410/driver.h"
#include "devices/tpx520/driver.h"
#include "link/device_module.h"

namespace qvr {

// The controller itself: firmware and reset only, no configuration.
struct NoConfiguration {};

using ConfigDriverOfKind = std::variant<NoConfiguration, const ConfigDriver<mux410::ConfigImage>*,
                                        const ConfigDriver<tpx520::ConfigImage>*>;

struct DeviceDriver {
  // How qvrctl's command line names the device ("qvr-b"); also the kind's key in the window's
  // page registry.
  const char* commandName;
  // The bus row: name, type code, address, block size and file masks.
  const DeviceModule* module;
  ConfigDriverOfKind configuration;

  bool hasConfiguration() const { return !std::holds_alternative<NoConfiguration>(configuration); }
  bool IsController() const { return module->IsController(); }
};

inline constexpr DeviceDriver kBuiltInDrivers[] = {
    {
        .commandName = "qvr-b",
        .module = &kControllerModule,
        .configuration = NoConfiguration{},
    },
    {
        .commandName = "mux-410",
        .module = &mux410::kModule,
        .configuration = &mux410::kConfigDriver,
    },
    {
        .commandName = "tpx-520",
        .module = &tpx520::kModule,
        .configuration = &tpx520::kConfigDriver,
    },
};

// The drivers the programs serve, in page order (the controller first).
inline std::span<const DeviceDriver> DeviceDrivers() {
  return kBuiltInDrivers;
}

// The driver of `module` among `drivers`, told by its bus address; null for an unknown one.
const DeviceDriver* FindDriver(const DeviceModule& module,
                               std::span<const DeviceDriver> drivers = DeviceDrivers());

// The controller's driver: the one every list starts with.
const DeviceDriver& ControllerDriver(std::span<const DeviceDriver> drivers = DeviceDrivers());

// The first driver with a configuration: the kind a file is taken for when nothing tells.
const DeviceDriver& FirstConfiguredDriver(std::span<const DeviceDriver> drivers = DeviceDrivers());

// The driver qvrctl's command line names `name` (as commandName, any case), or null.
const DeviceDriver* DriverNamed(std::string_view name,
                                std::span<const DeviceDriver> drivers = DeviceDrivers());

// The command-line names of the devices, of those with a configuration only when asked.
std::vector<std::string> CommandNames(bool withConfigurationOnly,
                                      std::span<const DeviceDriver> drivers = DeviceDrivers());

// "a, b or c": the command-line names for a help text.
std::string CommandNameList(bool withConfigurationOnly,
                            std::span<const DeviceDriver> drivers = DeviceDrivers());

// Calls `run(driver)` with the typed configuration driver of `module`'s kind, or `otherwise()`
// for a kind without configuration (or one the registry does not know).
template <typename Run, typename Otherwise>
auto WithConfigDriver(const DeviceModule& module, Run run, Otherwise otherwise) {
  const DeviceDriver* driver = FindDriver(module);
  if (!driver) return otherwise();
  return std::visit(
      [&](const auto& configuration) {
        if constexpr (std::is_same_v<std::decay_t<decltype(configuration)>, NoConfiguration>)
          return otherwise();
        else
          return run(*configuration);
      },
      driver->configuration);
}

}  // namespace qvr
