// The toolbar commands with the real device pages over the simulated controller.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "app/device_pages.h"
#include "devices/backup/backup_store.h"
#include "devices/backup/history_reader.h"
#include "devices/backup/sha256.h"
#include "devices/common/ini_file.h"
#include "i18n/added_texts.h"
#include "shell_test_support.h"
#include "sim/sim_update_image.h"
#include "support/portable.h"

namespace qvr::test {
namespace {

class DeviceCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    shell.realPages = true;
    shell.Open();
    shell.Connect();
  }
  MainWindow& window() { return *shell.window; }
  QString MemoText() const { return shell.Find<QPlainTextEdit>("Memo")->toPlainText(); }
  ShellFixture shell;
};

TEST_F(DeviceCommands, ReadingTheMux410ShowsItsBannerAndTheGauge) {
  window().setActivePage(1);
  window().ReadDeviceCommand();

  EXPECT_TRUE(shell.boxes.seen.empty()) << shell.boxes.lastText();
  EXPECT_TRUE(MemoText().startsWith(QString::fromUtf8("**************** Устройство")));
  EXPECT_TRUE(MemoText().contains("MUX-410"));
  EXPECT_FALSE(shell.Find<QProgressBar>("CGaugeProgressProcent")->isHidden());
  EXPECT_FALSE(window().busy());
}

// Save and Write on a page never read or loaded point to Read and Open; a refused event field
// is named with its event in the window's language, and keeps the focus.
// A live action runs as a toolbar command does: while its question is open the pages and the
// toolbar take no input; afterwards they are back.
TEST_F(DeviceCommands, ALiveActionHoldsThePagesAndTheToolbarUntilItEnds) {
  window().setActivePage(kPageMux410);
  QWidget* page = shell.Find<QTabWidget>("PageControlMain")->widget(kPageMux410);
  auto* naviAuto = shell.Find<QToolButton>("SpeedButtonNaviAuto_MUX410");
  ASSERT_NE(naviAuto, nullptr);
  bool heldDuring = false;
  shell.boxes.during = [&] { heldDuring = !page->isEnabled() && window().busy(); };
  naviAuto->click();  // the scripted user answers No
  EXPECT_TRUE(heldDuring);
  EXPECT_TRUE(page->isEnabled());
  EXPECT_FALSE(window().busy());
}

TEST_F(DeviceCommands, WritesExplainAnEmptyPageAndNameTheRefusedFieldAndEvent) {
  window().show();
  QApplication::setActiveWindow(&window());
  window().setActivePage(kPageMux410);
  for (auto command : {&MainWindow::SaveConfigFileCommand, &MainWindow::WriteDeviceCommand}) {
    shell.boxes.seen.clear();
    (window().*command)();
    ASSERT_EQ(shell.boxes.seen.size(), 1u);
    EXPECT_EQ(shell.boxes.lastText(),
              Catalogue::FormatText(TextIn(kRussian, AddedText::kNoConfigurationYet), "MUX-410"));
    EXPECT_TRUE(shell.dialogs.requests.empty());
  }

  window().ReadDeviceCommand();
  auto* address = shell.Find<QLineEdit>("EditAddressEvent_MUX410");
  auto* tabs = shell.Find<QTabBar>("TabControlEvent_MUX410x");
  ASSERT_GE(tabs->count(), 2);
  tabs->setCurrentIndex(1);
  QTest::keyClicks(address, "x1");  // the letter is not taken
  EXPECT_FALSE(address->text().contains('x'));
  address->setText("70000");
  shell.boxes.seen.clear();
  window().WriteDeviceCommand();
  ASSERT_EQ(shell.boxes.seen.size(), 1u);  // no question follows the refusal
  const QString field = shell.boxes.seen.back().request.field;
  EXPECT_TRUE(field.startsWith(QString::fromUtf8("Событие 2, поле «"))) << field.toStdString();
  EXPECT_EQ(QApplication::focusWidget(), address);

  // With the preview on, the question lists what changes on the unit; the write is read back.
  shell.Find<QAction>("MenuItemPreviewWritex")->trigger();
  address->setText("700");
  shell.boxes.seen.clear();
  shell.boxes.answers = {BoxAnswer::kYes};
  window().WriteDeviceCommand();
  ASSERT_GE(shell.boxes.seen.size(), 1u);
  const QString question = shell.boxes.seen.front().request.text;
  EXPECT_TRUE(question.contains(QString::fromUtf8(TextIn(kRussian, AddedText::kPreviewChanges))));
  EXPECT_TRUE(question.contains("event 2: ")) << question.toStdString();
  EXPECT_TRUE(question.contains("/700/")) << question.toStdString();
  EXPECT_EQ(shell.boxes.seen.size(), 1u) << shell.boxes.lastText();
  EXPECT_EQ(window().statusText().toStdString(),
            Catalogue::FormatText(TextIn(kRussian, AddedText::kWriteVerified), "MUX-410"));

  // The backup made before that write puts the unit back as it was.
  const std::vector<BackupEntry> made =
      ListBackups(shell.dir.filePath("backups").toStdString(), "MUX-410");
  ASSERT_EQ(made.size(), 1u);
  shell.dialogs.answers = {QString::fromStdString(made.front().path)};
  shell.boxes.answers = {BoxAnswer::kYes};
  shell.boxes.seen.clear();
  window().RestoreFromBackup();
  ASSERT_FALSE(shell.dialogs.requests.empty());
  // The dialog opens in the unit's own folder, among its backups.
  EXPECT_TRUE(shell.dialogs.requests.back().initialFolder.endsWith("/MUX-410-41000123"))
      << shell.dialogs.requests.back().initialFolder.toStdString();
  EXPECT_EQ(window().statusText().toStdString(),
            Catalogue::FormatText(TextIn(kRussian, AddedText::kWriteVerified), "MUX-410"));
  // The history tells the restore from a write, by the backup's file and its bytes.
  const std::vector<HistoryEntry> history =
      ReadHistory(HistoryLocationIn(shell.dir.path().toStdString()));
  ASSERT_EQ(history.size(), 2u);
  EXPECT_EQ(history[0].command, "write");
  EXPECT_EQ(history[1].command, "restore");
  EXPECT_EQ(history[1].file, made.front().path);
  QFile backup(QString::fromStdString(made.front().path));
  ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
  EXPECT_EQ(history[1].sha256, Sha256Hex(backup.readAll().toStdString()));
  window().ReadDeviceCommand();
  tabs->setCurrentIndex(1);
  EXPECT_NE(address->text(), "700");
}

