// Start-up from the settings file and what the shut-down writes back.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStandardPaths>
#include <QTabWidget>
#include <cstdlib>
#include <optional>
#include <random>

#include "app/settings.h"
#include "devices/common/ini_file.h"
#include "platform/program_folder.h"
#include "platform/settings_location.h"
#include "shell_test_support.h"
#include "support/portable.h"

namespace qvr::test {
namespace {

QSize Screen() {
  return QGuiApplication::primaryScreen()->geometry().size();
}

struct Centre {
  int top;
  int left;
};
Centre CentreOf(const MainWindow& window) {
  QSize w = window.frameGeometry().size();
  return {Screen().height() / 2 - w.height() / 2, Screen().width() / 2 - w.width() / 2};
}

std::unique_ptr<IniFile> LoadIni(const QString& path) {
  auto ini = std::make_unique<IniFile>();
  ini->Load(path.toStdString());
  return ini;
}

TEST(StartUp, WithoutSettingsFileOpensCentredOnMonitoringInRussianAndSavesAllKeysAtExit) {
  ShellFixture shell;
  MainWindow& window = shell.Open();

  Centre centre = CentreOf(window);
  EXPECT_EQ(window.pos(), QPoint(centre.left, centre.top));
  EXPECT_EQ(window.activePage(), 0);
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Сервисная программа. Версия 1.14"));
  EXPECT_TRUE(shell.Find<QAction>("MenuItemLanguageRussianx")->isChecked());
  EXPECT_FALSE(shell.Find<QAction>("MenuItemLanguageEnglishx")->isChecked());
  EXPECT_FALSE(shell.Find<QAction>("MenuItemDebug")->isVisible());
  EXPECT_FALSE(shell.Find<QAction>("MenuItemLog")->isVisible());
  EXPECT_TRUE(shell.mux->debugButton->isHidden());
  EXPECT_TRUE(shell.boxes.seen.empty());
  EXPECT_EQ(shell.mux->calls.front(), "Before");  // the language switch ran before InitPage
  EXPECT_EQ(shell.mux->calls.back(), "InitPage");

  window.close();
  auto saved = LoadIni(shell.settingsPath);
  EXPECT_EQ(saved->GetInt("MainSettings", "Top", -99), centre.top);
  EXPECT_EQ(saved->GetInt("MainSettings", "Left", -99), centre.left);
  EXPECT_EQ(saved->GetInt("MainSettings", "ActivePage", -99), 0);
  EXPECT_EQ(saved->GetInt("MainSettings", "Lang", -99), 0);
  EXPECT_EQ(saved->GetInt("MainSettings", "Log", -99), 0);
  EXPECT_EQ(saved->GetInt("MainSettings", "Debug", -99), 0);
  EXPECT_EQ(saved->GetInt("MainSettings", "BackupsKept", -99), 20);
}

TEST(StartUp, StoredEnglishDebugAndPageAreApplied) {
  ShellFixture shell;
  shell.WriteSettings(
      "[MainSettings]\r\nTop=10\r\nLeft=20\r\nActivePage=2\r\nLang=1\r\n"
      "Log=5\r\nDebug=1\r\n");
  MainWindow& window = shell.Open();

  EXPECT_EQ(window.pos(), QPoint(20, 10));
  EXPECT_EQ(window.activePage(), 2);
  EXPECT_EQ(window.windowTitle(), "Service program. Version 1.14");
  EXPECT_TRUE(shell.Find<QAction>("MenuItemLanguageEnglishx")->isChecked());
  EXPECT_FALSE(shell.Find<QAction>("MenuItemLanguageRussianx")->isChecked());
  EXPECT_EQ(shell.Find<QMenu>("MenuItemLanguage")->title(), QString::fromUtf8("Language/Язык"));
  EXPECT_TRUE(shell.Find<QAction>("MenuItemLog")->isChecked());
  EXPECT_TRUE(shell.Find<QAction>("MenuItemDebug")->isVisible());
  EXPECT_TRUE(shell.Find<QAction>("MenuItemLog")->isVisible());
  EXPECT_FALSE(shell.mux->debugButton->isHidden());
  EXPECT_FALSE(shell.tpx->debugButton->isHidden());
}

TEST(StartUp, LeavingDebugModeHidesTheDebugItemAndIsRemembered) {
  ShellFixture shell;
  shell.WriteSettings("[MainSettings]\r\nDebug=1\r\n");
  MainWindow& window = shell.Open();
  QAction* debug = shell.Find<QAction>("MenuItemDebug");

  debug->trigger();

  EXPECT_FALSE(debug->isVisible());
  EXPECT_FALSE(shell.Find<QAction>("MenuItemLog")->isVisible());
  EXPECT_TRUE(shell.mux->debugButton->isHidden());
  window.close();
  EXPECT_EQ(LoadIni(shell.settingsPath)->GetInt("MainSettings", "Debug", -99), 0);
}

TEST(StartUp, OutOfRangeValuesGiveTheDefaultsAndBoundsAreInclusive) {
  const QSize screen = Screen();
  const int w = 784, h = 550;  // the window has no frame on the offscreen platform
  const int centreTop = screen.height() / 2 - h / 2, centreLeft = screen.width() / 2 - w / 2;
  struct Case {
    QByteArray settings;
    QPoint position;
    int page;
    Language language = kRussian;
  };
  const Case cases[] = {
      {"Top=-1\r\nLeft=0", {0, centreTop}, 0},
      {"Top=" + QByteArray::number(screen.height() - h / 2),
       {centreLeft, screen.height() - h / 2},
       0},
      {"Top=" + QByteArray::number(screen.height() - h / 2 + 1), {centreLeft, centreTop}, 0},
      {"Left=" + QByteArray::number(-w / 2) + "\r\nTop=0", {-w / 2, 0}, 0},
      {"Left=" + QByteArray::number(-w / 2 - 1) + "\r\nTop=0", {centreLeft, 0}, 0},
      {"Left=" + QByteArray::number(screen.width() - w / 2),
       {screen.width() - w / 2, centreTop},
       0},
      {"Left=" + QByteArray::number(screen.width() - w / 2 + 1), {centreLeft, centreTop}, 0},
      {"ActivePage=3", {centreLeft, centreTop}, 0},
      {"ActivePage=-1", {centreLeft, centreTop}, 0},
      {"ActivePage=1", {centreLeft, centreTop}, 1},
      {"Top=12abc\r\nLeft=junk", {0, 12}, 0},
      {"Lang=7", {centreLeft, centreTop}, 0},
      {"Lang=4294967297", {centreLeft, centreTop}, 0},
      {"Lang=1", {centreLeft, centreTop}, 0, kEnglish},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings.toStdString());
    ShellFixture shell;
    shell.WriteSettings("[MainSettings]\r\n" + c.settings + "\r\n");
    MainWindow& window = shell.Open();
    EXPECT_EQ(window.pos(), c.position);
    EXPECT_EQ(window.activePage(), c.page);
    EXPECT_EQ(window.SetLanguage(-1), c.language);
  }
  // The backups kept: 1 to 100000, anything else the default (a value past 32 bits too).
  const std::pair<const char*, int> kept[] = {
      {"1", 1},   {"100000", 100000}, {"0", 20},   {"100001", 20},
      {"-5", 20}, {"4294967297", 20}, {"many", 20}};
  for (const auto& [value, backups] : kept) {
    IniFile ini;
    ini.SetString("MainSettings", "BackupsKept", value);
    EXPECT_EQ(ReadWindowSettings(ini, screen, {w, h}, 3).backupsKept, backups) << value;
  }
}

TEST(StartUp, UnreadableSettingsFileIsReportedAndTheWindowKeepsItsDesignState) {
  ShellFixture shell;
  QDir().mkpath(shell.settingsPath);  // a folder where the file should be
  MainWindow& window = shell.Open();

  ASSERT_EQ(shell.boxes.seen.size(), 1u);
  EXPECT_EQ(shell.boxes.seen[0].request.style, BoxKind::kError);
  EXPECT_EQ(shell.boxes.lastText(), "Ошибка чтения файла конфигурации программы");
  EXPECT_EQ(window.activePage(), 2);
  EXPECT_EQ(window.pos(), QPoint(550, 442));
  EXPECT_FALSE(shell.Find<QAction>("MenuItemLanguageRussianx")->isChecked());
  EXPECT_FALSE(shell.Find<QAction>("MenuItemLanguageEnglishx")->isChecked());
  EXPECT_EQ(std::count(shell.mux->calls.begin(), shell.mux->calls.end(), "Before"), 0);
  EXPECT_TRUE(shell.Find<QTimer>("TimerQVRBTest")->isActive());

  window.close();
  EXPECT_EQ(shell.boxes.seen.size(), 2u);  // reported again at exit, nothing saved
  EXPECT_TRUE(QFileInfo(shell.settingsPath).isDir());
}

TEST(StartUp, TenMegabytesOfGarbageGiveTheDefaultsAndAreReplacedAtExit) {
  ShellFixture shell;
  QByteArray junk(10 * 1024 * 1024, '\0');
  std::mt19937 random(7);
  for (char& byte : junk) byte = char(random());
  shell.WriteSettings(junk);
  MainWindow& window = shell.Open();

  Centre centre = CentreOf(window);
  EXPECT_EQ(window.pos(), QPoint(centre.left, centre.top));
  EXPECT_EQ(window.activePage(), 0);
  EXPECT_TRUE(shell.boxes.seen.empty());

  window.close();
  EXPECT_EQ(LoadIni(shell.settingsPath)->GetInt("MainSettings", "Top", -99), centre.top);
  EXPECT_LT(QFileInfo(shell.settingsPath).size(), 1000);
  QFile copy(shell.settingsPath + ".bak");  // what the program could not read is kept
  ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
  EXPECT_EQ(copy.readAll(), junk);
}

// A file read only in part is never rewritten from that part alone: the exit keeps it whole as
// ".bak" first, and the sections that could be read stay in the file itself.
TEST(StartUp, SettingsReadOnlyInPartAreKeptWholeBeforeTheExitRewritesThem) {
  const QByteArray others =
      "[DirectoryConfig]\r\nMUX-410=/home/user/a.MUX\r\n[Vendor]\r\nKey=1\r\n";
  struct Case {
    const char* what;
    QByteArray bytes;
    bool othersRead;
  };
  const Case cases[] = {
      {"binary bytes first",
       QByteArray("\x01\x02\xFF", 3) + "[MainSettings]\r\nLang=1\r\n" + others, true},
      // The NUL reads as a blank, so what follows it is read too.
      {"NUL in a value", "[MainSettings]\r\nLog=1" + QByteArray(1, '\0') + "0\r\n" + others, true},
      {"over the size limit", others + QByteArray(5 * 1024 * 1024, ' '), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ShellFixture shell;
    shell.WriteSettings(c.bytes);
    shell.Open().close();

    QFile copy(shell.settingsPath + ".bak");
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), c.bytes);
    auto saved = LoadIni(shell.settingsPath);
    EXPECT_TRUE(saved->loadedWhole());
    EXPECT_EQ(saved->GetInt("MainSettings", "ActivePage", -99), 0);
    EXPECT_EQ(saved->GetInt("Vendor", "Key", -99), c.othersRead ? 1 : -99);
  }
}

