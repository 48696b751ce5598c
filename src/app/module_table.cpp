#include "app/module_table.h"

#include <vector>

#include "devices/common/ui/device_page.h"
#include "devices/drivers/device_drivers.h"
#include "link/device_commands.h"
#include "update/update_procedure.h"

namespace qvr {
namespace {

// The device rows' page index equals their bus address.
DevicePage* PageOf(ModuleContext& context, const DeviceModule& module) {
  return context.devicePage(module.deviceAddress);
}

int UpdateFirmwareOp(ModuleContext& context, const DeviceModule& module) {
  UpdateFileChooser chooser{
      [&] { return context.ChooseUpdateFile(module); },
      [&](const std::string& path) { context.RememberUpdateFile(module, path); }};
  // Every other outcome has shown itself.
  return UpdateFirmware(context.link(), context.host(), context.catalogue(), module, chooser) ==
                 UpdateOutcome::kUpdated
             ? LinkOk
             : LinkStoppedAndShown;
}

int ReadConfigFileOp(ModuleContext& context, const DeviceModule& module, const std::string& path) {
  DevicePage* page = PageOf(context, module);
  return page ? page->ReadConfigFile(module, path) : LinkExchangeFailed;
}

int ReadDeviceOp(ModuleContext& context, const DeviceModule& module) {
  DevicePage* page = PageOf(context, module);
  return page ? page->ReadDevice(module) : LinkExchangeFailed;
}

int ResetToDefaultOp(ModuleContext& context, const DeviceModule& module) {
  return ResetToDefault(context.link(), context.host(), context.catalogue(), module,
                        [&] { return context.BackupBeforeChange(module); });
}

int ResetDeviceOp(ModuleContext& context, const DeviceModule& module) {
  return ResetDevice(context.link(), module);
}

int CheckForFileOp(ModuleContext& context) {
  DevicePage* page = context.activeDevicePage();
  return page ? page->CheckForFile() : 1;
}

int CheckForDeviceOp(ModuleContext& context) {
  DevicePage* page = context.activeDevicePage();
  return page ? page->CheckForDevice() : 1;
}

int WriteConfigFileOp(ModuleContext& context, const DeviceModule& module, const std::string& path) {
  DevicePage* page = PageOf(context, module);
  return page ? page->WriteConfigFile(module, path) : 1;
}

int WriteDeviceOp(ModuleContext& context, const DeviceModule& module) {
  DevicePage* page = PageOf(context, module);
  return page ? page->WriteDevice(module) : 1;
}

// Every device has its firmware and its reset; one with a configuration has the rest too.
ModuleRow RowOf(const DeviceDriver& driver) {
  ModuleRow row{
      .module = driver.module,
      .updateFirmware = UpdateFirmwareOp,
      .resetDevice = ResetDeviceOp,
  };
  if (!driver.hasConfiguration()) return row;
  row.readConfigFile = ReadConfigFileOp;
  row.writeConfigFile = WriteConfigFileOp;
  row.readDevice = ReadDeviceOp;
  row.writeDevice = WriteDeviceOp;
  row.resetToDefault = ResetToDefaultOp;
  row.checkForFile = CheckForFileOp;
  row.checkForDevice = CheckForDeviceOp;
  return row;
}

std::vector<ModuleRow> RowsOf(std::span<const DeviceDriver> drivers) {
  std::vector<ModuleRow> rows;
  for (const DeviceDriver& driver : drivers) rows.push_back(RowOf(driver));
  return rows;
}

}  // namespace

std::span<const ModuleRow> DeviceModuleTable() {
  static const std::vector<ModuleRow> rows = RowsOf(DeviceDrivers());
  return rows;
}

const ModuleRow* RowOfPage(std::span<const ModuleRow> table, int index) {
  return index >= 0 && size_t(index) < table.size() ? &table[size_t(index)] : nullptr;
}

}  // namespace qvr
