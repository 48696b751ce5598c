#pragma once
// The device kinds the program serves, one driver each, in page order: the window's module
// table, qvrctl and backups all choose a kind's functions here, by the module's bus address.
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

enum class DeviceKind { kController, kMux410, kTpx520 };

// The controller itself: firmware and reset only, no configuration.
struct NoConfiguration {};

using ConfigDriverOfKind = std::variant<NoConfiguration, const ConfigDriver<mux410::ConfigImage>*,
                                        const ConfigDriver<tpx520::ConfigImage>*>;

struct DeviceDriver {
  DeviceKind kind;
  // How qvrctl's command line names the device ("mux-410").
  const char* commandName;
  // The bus row: name, type code, address, block size and file masks.
  const DeviceModule* module;
  ConfigDriverOfKind configuration;

  bool hasConfiguration() const { return !std::holds_alternative<NoConfiguration>(configuration); }
};

// The drivers in page order (the controller, MUX-410, TPX-520).
std::span<const DeviceDriver> DeviceDrivers();

// The driver of `module`, told by its bus address; the controller's for an unknown one.
const DeviceDriver& DriverOf(const DeviceModule& module);

// The driver qvrctl's command line names `name` (as commandName, any case), or null.
const DeviceDriver* DriverNamed(std::string_view name);

// The command-line names of the devices, of those with a configuration only when asked.
std::vector<std::string> CommandNames(bool withConfigurationOnly);

// Calls `run(driver)` with the typed configuration driver of `module`'s kind, or `otherwise()`
// for a kind without configuration.
template <typename Run, typename Otherwise>
auto WithConfigDriver(const DeviceModule& module, Run run, Otherwise otherwise) {
  return std::visit(
      [&](const auto& configuration) {
        if constexpr (std::is_same_v<std::decay_t<decltype(configuration)>, NoConfiguration>)
          return otherwise();
        else
          return run(*configuration);
      },
      DriverOf(module).configuration);
}

}  // namespace qvr