TEST(StartUp, UnwritableSettingsFolderIsToldOnceInTheStatusBarAndTheLog) {
  ShellFixture shell;
  QFile blocker(shell.dir.path() + "/file");
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  shell.settingsPath = blocker.fileName() + "/qvr-service.ini";  // a file where a folder should be
  shell.dialogs.answers = {"/home/user/a.MUX"};
  MainWindow& window = shell.Open();
  window.SetLanguage(kEnglish);
  window.setActivePage(kPageMux410);

  window.OpenConfigFileCommand();  // remembers the file's folder: the first save
  const std::string told = "The program settings were not saved to \"" +
                           shell.settingsPath.toStdString() + "\": Not a directory";
  EXPECT_EQ(window.statusText().toStdString(), told);
  window.close();
  const QString log = shell.Find<QPlainTextEdit>("Memo")->toPlainText();
  EXPECT_EQ(log.count(QString::fromStdString(told)), 1);
  EXPECT_TRUE(shell.boxes.seen.empty());
}

TEST(StartUp, ShutDownKeepsOtherSectionsAndWritesTheCurrentState) {
  ShellFixture shell;
  shell.WriteSettings(
      "[DirectoryConfig]\r\nMUX-410=/home/user/cars/a.MUX\r\n[MainSettings]\r\nBackupsKept=7\r\n");
  MainWindow& window = shell.Open();
  window.move(33, 44);
  window.setActivePage(1);
  window.SetLanguage(kEnglish);
  shell.Find<QAction>("MenuItemLog")->setChecked(true);

  window.close();

  EXPECT_TRUE(window.closing());
  auto saved = LoadIni(shell.settingsPath);
  EXPECT_EQ(saved->GetInt("MainSettings", "Top", -99), 44);
  EXPECT_EQ(saved->GetInt("MainSettings", "Left", -99), 33);
  EXPECT_EQ(saved->GetInt("MainSettings", "ActivePage", -99), 1);
  EXPECT_EQ(saved->GetInt("MainSettings", "Lang", -99), 1);
  EXPECT_EQ(saved->GetInt("MainSettings", "Log", -99), 1);
  EXPECT_EQ(saved->GetInt("MainSettings", "BackupsKept", -99), 7) << "written back as read";
  EXPECT_EQ(saved->GetString("DirectoryConfig", "MUX-410"), "/home/user/cars/a.MUX");
  EXPECT_FALSE(shell.Find<QTimer>("TimerQVRBTest")->isActive());
}

