// The toolbar commands with the real device pages over the simulated controller.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>

#include "app/device_pages.h"
#include "devices/backup/change_history.h"
#include "devices/common/ini_file.h"
#include "shell_test_support.h"
#include "sim/sim_update_image.h"

namespace qvr::test {
namespace {

class DeviceCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    shell.realPages = DevicePageFactory();
    shell.Open();
    shell.Connect();
  }
  MainWindow& window() { return *shell.window; }
  QString MemoText() const { return shell.Find<QPlainTextEdit>("Memo")->toPlainText(); }
  ShellFixture shell;
};

TEST_F(DeviceCommands, ReadingTheMux410ShowsItsBannerAndTheGauge) {
  window().setActivePage(1);
  window().SpeedButtonReadDeviceClick();

  EXPECT_TRUE(shell.boxes.seen.empty()) << shell.boxes.lastText();
  EXPECT_TRUE(MemoText().startsWith(QString::fromUtf8("**************** Устройство")));
  EXPECT_TRUE(MemoText().contains("MUX-410"));
  EXPECT_FALSE(shell.Find<QProgressBar>("CGaugeProgressProcent")->isHidden());
  EXPECT_FALSE(window().busy());
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

  window().SpeedButtonUpdateClick();

  ASSERT_FALSE(shell.boxes.seen.empty());
  EXPECT_EQ(shell.boxes.seen.back().request.kind, kBoxInformation);
  EXPECT_EQ(shell.boxes.lastText(), "Устройство успешно обновлено до версии 2.16");
  EXPECT_EQ(window().activePage(), 1);
  EXPECT_TRUE(window().monitor().connected());
  IniFile ini;
  ini.Load(shell.settingsPath.toStdString());
  EXPECT_EQ(ini.GetString("DirectoryUpdate", "MUX-410"), path.toStdString());
}

TEST_F(DeviceCommands, ResetToDefaultKeepsABackupFirstAndAFailureNamesTheDevice) {
  const QString backups = shell.dir.path() + "/backups";
  window().setActivePage(2);
  shell.boxes.answers = {kBoxResultYes};
  window().SpeedButtonToDefaultClick();
  EXPECT_EQ(shell.boxes.seen.size(), 1u) << shell.boxes.lastText();
  // A folder per unit, one per backup, the file under the unit's own name.
  const QString unit = backups + "/TPX-520-52000456";
  const QStringList saved = QDir(unit).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  ASSERT_EQ(saved.size(), 1);
  const QStringList files = QDir(unit + "/" + saved[0]).entryList(QDir::Files);
  ASSERT_EQ(files.size(), 1);
  EXPECT_TRUE(MemoText().endsWith(
      QString::fromUtf8("Резервная копия конфигурации устройства сохранена в \"%1/%2/%3\"")
          .arg(unit, saved[0], files[0])));
  EXPECT_EQ(shell.controller.CountRequests(sim::kAddressTpx520, 4), 1);
  // The change is in the history beside the backups, as qvrctl's are.
  const std::vector<HistoryEntry> history =
      ReadHistory((shell.dir.path() + "/history.jsonl").toStdString());
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0].program, "qvr-service");
  EXPECT_EQ(history[0].command, "default");
  EXPECT_EQ(history[0].unitSerial, 52000456u);

  // A device that cannot be read cannot be backed up: the reset is not sent, one box says so.
  shell.boxes.seen.clear();
  shell.boxes.answers = {kBoxResultYes};
  shell.controller.SilenceNext(sim::kAlways);
  window().SpeedButtonToDefaultClick();
  ASSERT_EQ(shell.boxes.seen.size(), 2u);
  EXPECT_EQ(shell.boxes.seen[0].request.kind, kBoxWarning + kBoxDefaultNo);
  EXPECT_EQ(shell.boxes.lastText(),
            "Не удалось сохранить резервную копию конфигурации устройства \"TPX-520\", в "
            "устройство ничего не отправлено\nВышел таймаут ожидания ответа");
  EXPECT_EQ(shell.controller.CountRequests(sim::kAddressTpx520, 4), 1);
}

TEST(DeviceCommandsWithoutBackups, ResetToDefaultFailureNamesTheDevice) {
  ShellFixture shell;
  shell.WriteSettings("[MainSettings]\r\nBackup=0\r\nActivePage=2\r\n");
  MainWindow& window = shell.Open();
  shell.Connect();
  shell.boxes.answers = {kBoxResultYes};
  shell.controller.SilenceNext(sim::kAlways);
  window.SpeedButtonToDefaultClick();
  ASSERT_EQ(shell.boxes.seen.size(), 2u);
  EXPECT_EQ(shell.boxes.lastText(),
            "Ошибка сброса конфигурации устройства \"TPX-520\" в состояние по умолчанию\n"
            "Вышел таймаут ожидания ответа");
  EXPECT_FALSE(QDir(shell.dir.path() + "/backups").exists());
}

// The TPX-520 description box answers a double click with the MUX-410's debug dump, shown in the
// MUX-410 memo; a failure would name the TPX-520, the page the user is on.
TEST(DescriptionDump, TpxDescriptionBoxDumpsTheMux410IntoItsMemo) {
  ShellFixture shell;
  shell.realPages = DevicePageFactory();
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