TEST_F(DeviceCommands, FirmwareUpdateFromTheMux410PageRemembersTheFileAndReportsTheVersion) {
  const QString path = shell.dir.path() + "/mux-2.16.LDR";
  std::vector<uint8_t> file = sim::BuildUpdateFile(216, 33, 2, 200);
  QFile out(path);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(reinterpret_cast<const char*>(file.data()), qint64(file.size()));
  out.close();
  window().setActivePage(1);
  shell.dialogs.answers = {path};

  window().UpdateFirmwareCommand();

  ASSERT_FALSE(shell.boxes.seen.empty());
  EXPECT_EQ(shell.boxes.seen.back().request.style, BoxKind::kInformation);
  EXPECT_EQ(shell.boxes.lastText(), "Устройство успешно обновлено до версии 2.16");
  EXPECT_EQ(window().activePage(), 1);
  EXPECT_TRUE(window().monitor().connected());
  IniFile ini;
  ini.Load(shell.settingsPath.toStdString());
  EXPECT_EQ(ini.GetString("DirectoryUpdate", "MUX-410"), path.toStdString());
  // The history names the update file and the digest of the bytes sent.
  const std::vector<HistoryEntry> history =
      ReadHistory(HistoryLocationIn(shell.dir.path().toStdString()));
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0].command, "update");
  EXPECT_EQ(history[0].file, path.toStdString());
  EXPECT_EQ(history[0].sha256, Sha256Hex(std::string(file.begin(), file.end())));
  EXPECT_EQ(history[0].result, "ok");
}

TEST_F(DeviceCommands, ResetToDefaultKeepsABackupFirstAndAFailureNamesTheDevice) {
  const QString backups = shell.dir.path() + "/backups";
  window().setActivePage(2);
  shell.boxes.answers = {BoxAnswer::kYes};
  window().ResetToDefaultCommand();
  EXPECT_EQ(shell.boxes.seen.size(), 1u) << shell.boxes.lastText();
  // A folder per unit, one per backup, the file under the unit's own name.
  const QString unit = backups + "/TPX-520-52000456";
  const QStringList saved = QDir(unit).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  ASSERT_EQ(saved.size(), 1);
  // The configuration beside the raw image of every byte the read returned.
  const QStringList files = QDir(unit + "/" + saved[0]).entryList(QDir::Files);
  ASSERT_EQ(files, QStringList({"Demo.MUX", "raw-image.json"}));
  EXPECT_TRUE(MemoText().endsWith(
      QString::fromUtf8("Резервная копия конфигурации устройства сохранена в \"%1/%2/%3\"")
          .arg(unit, saved[0], files[0])));
  EXPECT_EQ(shell.controller.CountRequests(sim::kAddressTpx520, 4), 1);
  // The change is in the history beside the backups, as qvrctl's are.
  const HistoryLocation location = HistoryLocationIn(shell.dir.path().toStdString());
  const std::vector<HistoryEntry> history = ReadHistory(location);
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0].program, "qvr-service");
  EXPECT_EQ(history[0].command, "default");
  EXPECT_EQ(history[0].unitSerial, 52000456u);
  EXPECT_EQ(history[0].result, "ok");

  // A folder where the history's file should be takes no line: the change goes on, and the log
  // says why the history lacks it.
  const std::string own = location.machineFile();
  std::filesystem::remove(own);
  std::filesystem::create_directory(own);
  shell.boxes.answers = {BoxAnswer::kYes};
  window().ResetToDefaultCommand();
  EXPECT_EQ(shell.controller.CountRequests(sim::kAddressTpx520, 4), 2);
  EXPECT_TRUE(MemoText().contains(QString::fromUtf8("Изменение не записано в историю (\"%1\")")
                                      .arg(QString::fromStdString(own))))
      << MemoText().toStdString();

  // A device that cannot be read cannot be backed up: the reset is not sent, one box says so
  // and the log says where the read stopped.
  shell.boxes.seen.clear();
  shell.boxes.answers = {BoxAnswer::kYes};
  shell.controller.StatusNext(0xFD, sim::kAlways, 22);  // the event table cannot be read
  window().ResetToDefaultCommand();
  ASSERT_EQ(shell.boxes.seen.size(), 2u);
  EXPECT_EQ(shell.boxes.seen[0].request.style, (BoxStyle{BoxKind::kWarning, DefaultButton::kNo}));
  EXPECT_EQ(shell.boxes.lastText(),
            "Не удалось сохранить резервную копию конфигурации устройства \"TPX-520\", в "
            "устройство ничего не отправлено\nОшибка результата");
  EXPECT_TRUE(MemoText().endsWith(QString::fromUtf8("сбой на блоке 1 из 64 (смещение 0x0000)")))
      << MemoText().toStdString();
  EXPECT_EQ(shell.controller.CountRequests(sim::kAddressTpx520, 4), 2);
}

