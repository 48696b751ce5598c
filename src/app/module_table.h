#pragma once
// The device module table behind the toolbar: one constant row per page, each naming the
// operations that device supports. An empty slot means "not supported" and disables its button.
#include <span>
#include <string>
#include <vector>

#include "devices/common/ui/device_page.h"
#include "devices/drivers/device_drivers.h"
#include "link/device_module.h"
#include "link/link_result.h"

namespace qvr {

class Catalogue;
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
  // The page of `module`'s device, or nullptr when it has none.
  virtual DevicePage* devicePageOf(const DeviceModule& module) = 0;
  // The page of the active row, which the checks before a write look at.
  virtual DevicePage* activeDevicePage() = 0;
  virtual std::string ChooseUpdateFile(const DeviceModule& module) = 0;
  virtual void RememberUpdateFile(const DeviceModule& module, const std::string& path) = 0;
  // The update file's bytes that passed the checks, just before they are sent.
  virtual void UpdateFileLoaded(const std::string& path, const std::vector<uint8_t>& bytes) = 0;
  // Every block of the update went, and the unit has not answered since: the change is on record
  // as not confirmed rather than failed.
  virtual void UpdateNotConfirmed() = 0;
  // Saves the device's configuration before a change (when the settings ask for it): LinkOk to
  // go on; LinkStoppedAndShown when it failed and the user has been told.
  virtual LinkResult BackupBeforeChange(const DeviceModule& module) = 0;
};

// One device's toolbar operations; an operation the device does not support stays empty and
// disables its button.
struct ModuleRow {
  // A transfer of the unit; its failure says where it stopped.
  using Operation = TransferResult (*)(ModuleContext&, const DeviceModule&);
  using FileOperation = PageOutcome (*)(ModuleContext&, const DeviceModule&,
                                        const std::string& path);
  // The active page's checks before a save or a device write (a refusal is already reported).
  using Check = PageOutcome (*)(ModuleContext&);
  const DeviceModule* module = nullptr;
  Operation updateFirmware = nullptr;
  FileOperation readConfigFile = nullptr;
  FileOperation writeConfigFile = nullptr;
  Operation readDevice = nullptr;
  Operation writeDevice = nullptr;
  Operation resetToDefault = nullptr;
  Operation resetDevice = nullptr;
  Check checkForFile = nullptr;
  Check checkForDevice = nullptr;
};

// The rows of `drivers`, in their order: the controller has firmware update and reset only; a
// device with a configuration has every operation.
std::vector<ModuleRow> ModuleTableOf(std::span<const DeviceDriver> drivers);

// The row of page `index` in `table`, or nullptr outside it.
const ModuleRow* RowOfPage(std::span<const ModuleRow> table, int index);

}  // namespace qvr
