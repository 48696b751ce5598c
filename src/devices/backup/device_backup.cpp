#include "devices/backup/device_backup.h"

#include <cerrno>
#include <memory>

#include "devices/backup/change_history.h"
#include "devices/backup/sha256.h"
#include "devices/common/ini_file.h"
#include "devices/drivers/device_drivers.h"
#include "i18n/added_texts.h"
#include "i18n/cp1251.h"
#include "i18n/save_failure_text.h"
#include "link/device_info.h"
#include "platform/file_read.h"
#include "platform/machine_name.h"
#include "platform/new_file.h"

namespace qvr {

namespace {

// Names tried within one second before giving up: far more than one unit is ever backed up.
constexpr int kMaxSameSecondBackups = 1000;

// Makes a backup folder where nothing stood: `base`, else `base-2`, `base-3`, ... A taken name
// (two backups within a second, a link planted there) is never entered. The name made, or "".
std::string NewBackupFolder(const GuardedFolder& unit, const std::string& base,
                            const std::string& suffix, SaveResult& saved) {
  for (int n = 1; n <= kMaxSameSecondBackups; ++n) {
    const std::string name = (n == 1 ? base : base + "-" + std::to_string(n)) + suffix;
    const int error = unit.MakeSubfolder(name);
    if (error == 0) return name;
    if (error != EEXIST) {
      saved = ErrnoFailure(error);
      return {};
    }
  }
  saved = ErrnoFailure(EEXIST);
  return {};
}

std::string FolderProblemText(const Catalogue& catalogue, const GuardedFolder::Opened& opened) {
  switch (opened.problem) {
    case FolderProblem::kLink:
      return catalogue.FormatText(Text(catalogue, AddedText::kBackupFolderIsLink),
                                  opened.at.c_str());
    case FolderProblem::kNotFolder:
      return catalogue.FormatText(Text(catalogue, AddedText::kBackupFolderNotFolder),
                                  opened.at.c_str());
    default:
      return SaveFailureText(catalogue,
                             ErrnoFailure(opened.systemError ? opened.systemError : ENOENT));
  }
}

// The backup's two files in its new folder, reached through `folder` (an access path).
template <typename Image>
SaveResult SaveBackupFiles(const ConfigDriver<Image>& driver, Image& image, RawImage& raw,
                           const std::string& folder, const std::string& fileName) {
  const std::string path = folder + "/" + fileName;
  // The folder is new, so the files are too; they are still taken exclusively, following no link.
  SaveResult saved = CreateNewFile(path);
  if (saved.ok()) saved = driver.writeFile(path, image);
  if (saved.ok()) {
    // NAME is written from the file's own name; the unit's name stands there whatever it is.
    IniFile ini;
    (void)ini.Load(path);
    ini.SetString("CONFIGFILE", "NAME", image.configNameText());
    saved = ini.SaveAtomically(path);
  }
  // The digest tells a whole backup from one still arriving through a shared folder.
  std::string bytes;
  bool tooLarge = false;
  if (saved.ok() && ReadRegularFile(path, kMaxIniFileSize, bytes, tooLarge))
    raw.configSha256 = Sha256Hex(bytes);
  const std::string rawPath = folder + "/" + kRawImageFileName;
  if (saved.ok()) saved = CreateNewFile(rawPath);
  if (saved.ok()) saved = SaveFile(rawPath, RawImageText(raw));
  return saved;
}

void SayPruning(const Catalogue& catalogue, const PruneOutcome& pruned, const std::string& unit,
                std::vector<std::string>& remarks) {
  if (pruned.folderNotOwned)
    remarks.push_back(
        catalogue.FormatText(Text(catalogue, AddedText::kPruneFolderNotOwned), unit.c_str()));
  for (const std::string& left : pruned.left)
    remarks.push_back(
        catalogue.FormatText(Text(catalogue, AddedText::kPruneBackupLeft), left.c_str()));
}

// Reads into a fresh image of the device's kind and saves it through the kind's driver.
template <typename Image>
BackupResult ReadAndSave(Link& link, Host& host, const Catalogue& catalogue,
                         const DeviceModule& module, const BackupRequest& request,
                         const ConfigDriver<Image>& driver) {
  BackupResult result;
  DeviceInfo info;
  result.link = ReadInfoBlock(link, module.deviceAddress, info);
  if (result.link != LinkOk) return result;
  auto image = std::make_unique<Image>();
  result.link = driver.readDevice(link, host, catalogue, module, *image);
  if (result.link != LinkOk) return result;
  image->setDescription(image->shownDescription());

  const uint32_t serial = info.serialNumber();
  const GuardedFolder::Opened unit =
      OpenBackupFolder(request.folder, {BackupUnitFolderName(module.name, serial)}, true);
  if (!unit.folder) {
    result.fileError = FolderProblemText(catalogue, unit);
    return result;
  }
  RawImage& raw = result.image;
  raw.device = module.name;
  raw.serial = serial;
  raw.identification = info.bytes;
  raw.sequence = NextBackupSequence(request.folder, module.name, serial);
  const std::time_t now = std::time(nullptr);
  raw.time = UtcTimeText(now, false);
  raw.machine = MachineId();
  raw.computer = MachineName();
  raw.afterFailedChange = LastChangeFailed(request.history, module.name, serial, request.simulated);
  raw.name = Cp1251ToUtf8(image->configNameText());
  CaptureUnitBytes(driver, *image, raw);

  SaveResult saved;
  const std::string tag = BackupMachineTag(raw.machine);
  const std::string folder = NewBackupFolder(*unit.folder, BackupFolderName(raw.sequence, now),
                                             tag.empty() ? tag : "_" + tag, saved);
  const std::string fileName = BackupConfigFileName(image->configNameText());
  if (!folder.empty())
    saved =
        SaveBackupFiles(driver, *image, raw, unit.folder->accessPath() + "/" + folder, fileName);
  if (!saved.ok()) {
    // Only what this backup made is taken away again.
    const std::vector<std::string> made{fileName, kRawImageFileName};
    if (!folder.empty()) (void)unit.folder->RemoveSubfolder(folder, made);
    result.fileError = SaveFailureText(catalogue, saved);
    return result;
  }
  result.path = unit.folder->path() + "/" + folder + "/" + fileName;
  const PruneOutcome pruned = PruneBackups(*unit.folder, request.keep, {folder, request.restoring});
  SayPruning(catalogue, pruned, unit.folder->path(), result.remarks);
  return result;
}

}  // namespace

std::string FileLacksText(const Catalogue& catalogue, const DeviceModule& module) {
  return WithConfigDriver(
      module, [&](const auto& driver) { return std::string(Text(catalogue, driver.fileLacks)); },
      [] { return std::string(); });
}

BackupResult BackupDeviceConfiguration(Link& link, Host& host, const Catalogue& catalogue,
                                       const DeviceModule& module, const BackupRequest& request) {
  // Without a home a relative folder would put the unit's data wherever the program was run.
  if (request.folder.empty()) {
    BackupResult refused;
    refused.fileError = Text(catalogue, AddedText::kNoDataFolder);
    return refused;
  }
  return WithConfigDriver(
      module,
      [&](const auto& driver) {
        return ReadAndSave(link, host, catalogue, module, request, driver);
      },
      [] {
        BackupResult none;
        none.link = LinkExchangeFailed;
        return none;
      });
}

}  // namespace qvr