TEST(DeviceCommandsWithoutBackups, ResetToDefaultFailureNamesTheDevice) {
  ShellFixture shell;
  shell.WriteSettings("[MainSettings]\r\nBackup=0\r\nActivePage=2\r\n");
  MainWindow& window = shell.Open();
  shell.Connect();
  shell.boxes.answers = {BoxAnswer::kYes};
  shell.controller.SilenceNext(sim::kAlways);
  window.ResetToDefaultCommand();
  ASSERT_EQ(shell.boxes.seen.size(), 2u);
  EXPECT_EQ(shell.boxes.lastText(),
            "Ошибка сброса конфигурации устройства \"TPX-520\" в состояние по умолчанию\n"
            "Вышел таймаут ожидания ответа");
  EXPECT_FALSE(QDir(shell.dir.path() + "/backups").exists());
}

// The simulated controller's units back up into a folder of their own: a real unit with the same
// serial number never finds them among its backups.
TEST(DeviceCommandsWithoutBackups, TheSimulatedUnitsBackupsStayApartFromRealOnes) {
  ShellFixture shell;
  const char* before = std::getenv(test::kDataFolderVariable);
  const std::string kept = before ? before : "";
  const QString data = shell.dir.path() + "/data";
  test::SetEnvironment(test::kDataFolderVariable, data.toStdString());
  shell.simulated = true;
  shell.defaultBackupFolder = true;
  shell.WriteSettings("[MainSettings]\r\nActivePage=2\r\n");
  MainWindow& window = shell.Open();
  shell.Connect();
  shell.boxes.answers = {BoxAnswer::kYes};
  window.ResetToDefaultCommand();
  before ? test::SetEnvironment(test::kDataFolderVariable, kept)
         : test::UnsetEnvironment(test::kDataFolderVariable);
  EXPECT_TRUE(QDir(data + "/qvr-service/backups/simulated/TPX-520-52000456").exists());
  EXPECT_FALSE(QDir(data + "/qvr-service/backups/TPX-520-52000456").exists());
}

// The TPX-520 description box answers a double click with the MUX-410's debug dump, shown in the
// MUX-410 memo; a failure would name the TPX-520, the page the user is on.
TEST(DescriptionDump, TpxDescriptionBoxDumpsTheMux410IntoItsMemo) {
  ShellFixture shell;
  shell.realPages = true;
  shell.WriteSettings("[MainSettings]\r\nDebug=1\r\nActivePage=2\r\n");
  shell.Open();
  shell.Connect();
  auto* memo = shell.Find<QPlainTextEdit>("MemoDescriptionMUX410");
  ASSERT_NE(memo, nullptr);
  QTest::mouseDClick(shell.Find<QWidget>("GroupBoxDescriptionTPX520"), Qt::LeftButton, {},
                     QPoint(5, 5));
  EXPECT_TRUE(shell.boxes.seen.empty()) << shell.boxes.lastText();
  EXPECT_FALSE(memo->toPlainText().isEmpty());
  EXPECT_EQ(shell.controller.CountRequests(sim::kAddressMux410, 6), 1);

  shell.controller.StatusNext(0xFD, sim::kAlways, 6);
  QTest::mouseDClick(shell.Find<QWidget>("GroupBoxDescriptionTPX520"), Qt::LeftButton, {},
                     QPoint(5, 5));
  ASSERT_EQ(shell.boxes.seen.size(), 1u);
  EXPECT_NE(shell.boxes.lastText().find("\"TPX-520\""), std::string::npos)
      << shell.boxes.lastText();
}

}  // namespace
}  // namespace qvr::test
