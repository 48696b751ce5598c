#include "cli/shared_settings.h"

#include <filesystem>

#include "cli/terminal_text.h"
#include "devices/backup/backups_kept.h"
#include "devices/backup/data_folder.h"
#include "devices/common/ini_file.h"
#include "i18n/added_texts.h"
#include "platform/file_names.h"
#include "platform/settings_location.h"

namespace qvr::cli {

namespace {

// The window's executable's name with ".ini": its file in a portable copy.
constexpr const char* kWindowSettingsFileName = "qvr-service.ini";

// False only for a file that is there and cannot be read (a folder, no permission); one not
// there yet is an empty settings file, as the window takes it.
bool LoadSettingsFile(const std::string& path, IniFile& ini) {
  std::error_code error;
  const auto found = std::filesystem::symlink_status(NativePath(path), error);
  if (found.type() == std::filesystem::file_type::not_found) return true;
  return ini.Load(path);
}

}  // namespace

std::string WindowSettingsFile(const std::string& givenPath) {
  // The window's executable sits beside qvrctl: a portable copy keeps its settings there.
  return SettingsFileIn(givenPath, ExecutableFolder(), kWindowSettingsFileName,
                        UserSettingsFolder());
}

SharedSettings ReadSharedSettings(const std::string& givenPath, bool forKeeping, Language language,
                                  std::ostream& err) {
  const std::string path = WindowSettingsFile(givenPath);
  IniFile ini;
  if (LoadSettingsFile(path, ini)) return {ReadBackupsKept(ini), ReadDataFolder(ini, path)};
  // The command goes on: a setting is no reason to leave a unit unchanged, but whoever set it
  // learns why it did not count.
  const std::string said =
      forKeeping ? Catalogue::FormatText(TextIn(language, AddedText::kSharedSettingsUnread),
                                         path.c_str(), kDefaultBackupsKept)
                 : Catalogue::FormatText(TextIn(language, AddedText::kSharedSettingsUnreadData),
                                         path.c_str(), DataFolderOf({}).c_str());
  err << TerminalSafe(said) << '\n';
  return {kDefaultBackupsKept, {}};
}

}  // namespace qvr::cli
