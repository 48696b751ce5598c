#include "devices/backup/device_backup.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "devices/common/ini_file.h"
#include "devices/mux410/config_file.h"
#include "devices/mux410/transfer.h"
#include "devices/tpx520/config_file.h"
#include "devices/tpx520/transfer.h"
#include "i18n/save_failure_text.h"
#include "link/device_info.h"
#include "platform/file_names.h"
#include "platform/user_folders.h"

namespace qvr {

namespace {

// Reads into a fresh image of the device's kind and saves it; `Read` and `Write` are the
// device module's own transfer and file functions.
template <typename Image, typename Read, typename Write>
BackupResult ReadAndSave(Link& link, const Catalogue& catalogue, const DeviceModule& module,
                         const std::string& folder, int keep, Read read, Write write) {
  BackupResult result;
  DeviceInfo info;
  result.link = ReadInfoBlock(link, module.deviceAddress, info);
  if (result.link != LinkOk) return result;
  auto image = std::make_unique<Image>();
  result.link = read(link, catalogue, module, *image);
  if (result.link != LinkOk) return result;
  image->setDescription(image->shownDescription());
  const std::string unitFolder =
      folder + "/" + BackupUnitFolderName(module.name, info.serialNumber());
  const std::string time = BackupTimeName(std::time(nullptr));
  // Two backups of one unit within a second must not replace each other.
  std::error_code ec;
  std::string backupFolder = unitFolder + "/" + time;
  for (int n = 2; std::filesystem::exists(NativePath(backupFolder), ec); ++n)
    backupFolder = unitFolder + "/" + time + "-" + std::to_string(n);
  std::filesystem::create_directories(NativePath(backupFolder), ec);
  const std::string name = image->configNameText();
  const std::string path = backupFolder + "/" + BackupConfigFileName(name);
  SaveResult saved = write(path, *image);
  if (saved.ok()) {
    // NAME is written from the file's own name; the unit's name stands there whatever it is.
    IniFile ini;
    (void)ini.Load(path);
    ini.SetString("CONFIGFILE", "NAME", name);
    saved = ini.SaveAtomically(path);
  }
  if (!saved.ok()) {
    result.fileError = ec ? ec.message() : SaveFailureText(catalogue, saved);
    return result;
  }
  result.path = path;
  PruneBackups(unitFolder, keep);
  return result;
}

}  // namespace

std::string DefaultBackupFolder(bool simulated) {
  return UserDataFolder() + (simulated ? "/qvr-service/backups/simulated" : "/qvr-service/backups");
}

BackupResult BackupDeviceConfiguration(Link& link, const Catalogue& catalogue,
                                       const DeviceModule& module, const std::string& folder,
                                       int keep) {
  if (&module == &kDeviceModules[kPageMux410])
    return ReadAndSave<mux410::ConfigImage>(link, catalogue, module, folder, keep,
                                            mux410::ReadConfiguration, mux410::WriteConfigFile);
  if (&module == &kDeviceModules[kPageTpx520])
    return ReadAndSave<tpx520::ConfigImage>(link, catalogue, module, folder, keep,
                                            tpx520::ReadConfiguration, tpx520::WriteConfigFile);
  return {LinkExchangeFailed, {}, {}};
}

}  // namespace qvr
