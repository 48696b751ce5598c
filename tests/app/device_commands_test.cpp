// The toolbar commands with the real device pages over the simulated controller.
#include <gtest/gtest.h>

#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
#include "devices/backup/change_history.h"
#include "devices/backup/history_reader.h"
#include "devices/backup/raw_image.h"
#include "devices/backup/sha256.h"
#include "devices/common/ini_file.h"
#include "i18n/added_texts.h"
#include "link/packet_layout.h"
#include "shell_test_support.h"
#include "sim/sim_profiles.h"
#include "sim/sim_update_image.h"
#include "support/portable.h"
#include "support/test_host.h"

namespace qvr::test {
namespace {

// The window's link runs by the test's clock: a unit that stays silent costs no real time.
class DeviceCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    shell.realPages = true;
    shell.clock = &clock;
    shell.Open();
    shell.Connect();
  }
  MainWindow& window() { return *shell.window; }
  QString MemoText() const { return shell.Find<QPlainTextEdit>("Memo")->toPlainText(); }
  std::string Russian(AddedText id) const { return TextIn(kRussian, id); }
  ManualClock clock;
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
}

// A restore from the unit's list gives back every byte the unit held, what no *.MUX carries
// included (DPAR bits 6 and 7, the TPX-520's touch calibration, a name no file can be called);
// a backup without its raw image says what it cannot give back; another unit's backup is asked
// about and another device's refused, before anything is sent.
TEST_F(DeviceCommands, RestoreGivesTheUnitBackEveryByteAndChecksWhoseBackupItIs) {
  const std::string backups = shell.dir.filePath("backups").toStdString();
  std::vector<uint8_t> dpar = shell.controller.Block(sim::kAddressMux410, 20);
  dpar[2] = 0xC1;
  shell.controller.SetBlock(sim::kAddressMux410, 20, dpar);
  const std::string name = "LC200 15/16";
  shell.controller.SetBlock(sim::kAddressMux410, 5, {name.begin(), name.end()});
  const auto unitName = [&] {
    const std::vector<uint8_t> block = shell.controller.Block(sim::kAddressMux410, 5);
    return std::string(reinterpret_cast<const char*>(block.data()));
  };
  shell.WriteThroughFile(kPageMux410, shell.dir.filePath("car.MUX"));
  ASSERT_EQ(shell.controller.Block(sim::kAddressMux410, 20)[2], 0x01);
  ASSERT_EQ(unitName(), "car");

  // Enter on the list as it opens: the newest backup not taken after a failed change.
  shell.dialogs.backupChoices = {{BackupChoice::kListed}};
  shell.boxes.answers = {BoxAnswer::kYes};
  shell.boxes.seen.clear();
  window().RestoreFromBackup();
  ASSERT_EQ(shell.dialogs.backupRequests.size(), 1u);
  const BackupChoiceRequest& list = shell.dialogs.backupRequests[0];
  ASSERT_EQ(list.rows.size(), 1u);
  EXPECT_EQ(list.selected, 0);
  EXPECT_EQ(list.rows[0][2].toStdString(), name);
  EXPECT_EQ(list.rows[0][3].toStdString(), TextIn(kRussian, AddedText::kBackupMarkFirst));
  EXPECT_EQ(shell.boxes.seen.size(), 1u) << shell.boxes.lastText();  // the write's question
  EXPECT_EQ(shell.controller.Block(sim::kAddressMux410, 20)[2], 0xC1);
  EXPECT_EQ(unitName(), name);
  // Where the backup before the restore went is still in the log after the read-back.
  const std::vector<BackupEntry> made = ListUnitBackups(backups, "MUX-410", 41000123);
  ASSERT_EQ(made.size(), 2u);
  const std::string saved =
      Catalogue::FormatText(TextIn(kRussian, AddedText::kBackupSaved), made[1].path.c_str());
  EXPECT_TRUE(MemoText().contains(QString::fromStdString(saved))) << MemoText().toStdString();
  const std::string verified =
      Catalogue::FormatText(TextIn(kRussian, AddedText::kWriteVerified), "MUX-410");
  EXPECT_TRUE(MemoText().endsWith(QString::fromStdString(verified)));
  const std::vector<HistoryEntry> history =
      ReadHistory(HistoryLocationIn(shell.dir.path().toStdString()));
  ASSERT_FALSE(history.empty());
  EXPECT_EQ(history.back().command, "restore");
  EXPECT_EQ(history.back().file, made[0].path);
  // The page shows the unit's own configuration, from no file: written again, it keeps every
  // byte.
  EXPECT_TRUE(window().pageFile(kPageMux410).isEmpty());
  shell.boxes.answers = {BoxAnswer::kYes};
  window().WriteDeviceCommand();
  EXPECT_EQ(shell.controller.Block(sim::kAddressMux410, 20)[2], 0xC1);

  // Without its raw image the backup is loaded and written as a file is, and says so; chosen as
  // a file, the unit's own backup asks nothing more.
  std::filesystem::remove(made[0].rawPath);
  shell.dialogs.backupChoices = {{BackupChoice::kOtherFile}};
  shell.dialogs.answers = {QString::fromStdString(made[0].path)};
  shell.boxes.answers = {BoxAnswer::kYes};
  shell.boxes.seen.clear();
  window().RestoreFromBackup();
  EXPECT_EQ(shell.boxes.seen.size(), 1u) << shell.boxes.lastText();
  EXPECT_EQ(shell.controller.Block(sim::kAddressMux410, 20)[2], 0x01);
  EXPECT_TRUE(MemoText().contains(QString::fromUtf8(
      Catalogue::FormatText(TextIn(kRussian, AddedText::kPlainFileCannotGiveBack),
                            made[0].path.c_str(), TextIn(kRussian, AddedText::kMux410FileLacks)))))
      << MemoText().toStdString();
  EXPECT_EQ(window().pageFile(kPageMux410).toStdString(), made[0].path);

  // The TPX-520's touch calibration comes back too, though a file write leaves it alone.
  const std::vector<uint8_t> touch = shell.controller.Block(sim::kAddressTpx520, 16);
  shell.WriteThroughFile(kPageTpx520, shell.dir.filePath("car-tpx.MUX"));
  shell.controller.SetBlock(sim::kAddressTpx520, 16, sim::FoundTouchBlock());
  ASSERT_NE(shell.controller.Block(sim::kAddressTpx520, 16), touch);
  shell.dialogs.backupChoices = {{BackupChoice::kListed}};
  shell.boxes.answers = {BoxAnswer::kYes};
  window().RestoreFromBackup();
  EXPECT_EQ(shell.controller.Block(sim::kAddressTpx520, 16), touch);
  EXPECT_EQ(window().statusText().toStdString(),
            Catalogue::FormatText(TextIn(kRussian, AddedText::kWriteVerified), "TPX-520"));

  // A replacement unit: its list is empty, "Other file" opens the backups folder. Another
  // device's backup is refused; another unit's is asked about, No the default, and No sends
  // nothing.
  const auto writesToTpx = [&] {
    int writes = 0;
    for (const sim::WirePacket& packet : shell.controller.Wire())
      writes += packet.request && packet.bytes[kPacketDestination] == sim::kAddressTpx520 &&
                (packet.bytes[kPacketCommand] & kWriteFlag) != 0;
    return writes;
  };
  shell.controller.SetSerialNumber(sim::kAddressTpx520, 52000999);
  const std::string tpxBackup = ListUnitBackups(backups, "TPX-520", 52000456).front().path;
  shell.dialogs.backupChoices = {{BackupChoice::kOtherFile}, {BackupChoice::kOtherFile}};
  shell.dialogs.answers = {QString::fromStdString(made[0].path), QString::fromStdString(tpxBackup)};
  shell.dialogs.requests.clear();
  shell.boxes.seen.clear();
  const int writesBefore = writesToTpx();
  window().RestoreFromBackup();
  window().RestoreFromBackup();
  EXPECT_TRUE(shell.dialogs.backupRequests.back().rows.empty());
  EXPECT_EQ(shell.dialogs.requests.back().initialFolder.toStdString(), backups);
  ASSERT_EQ(shell.boxes.seen.size(), 2u);
  EXPECT_EQ(shell.boxes.seen[0].request.style, BoxKind::kError);
  EXPECT_EQ(shell.boxes.seen[0].request.text.toStdString(),
            Catalogue::FormatText(TextIn(kRussian, AddedText::kRestoreOtherDevice),
                                  made[0].path.c_str(), "MUX-410", "TPX-520"));
  EXPECT_EQ(shell.boxes.seen[1].request.style, (BoxStyle{BoxKind::kQuestion, DefaultButton::kNo}));
  EXPECT_EQ(shell.boxes.lastText(),
            Catalogue::FormatText(TextIn(kRussian, AddedText::kRestoreOtherUnitQuestion), "TPX-520",
                                  52000456ul, 52000999ul));
  EXPECT_EQ(writesToTpx(), writesBefore);
}

