#pragma once
// The program's settings file: where it lives, the window settings read at start-up and
// written at exit, and the remembered folders of the file dialogs.
#include <QSize>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "devices/backup/backups_kept.h"
#include "platform/file_save.h"
#include "platform/settings_location.h"

namespace qvr {

class Catalogue;
class IniFile;

inline constexpr const char* kMainSettings = "MainSettings";
inline constexpr const char* kDirectoryUpdate = "DirectoryUpdate";
inline constexpr const char* kDirectoryConfig = "DirectoryConfig";

// The settings file by SettingsFileIn's rules, named for the executable with ".ini".
QString SettingsFilePath(const QString& overridePath, const QString& executablePath,
                         const QString& userConfigFolder,
                         const std::vector<std::string>& programFolders = SystemProgramFolders());

// The window state kept in "MainSettings".
struct WindowSettings {
  int top = 0;
  int left = 0;
  int activePage = 0;
  int language = 0;
  bool packetLog = false;
  bool debug = false;
  bool backup = true;  // save a device's configuration before a write or reset to defaults
  int backupsKept = kDefaultBackupsKept;  // the newest of each unit; qvrctl reads it too
};

// Reads "MainSettings" with the window's defaults and range rules: `screen` is the primary
// screen's size, `window` the window's outer size; out-of-range values give the defaults.
WindowSettings ReadWindowSettings(const IniFile& ini, QSize screen, QSize window, int pageCount);
void WriteWindowSettings(IniFile& ini, const WindowSettings& settings);

// Saves `ini` as the settings file at `path`. A file there that could be read only in part
// (too large, binary bytes, a NUL) is first kept whole as `path` + ".bak", so that nothing
// the document lacks is lost.
SaveResult SaveSettingsFile(const std::string& path, const IniFile& ini);

// "The program settings were not saved to ..." with the reason, in the catalogue's language.
std::string SettingsNotSavedText(const Catalogue& catalogue, const QString& path,
                                 const SaveResult& result);

// Opens, reads and writes the settings file. Every use opens the file afresh; a file that
// exists but cannot be read is reported through `onOpenFailure` and the use is skipped. The
// first failed save of the run is reported through `onSaveFailure`.
class SettingsStore {
 public:
  SettingsStore(QString path, std::function<void()> onOpenFailure,
                std::function<void(const SaveResult&)> onSaveFailure = {});

  const QString& path() const { return path_; }
  // Loads the file into `ini` (a missing file gives an empty document). False after reporting.
  bool Open(IniFile& ini) const;
  // Saves `ini` over the file without ever leaving it half written. False when it failed.
  bool Save(const IniFile& ini) const;

  // Reads one text, "" when the key is missing or the file cannot be opened (then false).
  bool ReadText(const char* section, const std::string& key, std::string& value) const;
  // Writes one text at once; an empty value writes nothing.
  void WriteText(const char* section, const std::string& key, const std::string& value) const;

 private:
  QString path_;
  std::function<void()> onOpenFailure_;
  std::function<void(const SaveResult&)> onSaveFailure_;
  mutable bool saveFailureShown_ = false;
};

}  // namespace qvr
