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
  // The page of the active row (the write operations' validation pass has no module).
  virtual DevicePage* activeDevicePage() = 0;
  virtual std::string ChooseUpdateFile(const DeviceModule& module) = 0;
  virtual void RememberUpdateFile(const DeviceModule& module, const std::string& path) = 0;
  // Saves the device's configuration before a change (when the settings ask for it): LinkOk to
  // go on; kOperationStoppedAndShown when it failed and the user has been told.
  virtual LinkResult BackupBeforeChange(const DeviceModule& module) = 0;
};

// An operation that stopped after telling the user why: no failure box follows.
inline constexpr int kOperationStoppedAndShown = -1000;

struct ModuleRow {
  const DeviceModule* module;
  int (*updateFirmware)(ModuleContext&, const DeviceModule&);
  int (*readConfigFile)(ModuleContext&, const DeviceModule&, const std::string& path);
  // With nullptr only validates the page (0 valid, non-zero invalid and already reported).
  int (*writeConfigFile)(ModuleContext&, const DeviceModule*, const std::string& path);
  int (*readDevice)(ModuleContext&, const DeviceModule&);
  // With nullptr only validates the page, as above.
  int (*writeDevice)(ModuleContext&, const DeviceModule*);
  int (*resetToDefault)(ModuleContext&, const DeviceModule&);
  int (*resetDevice)(ModuleContext&, const DeviceModule&);
};

// The three rows: QVR-B (firmware update and reset only), MUX-410 and TPX-520 (everything).
std::span<const ModuleRow> DeviceModuleTable();

// The row of page `index` in `table`, or nullptr outside it.
const ModuleRow* RowOfPage(std::span<const ModuleRow> table, int index);

}  // namespace qvr