TEST_F(DeviceCommands, FirmwareUpdateFromTheMux410PageRemembersTheFileAndReportsTheVersion) {
  const auto updateTo = [&](uint16_t version) {
    const QString path = shell.dir.path() + QString("/mux-%1.LDR").arg(version);
    std::vector<uint8_t> file = sim::BuildUpdateFile(version, 33, 2, 200);
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(reinterpret_cast<const char*>(file.data()), qint64(file.size()));
    out.close();
    shell.dialogs.answers = {path};
    shell.boxes.seen.clear();
    window().UpdateFirmwareCommand();
    return path;
  };
  window().setActivePage(1);
  const QString path = updateTo(216);

  ASSERT_FALSE(shell.boxes.seen.empty());
  EXPECT_EQ(shell.boxes.seen.back().request.style, BoxKind::kInformation);
  EXPECT_EQ(shell.boxes.lastText(), "Устройство успешно обновлено до версии 2.16");
  EXPECT_TRUE(MemoText().endsWith(QString::fromUtf8(
      Catalogue::FormatText(Russian(AddedText::kUpdateConfirmed).c_str(), 2u, 16u))))
      << MemoText().toStdString();
  EXPECT_EQ(window().activePage(), 1);
  EXPECT_TRUE(window().monitor().connected());
  IniFile ini;
  ini.Load(shell.settingsPath.toStdString());
  EXPECT_EQ(ini.GetString("DirectoryUpdate", "MUX-410"), path.toStdString());

  // A unit that keeps its firmware, or that has not answered since, has not been updated: a
  // failure box; the history records the one as failed, the other as not confirmed.
  shell.controller.SetKeepsOldFirmware(true);
  updateTo(217);
  ASSERT_EQ(shell.boxes.seen.size(), 1u);
  EXPECT_EQ(shell.boxes.seen[0].request.style, BoxKind::kError);
  EXPECT_EQ(shell.boxes.lastText(),
            Catalogue::FormatText(Russian(AddedText::kUpdateNotTaken).c_str(), 2u, 16u));
  shell.controller.SetRestartSilence(sim::kAlways);
  updateTo(217);
  ASSERT_EQ(shell.boxes.seen.size(), 1u);
  EXPECT_EQ(shell.boxes.lastText(), Russian(AddedText::kUpdateNotConfirmed));
  // The history names the update file and the digest of the bytes sent.
  const std::vector<HistoryEntry> history =
      ReadHistory(HistoryLocationIn(shell.dir.path().toStdString()));
  ASSERT_EQ(history.size(), 3u);
  EXPECT_EQ(history[0].command, "update");
  EXPECT_EQ(history[0].file, path.toStdString());
  const std::vector<uint8_t> sent = sim::BuildUpdateFile(216, 33, 2, 200);
  EXPECT_EQ(history[0].sha256, Sha256Hex(std::string(sent.begin(), sent.end())));
  EXPECT_EQ(history[0].result, "ok");
  EXPECT_EQ(history[1].result, "failed");
  EXPECT_EQ(history[2].result, "not confirmed");
}

