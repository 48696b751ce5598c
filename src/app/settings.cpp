#include "app/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtGlobal>
#include <cerrno>

#include "devices/common/ini_file.h"
#include "i18n/added_texts.h"
#include "i18n/save_failure_text.h"

namespace qvr {

namespace {
// A settings file is a few hundred bytes; one of this size is not kept as a copy.
constexpr qint64 kMaxSettingsCopy = 64 * 1024 * 1024;
}  // namespace

QString SettingsFilePath(const QString& overridePath, const QString& executablePath,
                         const QString& userConfigFolder,
                         const std::vector<std::string>& programFolders) {
  const QFileInfo executable(executablePath);
  return QString::fromStdString(
      SettingsFileIn(overridePath.toStdString(), executable.absolutePath().toStdString(),
                     (executable.completeBaseName() + ".ini").toStdString(),
                     userConfigFolder.toStdString(), programFolders));
}

WindowSettings ReadWindowSettings(const IniFile& ini, QSize screen, QSize window, int pageCount) {
  // Each term is halved by itself, truncating toward zero, as the positions always were.
  const int64_t defaultTop = screen.height() / 2 - window.height() / 2;
  const int64_t defaultLeft = screen.width() / 2 - window.width() / 2;
  WindowSettings settings;

  int64_t top = ini.GetInt(kMainSettings, "Top", defaultTop);
  if (top < 0 || top > screen.height() - window.height() / 2) top = defaultTop;
  settings.top = int(top);

  int64_t left = ini.GetInt(kMainSettings, "Left", defaultLeft);
  if (left < -(window.width() / 2) || left > screen.width() - window.width() / 2)
    left = defaultLeft;
  settings.left = int(left);

  int64_t page = ini.GetInt(kMainSettings, "ActivePage", 0);
  settings.activePage = page < 0 || page >= pageCount ? 0 : int(page);

  settings.packetLog = ini.GetInt(kMainSettings, "Log", 0) != 0;
  settings.debug = ini.GetInt(kMainSettings, "Debug", 0) != 0;
  settings.backup = ini.GetInt(kMainSettings, "Backup", 1) != 0;
  settings.language = ini.GetInt(kMainSettings, "Lang", 0) == 1 ? 1 : 0;
  settings.backupsKept = ReadBackupsKept(ini);
  return settings;
}

void WriteWindowSettings(IniFile& ini, const WindowSettings& settings) {
  ini.SetInt(kMainSettings, "Top", settings.top);
  ini.SetInt(kMainSettings, "Left", settings.left);
  ini.SetInt(kMainSettings, "ActivePage", settings.activePage);
  ini.SetInt(kMainSettings, "Lang", settings.language);
  ini.SetInt(kMainSettings, "Log", settings.packetLog ? 1 : 0);
  ini.SetInt(kMainSettings, "Debug", settings.debug ? 1 : 0);
  ini.SetInt(kMainSettings, "Backup", settings.backup ? 1 : 0);
  WriteBackupsKept(ini, settings.backupsKept);
}

SettingsStore::SettingsStore(QString path, std::function<void()> onOpenFailure,
                             std::function<void(const SaveResult&)> onSaveFailure)
    : path_(std::move(path)),
      onOpenFailure_(std::move(onOpenFailure)),
      onSaveFailure_(std::move(onSaveFailure)) {}

bool SettingsStore::Open(IniFile& ini) const {
  // A file that is not there yet is an empty settings file; one that is there but cannot be
  // read (a folder, no permission) is reported.
  QFileInfo file(path_);
  if (!file.exists() && !file.isSymLink()) return true;
  if (ini.Load(path_.toStdString())) return true;
  if (onOpenFailure_) onOpenFailure_();
  return false;
}

bool SettingsStore::Save(const IniFile& ini) const {
  QDir().mkpath(QFileInfo(path_).absolutePath());
  const SaveResult saved = SaveSettingsFile(path_.toStdString(), ini);
  if (saved.ok()) return true;
  Catalogue english;
  english.setLanguage(kEnglish);
  qWarning("Settings not saved to %s: %s", qPrintable(path_),
           SaveFailureText(english, saved).c_str());
  if (onSaveFailure_ && !saveFailureShown_) {
    saveFailureShown_ = true;
    onSaveFailure_(saved);
  }
  return false;
}

SaveResult SaveSettingsFile(const std::string& path, const IniFile& ini) {
  IniFile found;
  if (found.Load(path) && !found.loadedWhole()) {
    // The document holds only what could be read: the file as found goes to ".bak" first.
    QFile file(QString::fromStdString(path));
    if (file.size() > kMaxSettingsCopy) return ErrnoFailure(EFBIG);
    if (!file.open(QIODevice::ReadOnly)) return ErrnoFailure(EACCES);
    const QByteArray bytes = file.readAll();
    const SaveResult kept = SaveFile(path + ".bak", std::string_view(bytes.data(), bytes.size()));
    if (!kept.ok()) return kept;
  }
  return ini.SaveAtomically(path);
}

std::string SettingsNotSavedText(const Catalogue& catalogue, const QString& path,
                                 const SaveResult& result) {
  const std::string reason = SaveFailureText(catalogue, result);
  return Catalogue::FormatText(Text(catalogue, AddedText::kSettingsNotSaved),
                               path.toStdString().c_str(), reason.c_str());
}

bool SettingsStore::ReadText(const char* section, const std::string& key,
                             std::string& value) const {
  value.clear();
  IniFile ini;
  if (!Open(ini)) return false;
  value = ini.GetString(section, key.c_str(), "");
  return true;
}

void SettingsStore::WriteText(const char* section, const std::string& key,
                              const std::string& value) const {
  IniFile ini;
  if (!Open(ini)) return;
  if (value.empty()) return;
  ini.SetString(section, key.c_str(), value);
  Save(ini);
}

}  // namespace qvr
