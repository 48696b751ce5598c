#include "app/module_table.h"

#include "devices/common/device_commands.h"
#include "update/update_procedure.h"

namespace qvr {
namespace {

TransferResult UpdateFirmwareOp(ModuleContext& context, const DeviceModule& module) {
  UpdateFileChooser chooser{
      [&] { return context.ChooseUpdateFile(module); },
      [&](const std::string& path) { context.RememberUpdateFile(module, path); },
      [&](const std::string& path, const std::vector<uint8_t>& bytes) {
        context.UpdateFileLoaded(path, bytes);
      }};
  const UpdateOutcome outcome =
      UpdateFirmware(context.link(), context.host(), context.catalogue(), module, chooser);
  if (outcome == UpdateOutcome::kNotConfirmed) context.UpdateNotConfirmed();
  // Every other outcome has shown itself.
  return outcome == UpdateOutcome::kUpdated ? LinkOk : LinkStoppedAndShown;
}

PageOutcome ReadConfigFileOp(ModuleContext& context, const DeviceModule& module,
                             const std::string& path) {
  DevicePage* page = context.devicePageOf(module);
  return page ? page->ReadConfigFile(module, path) : PageOutcome::kRefused;
}

TransferResult ReadDeviceOp(ModuleContext& context, const DeviceModule& module) {
  DevicePage* page = context.devicePageOf(module);
  return page ? page->ReadDevice(module) : TransferResult(LinkExchangeFailed);
}

TransferResult ResetToDefaultOp(ModuleContext& context, const DeviceModule& module) {
  return ResetToDefault(context.link(), context.host(), context.catalogue(), module,
                        [&] { return context.BackupBeforeChange(module); });
}

TransferResult ResetDeviceOp(ModuleContext& context, const DeviceModule& module) {
  return ResetDevice(context.link(), module);
}

PageOutcome CheckForFileOp(ModuleContext& context) {
  DevicePage* page = context.activeDevicePage();
  return page ? page->CheckForFile() : PageOutcome::kRefused;
}

PageOutcome CheckForDeviceOp(ModuleContext& context) {
  DevicePage* page = context.activeDevicePage();
  return page ? page->CheckForDevice() : PageOutcome::kRefused;
}

PageOutcome WriteConfigFileOp(ModuleContext& context, const DeviceModule& module,
                              const std::string& path) {
  DevicePage* page = context.devicePageOf(module);
  return page ? page->WriteConfigFile(module, path) : PageOutcome::kRefused;
}

TransferResult WriteDeviceOp(ModuleContext& context, const DeviceModule& module) {
  DevicePage* page = context.devicePageOf(module);
  return page ? page->WriteDevice(module) : TransferResult(LinkExchangeFailed);
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

}  // namespace

std::vector<ModuleRow> ModuleTableOf(std::span<const DeviceDriver> drivers) {
  std::vector<ModuleRow> rows;
  for (const DeviceDriver& driver : drivers) rows.push_back(RowOf(driver));
  return rows;
}

const ModuleRow* RowOfPage(std::span<const ModuleRow> table, int index) {
  return index >= 0 && size_t(index) < table.size() ? &table[size_t(index)] : nullptr;
}

}  // namespace qvr
