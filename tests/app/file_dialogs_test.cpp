// The three file dialogs: titles, filters, the folder each device remembers, and the real
// dialog kept centred over the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>

#include "app/backup_dialog.h"
#include "app/file_drop.h"
#include "app/recent_files.h"
#include "devices/common/ini_file.h"
#include "i18n/added_texts.h"
#include "shell_test_support.h"

namespace qvr::test {
namespace {

const DeviceModule& Mux() {
  return mux410::kModule;
}
const DeviceModule& Tpx() {
  return tpx520::kModule;
}

TEST(FileDialogParts, FolderFilterAndSuffixComeFromPathAndMask) {
  EXPECT_EQ(InitialFolderOf("/home/user/cars/a.MUX"), "/home/user/cars");
  EXPECT_EQ(InitialFolderOf("C:\\Cars\\Lexus\\a.MUX"), "C:\\Cars\\Lexus");
  EXPECT_EQ(InitialFolderOf("a.MUX"), "");
  EXPECT_EQ(InitialFolderOf(""), "");
  EXPECT_EQ(InitialFolderOf("/a.MUX"), "/");
  EXPECT_EQ(NameFilterOf("*.MUX"), "*.MUX (*.MUX *.mux)");
  EXPECT_EQ(NameFilterOf("*.ldr"), "*.ldr (*.ldr)");
  EXPECT_EQ(DefaultSuffixOf("*.LDR"), "LDR");
  EXPECT_EQ(DefaultSuffixOf("*.*"), "");
  // A drop loads one configuration file, its suffix in any case.
  const auto urls = [](std::initializer_list<const char*> paths) {
    QList<QUrl> list;
    for (const char* path : paths) list.push_back(QUrl::fromLocalFile(path));
    return list;
  };
  EXPECT_EQ(DroppedConfigFile(urls({"/cars/a b.mux"}), "*.MUX"), "/cars/a b.mux");
  EXPECT_EQ(DroppedConfigFile(urls({"/cars/a.MUX.txt"}), "*.MUX"), "");
  EXPECT_EQ(DroppedConfigFile(urls({"/cars/a.MUX", "/cars/b.MUX"}), "*.MUX"), "");
  EXPECT_EQ(DroppedConfigFile(urls({"/cars/a.MUX"}), ""), "");
  EXPECT_EQ(DroppedConfigFile({QUrl("https://example.org/a.MUX")}, "*.MUX"), "");
}

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override { shell.Open(); }
  FileDialogs& dialogs() { return shell.window->fileDialogs(); }
  ShellFixture shell;
};

TEST_F(Dialogs, EachDeviceStartsInItsOwnLastFolder) {
  const QString muxFile = shell.dir.path() + "/mux/a.MUX";
  const QString tpxFile = shell.dir.path() + "/tpx/b.MUX";
  shell.window->setActivePage(1);
  shell.dialogs.answers = {muxFile};
  shell.window->OpenConfigFileCommand();
  shell.window->setActivePage(2);
  shell.dialogs.answers = {tpxFile};
  shell.window->SaveConfigFileCommand();

  ASSERT_EQ(shell.dialogs.requests.size(), 2u);
  EXPECT_EQ(shell.dialogs.requests[0].initialFolder, "");  // nothing remembered yet
  EXPECT_EQ(shell.dialogs.requests[0].title,
            QString::fromUtf8("Выбор файла конфигурации устройства"));
  EXPECT_FALSE(shell.dialogs.requests[0].save);
  EXPECT_EQ(shell.dialogs.requests[0].nameFilter, "*.MUX (*.MUX *.mux)");
  EXPECT_EQ(shell.dialogs.requests[0].defaultSuffix, "MUX");
  EXPECT_EQ(shell.dialogs.requests[1].title,
            QString::fromUtf8("Сохранение файла конфигурации устройства"));
  EXPECT_TRUE(shell.dialogs.requests[1].save);

  (void)dialogs().ChooseConfigFileToSave(Mux());
  (void)dialogs().ChooseConfigFileToOpen(Tpx());
  EXPECT_EQ(shell.dialogs.requests[2].initialFolder, shell.dir.path() + "/mux");
  EXPECT_EQ(shell.dialogs.requests[3].initialFolder, shell.dir.path() + "/tpx");

  IniFile ini;
  ini.Load(shell.settingsPath.toStdString());
  EXPECT_EQ(ini.GetString("DirectoryConfig", "MUX-410"), muxFile.toStdString());
  EXPECT_EQ(ini.GetString("DirectoryConfig", "TPX-520"), tpxFile.toStdString());
}

TEST_F(Dialogs, CancellingKeepsTheRememberedPathAndUpdateFilesHaveTheirOwnSection) {
  dialogs().RememberUpdateFile(Mux(), "/fw/mux-2.15.LDR");
  dialogs().RememberUpdateFile(Mux(), "");  // nothing chosen, nothing stored
  EXPECT_EQ(dialogs().ChooseUpdateFile(Mux()), "");
  ASSERT_EQ(shell.dialogs.requests.size(), 1u);
  EXPECT_EQ(shell.dialogs.requests[0].initialFolder, "/fw");
  EXPECT_EQ(shell.dialogs.requests[0].nameFilter, "*.LDR (*.LDR *.ldr)");
  EXPECT_EQ(shell.dialogs.requests[0].title,
            QString::fromUtf8("Выбор файла обновления прошивки устройства"));

  IniFile ini;
  ini.Load(shell.settingsPath.toStdString());
  EXPECT_EQ(ini.GetString("DirectoryUpdate", "MUX-410"), "/fw/mux-2.15.LDR");
  EXPECT_FALSE(ini.HasSection("DirectoryConfig"));
}

// The last eight files per device, newest first, each once; the other device keeps its own.
TEST_F(Dialogs, RecentFilesKeepTheNewestEightOfEachDeviceOnce) {
  const SettingsStore& settings = shell.window->settingsStore();
  for (int i = 1; i <= 10; ++i)
    AddRecentFile(settings, Mux(), "/cars/" + std::to_string(i) + ".MUX");
  AddRecentFile(settings, Mux(), "/cars/5.MUX");
  AddRecentFile(settings, Tpx(), "/tpx/1.MUX");
  const std::vector<std::string> mux = RecentFiles(settings, Mux());
  ASSERT_EQ(mux.size(), size_t(kRecentFileCount));
  EXPECT_EQ(mux.front(), "/cars/5.MUX");
  EXPECT_EQ(mux[1], "/cars/10.MUX");
  EXPECT_EQ(mux.back(), "/cars/3.MUX");
  EXPECT_EQ(RecentFiles(settings, Tpx()), std::vector<std::string>{"/tpx/1.MUX"});
}

TEST(RealFileDialog, IsCentredOverTheWindowWithTheMaskAndTitle) {
  ShellFixture shell;
  MainWindow& window = shell.Open();
  window.move(40, 30);
  window.show();
  QtFileDialogRunner* runner = nullptr;
  DialogCentring centring(&window, *shell.Find<QTimer>("TimerOnShow"));
  QtFileDialogRunner real(&window, centring);
  runner = &real;

  QPoint position, expected;
  QString title, filter;
  bool overwriteQuestion = true;
  QList<int> clipped;
  QTimer poll;
  poll.setInterval(20);
  int ticks = 0;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog || ++ticks < 5) return;
    poll.stop();
    position = dialog->pos();
    expected = CentredPosition(window.frameGeometry(), dialog->frameGeometry().size(), 0);
    title = dialog->windowTitle();
    filter = dialog->selectedNameFilter();
    overwriteQuestion = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
    // Every column header of the file list shows its whole text.
    if (auto* list = dialog->findChild<QTreeView*>("treeView")) {
      QHeaderView* header = list->header();
      for (int column = 0; column < header->count(); ++column) {
        if (header->sectionSize(column) < header->sectionSizeHint(column)) clipped << column;
      }
    }
    dialog->reject();
  });
  poll.start();

  FileDialogRequest request;
  request.save = true;
  request.title = "Save";
  request.nameFilter = NameFilterOf("*.MUX");
  request.defaultSuffix = "MUX";
  EXPECT_EQ(runner->Run(request), "");
  EXPECT_EQ(position, expected);
  EXPECT_EQ(title, "Save");
  EXPECT_EQ(filter, "*.MUX (*.MUX *.mux)");
  EXPECT_FALSE(overwriteQuestion);
  EXPECT_TRUE(clipped.isEmpty()) << clipped.size() << " headers cut";
  EXPECT_FALSE(shell.Find<QTimer>("TimerOnShow")->isActive());
}