// A write ends with the unit's restart: one silent for about a second is waited for and read
// back; one silent beyond the wait leaves the write done, and the box says only that it could
// not be checked.
TEST_F(DeviceCommands, AWriteIsReadBackOnceTheUnitAnswersAfterItsRestart) {
  window().setActivePage(kPageMux410);
  window().ReadDeviceCommand();
  shell.controller.SetRestartSilence(2);
  shell.boxes.answers = {BoxAnswer::kYes};
  shell.boxes.seen.clear();
  window().WriteDeviceCommand();
  EXPECT_EQ(shell.boxes.seen.size(), 1u) << shell.boxes.lastText();
  EXPECT_EQ(window().statusText().toStdString(),
            Catalogue::FormatText(Russian(AddedText::kWriteVerified).c_str(), "MUX-410"));

  shell.controller.SetRestartSilence(sim::kAlways);
  shell.boxes.answers = {BoxAnswer::kYes};
  shell.boxes.seen.clear();
  window().WriteDeviceCommand();
  ASSERT_EQ(shell.boxes.seen.size(), 2u);
  EXPECT_EQ(shell.boxes.seen[1].request.style, BoxKind::kError);
  EXPECT_EQ(shell.boxes.lastText(),
            Catalogue::FormatText(Russian(AddedText::kWriteNotChecked).c_str(), "MUX-410") + "\n" +
                Russian(AddedText::kUnitSilentSinceRestart));
}

