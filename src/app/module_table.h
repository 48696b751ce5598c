#pragma once
// The device module table behind the toolbar: one constant row per page, each naming the
// operations that device supports. An empty slot means "not supported" and disables its button.
#include <span>
#include <string>

#include "link/device_module.h"
#include "link/link_result.h"

namespace qvr {

class Catalogue;
class DevicePage;
class Host;
class Link;

// What the row operations reach: the link, the texts, the device pages and the file choice of
// the firmware update. The main window provides it.
class ModuleContext {
 public:
  virtual ~ModuleContext() = default;
  virtual Link& link() = 0;
  virtual Host& host() = 0;
  virtual const Catalogue& catalogue() const = 0;
  // The page of row `index`, or nullptr when the row has none.
  virtual DevicePage* devicePage(int index) = 0;
  // The page of the active row, which the checks before a write look at.
  virtual DevicePage* activeDevicePage() = 0;
  virtual std::string ChooseUpdateFile(const DeviceModule& module) = 0;
  virtual void RememberUpdateFile(const DeviceModule& module, const std::string& path) = 0;
  // Saves the device's configuration before a change (when the settings ask for it): LinkOk to
  // go on; LinkStoppedAndShown when it failed and the user has been told.
  virtual LinkResult BackupBeforeChange(const DeviceModule& module) = 0;
};

// One device's toolbar operations; an operation the device does not support stays empty and
// disables its button.
struct ModuleRow {
  using Operation = int (*)(ModuleContext&, const DeviceModule&);
  const DeviceModule* module = nullptr;
  Operation updateFirmware = nullptr;
  int (*readConfigFile)(ModuleContext&, const DeviceModule&, const std::string& path) = nullptr;
  int (*writeConfigFile)(ModuleContext&, const DeviceModule&, const std::string& path) = nullptr;
  Operation readDevice = nullptr;
  Operation writeDevice = nullptr;
  Operation resetToDefault = nullptr;
  Operation resetDevice = nullptr;
  // The active page's checks before a save or a device write: 0 valid, non-zero invalid and
  // already reported.
  int (*checkForFile)(ModuleContext&) = nullptr;
  int (*checkForDevice)(ModuleContext&) = nullptr;
};

// The rows in page order, one per device driver: the controller has firmware update and reset
// only; a device with a configuration has every operation.
std::span<const ModuleRow> DeviceModuleTable();

// The row of page `index` in `table`, or nullptr outside it.
const ModuleRow* RowOfPage(std::span<const ModuleRow> table, int index);

}  // namespace qvr
