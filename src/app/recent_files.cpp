#include "app/recent_files.h"

#include <algorithm>

#include "app/settings.h"
#include "devices/common/ini_file.h"

namespace qvr {
namespace {

constexpr const char* kRecentSection = "RecentFiles";

std::string KeyOf(const DeviceModule& module, int index) {
  return std::string(module.name) + " " + std::to_string(index + 1);
}

std::vector<std::string> ListIn(const IniFile& ini, const DeviceModule& module) {
  std::vector<std::string> files;
  for (int i = 0; i < kRecentFileCount; ++i) {
    std::string path = ini.GetString(kRecentSection, KeyOf(module, i).c_str(), "");
    if (!path.empty()) files.push_back(std::move(path));
  }
  return files;
}

}  // namespace

std::vector<std::string> RecentFiles(const SettingsStore& settings, const DeviceModule& module) {
  IniFile ini;
  if (!settings.Open(ini)) return {};
  return ListIn(ini, module);
}

void AddRecentFile(const SettingsStore& settings, const DeviceModule& module,
                   const std::string& path) {
  if (path.empty()) return;
  IniFile ini;
  if (!settings.Open(ini)) return;
  std::vector<std::string> files = ListIn(ini, module);
  files.erase(std::remove(files.begin(), files.end(), path), files.end());
  files.insert(files.begin(), path);
  files.resize(std::min<size_t>(files.size(), kRecentFileCount));
  // Every slot is written, so that a shorter list leaves no stale entry behind.
  for (int i = 0; i < kRecentFileCount; ++i) {
    ini.SetString(kRecentSection, KeyOf(module, i).c_str(),
                  size_t(i) < files.size() ? files[size_t(i)] : std::string());
  }
  settings.Save(ini);
}

}  // namespace qvr
