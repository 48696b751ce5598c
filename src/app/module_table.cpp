#include "app/module_table.h"

#include "devices/common/ui/device_page.h"
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
  return UpdateFirmware(context.link(), context.host(), context.catalogue(), module, chooser);
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

DevicePage* PageForWrite(ModuleContext& context, const DeviceModule* module) {
  return module ? PageOf(context, *module) : context.activeDevicePage();
}

int WriteConfigFileOp(ModuleContext& context, const DeviceModule* module, const std::string& path) {
  DevicePage* page = PageForWrite(context, module);
  return page ? page->WriteConfigFile(module, path) : 1;
}

int WriteDeviceOp(ModuleContext& context, const DeviceModule* module) {
  DevicePage* page = PageForWrite(context, module);
  return page ? page->WriteDevice(module) : 1;
}

constexpr ModuleRow kRows[kModuleCount] = {
    {&kDeviceModules[kPageQvrb], UpdateFirmwareOp, nullptr, nullptr, nullptr, nullptr, nullptr,
     ResetDeviceOp},
    {&kDeviceModules[kPageMux410], UpdateFirmwareOp, ReadConfigFileOp, WriteConfigFileOp,
     ReadDeviceOp, WriteDeviceOp, ResetToDefaultOp, ResetDeviceOp},
    {&kDeviceModules[kPageTpx520], UpdateFirmwareOp, ReadConfigFileOp, WriteConfigFileOp,
     ReadDeviceOp, WriteDeviceOp, ResetToDefaultOp, ResetDeviceOp},
};

}  // namespace

std::span<const ModuleRow> DeviceModuleTable() {
  return kRows;
}

const ModuleRow* RowOfPage(std::span<const ModuleRow> table, int index) {
  return index >= 0 && size_t(index) < table.size() ? &table[size_t(index)] : nullptr;
}

}  // namespace qvr
