#include "devices/backup/device_backup.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "devices/mux410/config_file.h"
#include "devices/mux410/transfer.h"
#include "devices/tpx520/config_file.h"
#include "devices/tpx520/transfer.h"
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

// Reads into a fresh image of the device's kind and saves it; `Read` and `Write` are the
// device module's own transfer and file functions.
template <typename Image, typename Read, typename Write>
BackupResult ReadAndSave(Link& link, const Catalogue& catalogue, const DeviceModule& module,
                         const std::string& folder, Read read, Write write) {
  BackupResult result;
  DeviceInfo info;
  result.link = ReadInfoBlock(link, module.deviceAddress, info);
  if (result.link != LinkOk) return result;
  auto image = std::make_unique<Image>();
  result.link = read(link, catalogue, module, *image);
  if (result.link != LinkOk) return result;
  image->setDescription(image->shownDescription());
  std::error_code ec;
  std::filesystem::create_directories(NativePath(folder), ec);
  const std::string name = BackupFileName(module.name, info.serialNumber(), std::time(nullptr));
  // The name is taken exclusively first: two backups of one unit within a second, or anything
  // (a link, too) already at the name, make it take the next free one.
  std::string path = folder + "/" + name;
  SaveResult saved = CreateNewFile(path);
  for (int n = 2; NameTaken(saved) && n <= kMaxSameSecondBackups; ++n) {
    path = folder + "/" + name.substr(0, name.size() - 4) + "-" + std::to_string(n) + ".MUX";
    saved = CreateNewFile(path);
  }
  if (saved.ok()) {
    saved = write(path, *image);
    if (!saved.ok()) std::filesystem::remove(NativePath(path), ec);
  }
  if (!saved.ok()) {
    result.fileError = SaveFailureText(catalogue, saved);
    return result;
  }
  result.path = path;
  return result;
}

}  // namespace

std::string BackupFileName(const char* deviceName, uint32_t serial, std::time_t when) {
  using namespace std::chrono;
  const sys_seconds instant{seconds(when)};
  const sys_days day = floor<days>(instant);
  const year_month_day date{day};
  const hh_mm_ss time{instant - day};
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02u%02uT%02d%02d%02dZ", int(date.year()),
                unsigned(date.month()), unsigned(date.day()), int(time.hours().count()),
                int(time.minutes().count()), int(time.seconds().count()));
  return std::string(deviceName) + "-" + std::to_string(serial) + "-" + stamp + ".MUX";
}

std::string DefaultBackupFolder() {
  const std::string data = UserDataFolder();
  return data.empty() ? std::string() : data + "/qvr-service/backups";
}

BackupResult BackupDeviceConfiguration(Link& link, const Catalogue& catalogue,
                                       const DeviceModule& module, const std::string& folder) {
  // Without a home a relative folder would put the unit's data wherever the program was run.
  if (folder.empty()) return {LinkOk, {}, Text(catalogue, AddedText::kNoDataFolder)};
  if (&module == &kDeviceModules[kPageMux410])
    return ReadAndSave<mux410::ConfigImage>(link, catalogue, module, folder,
                                            mux410::ReadConfiguration, mux410::WriteConfigFile);
  if (&module == &kDeviceModules[kPageTpx520])
    return ReadAndSave<tpx520::ConfigImage>(link, catalogue, module, folder,
                                            tpx520::ReadConfiguration, tpx520::WriteConfigFile);
  return {LinkExchangeFailed, {}, {}};
}

}  // namespace qvr