TEST(SettingsPath, OverrideThenExecutableFolderThenUserFolder) {
  QTemporaryDir dir;
  const QString exe = dir.path() + "/bin/qvr-service";
  QDir().mkpath(dir.path() + "/bin");
  EXPECT_EQ(SettingsFilePath("/x/given.ini", exe, "/home/u/.config"), "/x/given.ini");
  EXPECT_EQ(SettingsFilePath("", exe, "/home/u/.config"), dir.path() + "/bin/qvr-service.ini");
  EXPECT_EQ(SettingsFilePath("", "/nonexistent-folder/qvr-service", "/home/u/.config"),
            "/home/u/.config/qvr-service.ini");
}

// Run as root (as the tests run in CI), the program folder is writable, yet an installed
// program never writes there: the file would belong to no user and outlive the package.
TEST(SettingsPath, InstalledProgramUsesUserFolderEvenWhereItsFolderIsWritable) {
  QTemporaryDir dir;
  const QString programs = dir.path() + "/Programs";
  QDir().mkpath(programs + "/QVR/bin");
  const QString installed = programs + "/QVR/bin/qvr-service";
  EXPECT_EQ(SettingsFilePath("", installed, "/home/u/.config", {programs.toStdString()}),
            "/home/u/.config/qvr-service.ini");
  EXPECT_EQ(
      SettingsFilePath("/x/given.ini", installed, "/home/u/.config", {programs.toStdString()}),
      "/x/given.ini");
  // A folder whose name only begins like a program folder is no program folder.
  QDir().mkpath(dir.path() + "/Programs-portable");
  EXPECT_EQ(SettingsFilePath("", dir.path() + "/Programs-portable/qvr-service", "/home/u/.config",
                             {programs.toStdString()}),
            dir.path() + "/Programs-portable/qvr-service.ini");
#ifndef Q_OS_WIN
  EXPECT_EQ(SettingsFilePath("", "/usr/bin/qvr-service", "/root/.config"),
            "/root/.config/qvr-service.ini");
  EXPECT_EQ(SettingsFilePath("", "/usr/local/bin/qvr-service", "/root/.config"),
            "/root/.config/qvr-service.ini");
#endif
}

