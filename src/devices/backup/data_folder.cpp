#include "devices/backup/data_folder.h"

#include <filesystem>

#include "devices/common/ini_file.h"
#include "platform/file_names.h"
#include "platform/user_folders.h"

namespace qvr {

namespace {

constexpr const char* kSection = "MainSettings";
constexpr const char* kKey = "DataFolder";

// `path` against `base`, cleaned; as it stands when the system cannot tell.
std::string AbsoluteFrom(const std::filesystem::path& base, const std::string& path) {
  std::filesystem::path native = NativePath(path);
  if (native.is_relative() && !base.empty()) native = base / native;
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(native, error).lexically_normal();
  if (error) return path;
  // "DIR/" names DIR: the folders below it are joined with a separator of their own.
  if (!absolute.has_filename() && absolute != absolute.root_path())
    absolute = absolute.parent_path();
  return Utf8Path(absolute);
}

}  // namespace

std::string DataFolderOf(const std::string& chosen) {
  if (!chosen.empty()) return AbsoluteFrom({}, chosen);
  const std::string user = UserDataFolder();
  return user.empty() ? std::string() : user + "/qvr-service";
}

std::string ReadDataFolder(const IniFile& ini, const std::string& settingsFile) {
  const std::string folder = ini.GetString(kSection, kKey);
  if (folder.empty()) return {};
  return AbsoluteFrom(NativePath(settingsFile).parent_path(), folder);
}

std::string BackupFolderIn(const std::string& dataFolder, bool simulated) {
  if (dataFolder.empty()) return {};
  return dataFolder + (simulated ? "/backups/simulated" : "/backups");
}

}  // namespace qvr
