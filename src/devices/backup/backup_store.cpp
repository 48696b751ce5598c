#include "devices/backup/backup_store.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <tuple>

#include "devices/backup/raw_image.h"
#include "devices/backup/sha256.h"
#include "devices/common/ini_file.h"
#include "editors/conversions.h"
#include "i18n/added_texts.h"
#include "i18n/catalogue.h"
#include "i18n/cp1251.h"
#include "platform/file_names.h"
#include "platform/file_read.h"
#include "platform/machine_name.h"
#include "platform/user_folders.h"

namespace qvr {

namespace {

namespace fs = std::filesystem;

constexpr const char* kFallbackFileName = "configuration.MUX";
// Enough of a computer's id to tell the computers of one workshop apart.
constexpr size_t kMachineTagLength = 12;

// The device names Windows keeps for itself, whatever the extension ("CON.MUX" is the console).
bool ReservedOnWindows(const std::string& name) {
  std::string upper;
  for (char c : name) upper += char(std::toupper(static_cast<unsigned char>(c)));
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
         upper[3] >= '1' && upper[3] <= '9';
}

bool EndsWithMux(const std::string& name) {
  return name.size() > 4 && (name.ends_with(".MUX") || name.ends_with(".mux"));
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "<device>-<serial>" as the device's name (which may hold dashes itself) and the serial.
bool SplitUnitFolder(const std::string& name, std::string& device, uint32_t& serial) {
  const size_t dash = name.rfind('-');
  if (dash == std::string::npos || dash == 0 || dash + 1 == name.size()) return false;
  const std::string digits = name.substr(dash + 1);
  if (!AllDigits(digits) || digits.size() > 10) return false;
  const unsigned long long value = std::stoull(digits);
  if (value > 0xFFFFFFFFull) return false;
  device = name.substr(0, dash);
  serial = uint32_t(value);
  return true;
}

// "20261207T103000Z", then "-2" and the like for a second backup within that second.
bool IsTimeName(std::string_view name) {
  if (name.size() < 16 || name[8] != 'T' || name[15] != 'Z') return false;
  if (!AllDigits(name.substr(0, 8)) || !AllDigits(name.substr(9, 6))) return false;
  return name.size() == 16 || (name[16] == '-' && AllDigits(name.substr(17)));
}

// A backup's folder name as its sequence (0 for one made before backups were numbered) and its
// time name, without the tag of the computer that made it; false for a name that is no backup's.
bool SplitBackupFolder(std::string name, uint64_t& sequence, std::string& timeName) {
  const size_t tag = name.rfind('_');
  if (tag != std::string::npos) {
    const std::string_view machine = std::string_view(name).substr(tag + 1);
    if (machine.empty() || !std::all_of(machine.begin(), machine.end(), [](char c) {
          return std::isalnum(static_cast<unsigned char>(c)) != 0;
        }))
      return false;
    name.resize(tag);
  }
  if (IsTimeName(name)) {
    sequence = 0;
    timeName = name;
    return true;
  }
  const size_t dash = name.find('-');
  if (dash == std::string::npos || dash < 6 || dash > 18 || !AllDigits(name.substr(0, dash)) ||
      !IsTimeName(name.substr(dash + 1)))
    return false;
  sequence = std::stoull(name.substr(0, dash));
  timeName = name.substr(dash + 1);
  return true;
}

// The configuration file among a backup's files: its one *.MUX.
std::string ConfigFileAmong(const std::vector<std::string>& files) {
  for (const std::string& file : files)
    if (EndsWithMux(file)) return file;
  return {};
}

// Whether a backup folder holds the program's own files and nothing else: one configuration
// and at most its raw image.
bool HoldsOnlyABackup(const GuardedFolder::Contents& contents) {
  if (!contents.real || contents.othersThere) return false;
  int configurations = 0;
  for (const std::string& file : contents.files) {
    if (EndsWithMux(file)) {
      ++configurations;
    } else if (file != kRawImageFileName) {
      return false;
    }
  }
  return configurations == 1;
}

bool Older(const BackupEntry& a, const BackupEntry& b) {
  return std::tie(a.sequence, a.timeName, a.folder) < std::tie(b.sequence, b.timeName, b.folder);
}

// Whether the configuration beside a raw image is the one the backup saved (an image from before
// the digest was kept has none to compare).
bool HoldsItsConfiguration(const RawImage& raw, const std::string& configPath) {
  if (raw.configSha256.empty()) return true;
  std::string bytes;
  bool tooLarge = false;
  return ReadRegularFile(configPath, kMaxIniFileSize, bytes, tooLarge) &&
         Sha256Hex(bytes) == raw.configSha256;
}

std::string ConfigNameOfFile(const std::string& fileName) {
  return Cp1251ToUtf8(ConfigNameFromPath(fileName));
}

// The unit's backups in its opened folder, oldest first, the first marked.
std::vector<BackupEntry> ListIn(const GuardedFolder& unit, const std::string& device,
                                uint32_t serial, std::vector<std::string>* skipped) {
  std::vector<BackupEntry> entries;
  for (const std::string& name : unit.Subfolders()) {
    BackupEntry entry;
    entry.device = device;
    entry.serial = serial;
    entry.folder = name;
    if (!SplitBackupFolder(name, entry.sequence, entry.timeName)) continue;
    const GuardedFolder::Contents contents = unit.ListSubfolder(name);
    const std::string config = ConfigFileAmong(contents.files);
    if (!contents.real || config.empty()) continue;
    const std::string shown = unit.path() + "/" + name + "/";
    entry.path = shown + config;
    entry.configName = ConfigNameOfFile(config);
    const bool hasRaw = std::find(contents.files.begin(), contents.files.end(),
                                  kRawImageFileName) != contents.files.end();
    const std::string inside = unit.accessPath() + "/" + name + "/";
    const std::optional<RawImage> raw =
        hasRaw ? ReadRawImage(inside + kRawImageFileName) : std::nullopt;
    // A numbered backup is whole only with its raw image and the configuration it was made with:
    // one still arriving from another computer through a shared folder is passed over.
    if ((entry.sequence > 0 || hasRaw) && (!raw || !HoldsItsConfiguration(*raw, inside + config))) {
      if (skipped) skipped->push_back(unit.path() + "/" + name);
      continue;
    }
    // A raw image of another unit (copied in by hand) is not this backup's.
    if (raw && raw->device == device && raw->serial == serial) {
      entry.rawPath = shown + kRawImageFileName;
      entry.sequence = std::max(entry.sequence, raw->sequence);
      entry.afterFailedChange = raw->afterFailedChange;
      entry.configName = raw->name;
      entry.machine = raw->machine;
    }
    entries.push_back(std::move(entry));
  }
  std::sort(entries.begin(), entries.end(), Older);
  if (!entries.empty()) entries.front().first = true;
  return entries;
}

std::vector<std::string> PathSteps(const std::string& relative) {
  std::vector<std::string> steps;
  std::string step;
  for (char c : relative + "/") {
    if (c != '/' && c != '\\') {
      step += c;
    } else if (!step.empty()) {
      steps.push_back(step);
      step.clear();
    }
  }
  return steps;
}

}  // namespace

std::string BackupUnitFolderName(const char* deviceName, uint32_t serial) {
  return std::string(deviceName) + "-" + std::to_string(serial);
}

std::string UtcTimeText(std::time_t when, bool compact) {
  using namespace std::chrono;
  const sys_seconds instant{seconds(when)};
  const sys_days day = floor<days>(instant);
  const year_month_day date{day};
  const hh_mm_ss time{instant - day};
  char stamp[32];
  std::snprintf(stamp, sizeof stamp,
                compact ? "%04d%02u%02uT%02d%02d%02dZ" : "%04d-%02u-%02uT%02d:%02d:%02dZ",
                int(date.year()), unsigned(date.month()), unsigned(date.day()),
                int(time.hours().count()), int(time.minutes().count()),
                int(time.seconds().count()));
  return stamp;
}

std::string BackupTimeName(std::time_t when) {
  return UtcTimeText(when, true);
}

std::string BackupConfigFileName(const std::string& configName) {
  if (configName.empty()) return kFallbackFileName;
  for (unsigned char c : configName)
    if (c < 0x20 || c == 0x7F ||
        std::string_view("/\\:*?\"<>|").find(char(c)) != std::string_view::npos)
      return kFallbackFileName;
  if (configName.back() == '.' || configName.back() == ' ' || configName.front() == ' ')
    return kFallbackFileName;
  if (ReservedOnWindows(configName)) return kFallbackFileName;
  const std::string fileName = Cp1251ToUtf8(configName) + ".MUX";
  // A byte with no letter (0x98) becomes a C1 control (UTF-8 C2 80..C2 9F), which no file name
  // may carry into a listing or a terminal.
  for (size_t i = 0; i + 1 < fileName.size(); ++i)
    if (static_cast<unsigned char>(fileName[i]) == 0xC2 &&
        static_cast<unsigned char>(fileName[i + 1]) < 0xA0)
      return kFallbackFileName;
  // The name is taken back from the file's name: only a name that survives that is used.
  if (ConfigNameFromPath(fileName) != configName) return kFallbackFileName;
  return fileName;
}

std::string BackupFolderName(uint64_t sequence, std::time_t when) {
  char number[24];
  std::snprintf(number, sizeof number, "%06llu", static_cast<unsigned long long>(sequence));
  return std::string(number) + "-" + BackupTimeName(when);
}

std::string BackupMachineTag(const std::string& machineId) {
  std::string tag;
  for (char c : machineId)
    if (std::isalnum(static_cast<unsigned char>(c)) && tag.size() < kMachineTagLength) tag += c;
  return tag;
}

std::string LocalTimeOfName(const std::string& timeName) {
  if (!IsTimeName(timeName)) return timeName;
  using namespace std::chrono;
  const auto number = [&](size_t at, size_t count) {
    return std::stoi(timeName.substr(at, count));
  };
  const sys_days day{year(number(0, 4)) / month(unsigned(number(4, 2))) / unsigned(number(6, 2))};
  const std::time_t when = system_clock::to_time_t(day + hours(number(9, 2)) +
                                                   minutes(number(11, 2)) + seconds(number(13, 2)));
  std::tm local{};
#ifdef _WIN32
  if (localtime_s(&local, &when) != 0) return timeName;
#else
  if (localtime_r(&when, &local) == nullptr) return timeName;
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text + timeName.substr(16);
}

std::string BackupNumberText(const Catalogue& catalogue, const BackupEntry& entry) {
  if (entry.sequence == 0) return Text(catalogue, AddedText::kBackupNoNumber);
  return catalogue.FormatText(Text(catalogue, AddedText::kBackupNumber),
                              static_cast<unsigned long>(entry.sequence));
}

GuardedFolder::Opened OpenBackupFolder(const std::string& root,
                                       const std::vector<std::string>& below, bool make) {
  // The user's data folder may be a link of their own; what lies inside it is not followed.
  const std::string data = UserDataFolder();
  std::string base = root;
  std::vector<std::string> steps;
  if (!data.empty() && root.size() > data.size() + 1 && root.starts_with(data) &&
      (root[data.size()] == '/' || root[data.size()] == '\\')) {
    base = data;
    steps = PathSteps(root.substr(data.size() + 1));
  }
  steps.insert(steps.end(), below.begin(), below.end());
  return GuardedFolder::Open(base, steps, make);
}

std::vector<BackupEntry> ListBackups(const std::string& root, const std::string& device,
                                     std::vector<std::string>* skipped) {
  std::vector<BackupEntry> entries;
  const GuardedFolder::Opened opened = OpenBackupFolder(root, {}, false);
  if (!opened.folder) return entries;
  for (const std::string& name : opened.folder->Subfolders()) {
    std::string unitDevice;
    uint32_t serial = 0;
    if (!SplitUnitFolder(name, unitDevice, serial)) continue;
    if (!device.empty() && unitDevice != device) continue;
    const std::vector<BackupEntry> unit =
        ListUnitBackups(root, unitDevice.c_str(), serial, skipped);
    entries.insert(entries.end(), unit.begin(), unit.end());
  }
  return entries;
}

std::vector<BackupEntry> ListUnitBackups(const std::string& root, const char* device,
                                         uint32_t serial, std::vector<std::string>* skipped) {
  const GuardedFolder::Opened unit =
      OpenBackupFolder(root, {BackupUnitFolderName(device, serial)}, false);
  if (!unit.folder) return {};
  return ListIn(*unit.folder, device, serial, skipped);
}

uint64_t NextBackupSequence(const std::string& root, const char* device, uint32_t serial) {
  uint64_t newest = 0;
  for (const BackupEntry& entry : ListUnitBackups(root, device, serial))
    newest = std::max(newest, entry.sequence);
  // A backup still arriving from another computer has its number already.
  const GuardedFolder::Opened unit =
      OpenBackupFolder(root, {BackupUnitFolderName(device, serial)}, false);
  if (unit.folder) {
    for (const std::string& name : unit.folder->Subfolders()) {
      uint64_t sequence = 0;
      std::string timeName;
      if (SplitBackupFolder(name, sequence, timeName)) newest = std::max(newest, sequence);
    }
  }
  return newest + 1;
}

const BackupEntry* LatestSoundBackup(const std::vector<BackupEntry>& unitBackups) {
  for (auto entry = unitBackups.rbegin(); entry != unitBackups.rend(); ++entry)
    if (!entry->afterFailedChange) return &*entry;
  return nullptr;
}

std::unique_ptr<BackupEntry> BackupAt(const std::string& root, const std::string& path) {
  const fs::path file = NativePath(path).lexically_normal();
  const std::string folder = Utf8Path(file.parent_path().filename());
  const std::string unitName = Utf8Path(file.parent_path().parent_path().filename());
  std::string device;
  uint32_t serial = 0;
  if (!SplitUnitFolder(unitName, device, serial)) return nullptr;
  std::error_code ec;
  for (const BackupEntry& entry : ListUnitBackups(root, device.c_str(), serial)) {
    if (entry.folder != folder) continue;
    const fs::path listed = NativePath(entry.path).parent_path() / file.filename();
    if (fs::equivalent(listed, file, ec)) return std::make_unique<BackupEntry>(entry);
  }
  // A backup that is not whole (its raw image gone) still belongs to the unit whose folder
  // holds it.
  uint64_t sequence = 0;
  std::string timeName;
  if (!SplitBackupFolder(folder, sequence, timeName) || !fs::is_regular_file(file, ec))
    return nullptr;
  auto entry = std::make_unique<BackupEntry>();
  entry->device = device;
  entry->serial = serial;
  entry->folder = folder;
  entry->timeName = timeName;
  entry->sequence = sequence;
  entry->path = path;
  return entry;
}

PruneOutcome PruneBackups(const GuardedFolder& unitFolder, int keep,
                          const std::vector<std::string>& kept) {
  PruneOutcome outcome;
  std::string device;
  uint32_t serial = 0;
  if (!SplitUnitFolder(Utf8Path(NativePath(unitFolder.path()).filename()), device, serial))
    return outcome;
  if (!unitFolder.ownedByUser()) {
    outcome.folderNotOwned = true;
    return outcome;
  }
  const std::vector<BackupEntry> entries = ListIn(unitFolder, device, serial, nullptr);
  // Newest first; the first backup and the ones asked for always stay. Each computer prunes
  // only the backups it made (and those made before backups named their computer).
  const std::string machine = MachineId();
  int others = 0;
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    if (entry->first || !(entry->machine.empty() || entry->machine == machine)) continue;
    if (++others <= std::max(keep, 1)) continue;
    if (std::find(kept.begin(), kept.end(), entry->folder) != kept.end()) continue;
    const GuardedFolder::Contents contents = unitFolder.ListSubfolder(entry->folder);
    if (!contents.ownedByUser || !HoldsOnlyABackup(contents) ||
        !unitFolder.RemoveSubfolder(entry->folder, contents.files)) {
      outcome.left.push_back(unitFolder.path() + "/" + entry->folder);
      continue;
    }
    ++outcome.removed;
  }
  return outcome;
}

}  // namespace qvr
