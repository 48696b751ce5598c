#include "devices/backup/device_backup.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "devices/common/ini_file.h"
#include "devices/drivers/device_drivers.h"
#include "i18n/added_texts.h"
#include "i18n/save_failure_text.h"
#include "link/device_info.h"
#include "platform/file_names.h"
#include "platform/new_file.h"
#include "platform/user_folders.h"

namespace qvr {

namespace {

// Names tried within one second before giving up: far more than one unit is ever backed up.
constexpr int kMaxSameSecondBackups = 1000;

// Makes a folder where nothing stood: `base`, else `base-2`, `base-3`, ... Two backups of one
// unit within a second, or anything already at the name (a link too), take the next free one;
// a taken name is never entered. `made` is the folder made, empty when none was.
SaveResult NewBackupFolder(const std::string& base, std::string& made) {
  std::error_code ec;
  for (int n = 1; n <= kMaxSameSecondBackups; ++n) {
    const std::string name = n == 1 ? base : base + "-" + std::to_string(n);
    if (std::filesystem::create_directory(NativePath(name), ec)) {
      made = name;
      return {};
    }
    if (ec && ec != std::errc::file_exists) return ErrnoFailure(ec.value());
  }
  return ErrnoFailure(EEXIST);
}

// Reads into a fresh image of the device's kind and saves it through the kind's driver.
template <typename Image>
BackupResult ReadAndSave(Link& link, Host& host, const Catalogue& catalogue,
                         const DeviceModule& module, const std::string& folder, int keep,
                         const ConfigDriver<Image>& driver) {
  BackupResult result;
  DeviceInfo info;
  result.link = ReadInfoBlock(link, module.deviceAddress, info);
  if (result.link != LinkOk) return result;
  auto image = std::make_unique<Image>();
  result.link = driver.readDevice(link, host, catalogue, module, *image);
  if (result.link != LinkOk) return result;
  image->setDescription(image->shownDescription());
  const std::string unitFolder =
      folder + "/" + BackupUnitFolderName(module.name, info.serialNumber());
  std::error_code ec;
  std::filesystem::create_directories(NativePath(unitFolder), ec);
  std::string backupFolder;
  SaveResult saved =
      NewBackupFolder(unitFolder + "/" + BackupTimeName(std::time(nullptr)), backupFolder);
  const std::string name = image->configNameText();
  const std::string path = backupFolder + "/" + BackupConfigFileName(name);
  // The folder is new, so the file is too; it is still taken exclusively, following no link.
  if (saved.ok()) saved = CreateNewFile(path);
  if (saved.ok()) saved = driver.writeFile(path, *image);
  if (saved.ok()) {
    // NAME is written from the file's own name; the unit's name stands there whatever it is.
    IniFile ini;
    (void)ini.Load(path);
    ini.SetString("CONFIGFILE", "NAME", name);
    saved = ini.SaveAtomically(path);
  }
  if (!saved.ok() && !backupFolder.empty()) {
    std::filesystem::remove(NativePath(path), ec);
    std::filesystem::remove(NativePath(backupFolder), ec);
  }
  if (!saved.ok()) {
    result.fileError = SaveFailureText(catalogue, saved);
    return result;
  }
  result.path = path;
  PruneBackups(unitFolder, keep);
  return result;
}

}  // namespace

std::string DefaultBackupFolder(bool simulated) {
  const std::string data = UserDataFolder();
  if (data.empty()) return {};
  return data + (simulated ? "/qvr-service/backups/simulated" : "/qvr-service/backups");
}

BackupResult BackupDeviceConfiguration(Link& link, Host& host, const Catalogue& catalogue,
                                       const DeviceModule& module, const std::string& folder,
                                       int keep) {
  // Without a home a relative folder would put the unit's data wherever the program was run.
  if (folder.empty()) return {LinkOk, {}, Text(catalogue, AddedText::kNoDataFolder)};
  return WithConfigDriver(
      module,
      [&](const auto& driver) {
        return ReadAndSave(link, host, catalogue, module, folder, keep, driver);
      },
      [] {
        return BackupResult{LinkExchangeFailed, {}, {}};
      });
}

}  // namespace qvr