void SetOrUnset(const char* name, const std::optional<std::string>& value) {
  value ? SetEnvironment(name, *value) : UnsetEnvironment(name);
}

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::optional<std::string>(value) : std::nullopt;
}

// qvrctl has no Qt, yet must find the file the window uses: its folders are the ones Qt gives
// the window, whatever the environment holds.
TEST(SettingsPath, QvrctlTakesTheFoldersQtGivesTheWindow) {
  EXPECT_EQ(ExecutableFolder(), QCoreApplication::applicationDirPath().toStdString());
  const QString application = QCoreApplication::applicationName();
  QCoreApplication::setApplicationName("qvr-service");
  const auto qtFolder = [] {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString();
  };
  EXPECT_EQ(UserSettingsFolder(), qtFolder());
#ifndef Q_OS_WIN
  const std::optional<std::string> config = Environment("XDG_CONFIG_HOME");
  const std::optional<std::string> home = Environment("HOME");
  struct Case {
    std::optional<std::string> config;
    std::optional<std::string> home;
  };
  const Case cases[] = {
      {"/x/cfg/", "/h/u"},
      {"relative/cfg", "/h/u"},
      {"", "/h/./u//"},
      {std::nullopt, "relative/../h"},
      {std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.config.value_or("(unset)") + " " + c.home.value_or("(unset)"));
    SetOrUnset("XDG_CONFIG_HOME", c.config);
    SetOrUnset("HOME", c.home);
    EXPECT_EQ(UserSettingsFolder(), qtFolder());
  }
  SetOrUnset("XDG_CONFIG_HOME", config);
  SetOrUnset("HOME", home);
#endif
  QCoreApplication::setApplicationName(application);
}

}  // namespace
}  // namespace qvr::test
