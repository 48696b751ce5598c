#include "devices/backup/backup_store.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "editors/conversions.h"
#include "i18n/cp1251.h"
#include "platform/file_names.h"

namespace qvr {

namespace {

namespace fs = std::filesystem;

constexpr const char* kFallbackFileName = "configuration.MUX";

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

// "<device>-<serial>" as the device's name (which may hold dashes itself) and the serial.
bool SplitUnitFolder(const std::string& name, std::string& device, uint32_t& serial) {
  const size_t dash = name.rfind('-');
  if (dash == std::string::npos || dash == 0 || dash + 1 == name.size()) return false;
  const std::string digits = name.substr(dash + 1);
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
      digits.size() > 10)
    return false;
  const unsigned long long value = std::stoull(digits);
  if (value > 0xFFFFFFFFull) return false;
  device = name.substr(0, dash);
  serial = uint32_t(value);
  return true;
}

// The configuration file in a backup's folder: the one *.MUX there.
std::string ConfigFileIn(const fs::path& folder) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = Utf8Path(entry.path().filename());
    // A link in a backup's folder is not the backup, wherever it points.
    if (EndsWithMux(name) && entry.is_regular_file(ec) && !entry.is_symlink(ec))
      return Utf8Path(entry.path());
  }
  return {};
}

std::vector<fs::path> Subfolders(const fs::path& folder) {
  std::vector<fs::path> folders;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    if (entry.is_directory(ec) && !entry.is_symlink(ec)) folders.push_back(entry.path());
  std::sort(folders.begin(), folders.end());
  return folders;
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
  // The name is taken back from the file's name: only a name that survives that is used.
  if (ConfigNameFromPath(fileName) != configName) return kFallbackFileName;
  return fileName;
}

std::vector<BackupEntry> ListBackups(const std::string& root, const std::string& device) {
  std::vector<BackupEntry> entries;
  for (const fs::path& unit : Subfolders(NativePath(root))) {
    BackupEntry entry;
    if (!SplitUnitFolder(Utf8Path(unit.filename()), entry.device, entry.serial)) continue;
    if (!device.empty() && entry.device != device) continue;
    for (const fs::path& backup : Subfolders(unit)) {
      entry.time = Utf8Path(backup.filename());
      entry.path = ConfigFileIn(backup);
      if (!entry.path.empty()) entries.push_back(entry);
    }
  }
  return entries;
}

void PruneBackups(const std::string& unitFolder, int keep) {
  std::vector<fs::path> backups = Subfolders(NativePath(unitFolder));
  std::error_code ec;
  for (size_t i = 0; i + size_t(std::max(keep, 1)) < backups.size(); ++i)
    fs::remove_all(backups[i], ec);
}

}  // namespace qvr