// The restore's list as the installer meets it, in either language: newest first with its
// numbers and marks, the newest backup not taken after a failed change chosen at the start,
// every column wide enough for its texts, Enter restoring the chosen backup, Esc cancelling and
// "Other file" asking for a file; a unit without backups offers only the file.
TEST(RealBackupList, EnterRestoresTheChosenBackupAndEveryColumnShowsItsTexts) {
  std::vector<BackupEntry> oldestFirst(3);
  oldestFirst[0].timeName = "20261201T080000Z";
  oldestFirst[0].configName = "Гараж";
  oldestFirst[0].first = true;
  oldestFirst[1].timeName = "20261202T080000Z";
  oldestFirst[1].sequence = 7;
  oldestFirst[1].configName = "LC200 15/16";
  oldestFirst[2].timeName = "20261203T080000Z";
  oldestFirst[2].sequence = 8;
  oldestFirst[2].afterFailedChange = true;
  for (const Language language : {kRussian, kEnglish}) {
    SCOPED_TRACE(language);
    Catalogue catalogue;
    catalogue.setLanguage(language);
    const BackupChoiceRequest request =
        UnitBackupChoice(catalogue, Mux(), 41000123, oldestFirst, "/backups");
    ASSERT_EQ(request.rows.size(), 3u);
    EXPECT_EQ(request.rows[0][3].toStdString(),
              TextIn(language, AddedText::kBackupMarkAfterFailedChange));
    EXPECT_EQ(request.rows[2][1].toStdString(), TextIn(language, AddedText::kBackupNoNumber));
    BackupListDialog dialog(request, nullptr);
    dialog.show();
    auto* list = dialog.findChild<QTreeWidget*>("ListBackupsx");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->indexOfTopLevelItem(list->currentItem()), 1);
    EXPECT_EQ(list->accessibleName(), request.heading);
    for (const char* name : {"ButtonRestorex", "ButtonOtherBackupFilex", "ButtonCancelRestorex"}) {
      const auto* button = dialog.findChild<QPushButton*>(name);
      ASSERT_NE(button, nullptr) << name;
      EXPECT_FALSE(button->accessibleName().isEmpty() || button->accessibleName().contains('&'));
    }
    const QHeaderView* header = list->header();
    const QAbstractItemView* view = list;
    for (int column = 0; column < header->count(); ++column) {
      EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column)) << column;
      EXPECT_GE(header->sectionSize(column), view->sizeHintForColumn(column)) << column;
    }
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(dialog.choice().kind, BackupChoice::kListed);
    EXPECT_EQ(dialog.choice().row, 2);
  }

  Catalogue catalogue;
  const BackupChoiceRequest request =
      UnitBackupChoice(catalogue, Mux(), 41000123, oldestFirst, "/backups");
  BackupListDialog cancelled(request, nullptr);
  cancelled.show();
  QTest::keyClick(cancelled.findChild<QTreeWidget*>("ListBackupsx"), Qt::Key_Escape);
  EXPECT_FALSE(cancelled.isVisible());
  EXPECT_EQ(cancelled.choice().kind, BackupChoice::kCancelled);
  BackupListDialog other(request, nullptr);
  other.show();
  other.findChild<QPushButton*>("ButtonOtherBackupFilex")->click();
  EXPECT_EQ(other.choice().kind, BackupChoice::kOtherFile);

  const BackupChoiceRequest none = UnitBackupChoice(catalogue, Mux(), 41000123, {}, "/backups");
  EXPECT_EQ(none.heading.toStdString(),
            Catalogue::FormatText(TextIn(kRussian, AddedText::kNoUnitBackupsInFolder), "MUX-410",
                                  41000123u, "/backups"));
  BackupListDialog empty(none, nullptr);
  empty.show();
  EXPECT_FALSE(empty.findChild<QPushButton*>("ButtonRestorex")->isEnabled());
  QTest::keyClick(empty.findChild<QTreeWidget*>("ListBackupsx"), Qt::Key_Return);
  EXPECT_TRUE(empty.isVisible());
}

}  // namespace
}  // namespace qvr::test