TEST_F(DeviceCommands, ResetToDefaultKeepsABackupFirstAndAFailureNamesTheDevice) {
  const QString backups = shell.dir.path() + "/backups";
  window().setActivePage(2);
  shell.boxes.answers = {BoxAnswer::kYes};
  window().ResetToDefaultCommand();
  EXPECT_EQ(shell.boxes.seen.size(), 1u) << shell.boxes.lastText();
  // A folder per unit, one per backup, the file under the unit's own name beside the raw image.
  const QString unit = backups + "/TPX-520-52000456";
  const QStringList saved = QDir(unit).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  ASSERT_EQ(saved.size(), 1);
  const QStringList files = QDir(unit + "/" + saved[0]).entryList({"*.MUX"}, QDir::Files);
  ASSERT_EQ(files.size(), 1);
  EXPECT_TRUE(QFile::exists(unit + "/" + saved[0] + "/" + kRawImageFileName));
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
// serial number never finds them among its backups. Only as many as the settings say are kept
// beside the unit's first.
// The data folder the settings name (a relative one beside the settings file, as a portable copy
// keeps it) holds them, not the user's own.
TEST(DeviceCommandsWithoutBackups, TheSimulatedUnitsBackupsStayApartFromRealOnesAndAreBounded) {
  ShellFixture shell;
  const char* before = std::getenv(test::kDataFolderVariable);
  const std::string kept = before ? before : "";
  const QString data = shell.dir.path() + "/data";
  test::SetEnvironment(test::kDataFolderVariable, data.toStdString());
  shell.simulated = true;
  shell.defaultDataFolder = true;
  shell.WriteSettings(
      "[MainSettings]\r\nActivePage=2\r\nBackupsKept=1\r\nDataFolder=workshop/../shared\r\n");
  MainWindow& window = shell.Open();
  shell.Connect();
  for (int reset = 0; reset < 3; ++reset) {
    shell.boxes.answers = {BoxAnswer::kYes};
    window.ResetToDefaultCommand();
  }
  before ? test::SetEnvironment(test::kDataFolderVariable, kept)
         : test::UnsetEnvironment(test::kDataFolderVariable);
  const QString shared = QFileInfo(shell.settingsPath).path() + "/shared";
  const QDir unit(shared + "/backups/simulated/TPX-520-52000456");
  EXPECT_EQ(unit.entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2) << "the first, the newest";
  EXPECT_FALSE(QDir(shared + "/backups/TPX-520-52000456").exists());
  EXPECT_EQ(ReadHistory(HistoryLocationIn(shared.toStdString())).size(), 3u);
  EXPECT_FALSE(QDir(data).exists());
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
