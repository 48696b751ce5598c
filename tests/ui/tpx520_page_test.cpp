// The TPX-520 page's controls against its configuration image, and its device and file
// operations against the simulated controller.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <filesystem>

#include "devices/common/ui/event_editor.h"
#include "i18n/ui/translate_form.h"
#include "sim/sim_profiles.h"
#include "tpx520_page_host.h"

namespace qvr::test {
namespace {

int CheckedRadio(Tpx520PageHost& h, const char* group) {
  const auto buttons = Control<QGroupBox>(h, group)->findChildren<QRadioButton*>();
  for (int i = 0; i < buttons.size(); ++i) {
    if (buttons[i]->isChecked()) return i;
  }
  return -1;
}

QString Panel(Tpx520PageHost& h, const char* name) {
  return Control<QLabel>(h, name)->text();
}

QStringList TouchPanels(Tpx520PageHost& h) {
  return {Panel(h, "PanelXPLS_TPX520"),        Panel(h, "PanelXMIN_TPX520"),
          Panel(h, "PanelYPLS_TPX520"),        Panel(h, "PanelYMIN_TPX520"),
          Panel(h, "PanelCORNER_XMIN_TPX520"), Panel(h, "PanelCORNER_YMIN_TPX520"),
          Panel(h, "PanelCORNER_XMAX_TPX520"), Panel(h, "PanelCORNER_YMAX_TPX520")};
}

std::vector<uint8_t> Bytes(const std::array<uint8_t, 12>& block) {
  return {block.begin(), block.end()};
}

TEST(Tpx520PageControls, ParametersShownAndStoredBackByteForByte) {
  struct Case {
    uint8_t sendTo, onlyExtTouch, inpCtr, outCtr, mute, mask;
  };
  for (const Case c : {Case{1, 0, 1, 0, 1, 0x2A}, Case{0, 1, 0, 1, 0, 0x15}}) {
    Tpx520PageHost h;
    tpx520::ConfigImage& image = h.tpx->image();
    image.naviType() = 3;
    image.naviInput() = 6;
    image.onPowerOn() = 7;
    image.outPulseMode() = 2;
    image.setPowerOnTimeout(0);
    image.setPulseTimeout(300);
    image.inpCtrType() = c.inpCtr;
    image.outCtrType() = c.outCtr;
    image.muteType() = c.mute;
    image.inputMask() = c.mask;
    image.sendTo() = c.sendTo;
    image.onlyExtTouch() = c.onlyExtTouch;
    const auto navi = image.navi;
    const auto mode = image.mode;

    h.tpx->ImageToControls();
    EXPECT_EQ(Control<QLineEdit>(h, "EditOnPowerTOmS_TPX520")->text(), "0.125");
    EXPECT_EQ(Control<QLineEdit>(h, "EditPulseTOmS_TPX520")->text(), "0.300");
    EXPECT_EQ(Control<QComboBox>(h, "ComboBoxNaviType_TPX520")->currentText(), "PHANTOM, F1");
    EXPECT_EQ(CheckedRadio(h, "RadioGroupInpCtrType_TPX520"), c.inpCtr);
    EXPECT_EQ(CheckedRadio(h, "RadioGroupMuteType_TPX520"), c.mute);
    EXPECT_EQ(Control<QCheckBox>(h, "CheckBoxSENDTO_TPX520x")->isChecked(), c.sendTo == 1);
    auto* mask = Control<QListWidget>(h, "CheckListBoxInputMASK_TPX520");
    ASSERT_EQ(mask->count(), 6);
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(mask->item(i)->checkState() == Qt::Checked, ((c.mask >> i) & 1) == 1) << i;
    }

    image.navi.fill(0);
    image.mode.fill(0xEE);
    ASSERT_EQ(h.tpx->ControlsToImage(), 0);
    EXPECT_EQ(image.navi, navi);
    EXPECT_EQ(Bytes(image.mode), Bytes(mode));
  }
}

TEST(Tpx520PageControls, PowerOnTimeoutIsStoredWithoutItsFirst125Milliseconds) {
  Tpx520PageHost h;
  h.tpx->ImageToControls();
  auto* edit = Control<QLineEdit>(h, "EditOnPowerTOmS_TPX520");
  Control<QLineEdit>(h, "EditPulseTOmS_TPX520")->setText("0.2");

  edit->setText("0.125");
  ASSERT_EQ(h.tpx->ControlsToImage(), 0);
  EXPECT_EQ(h.tpx->image().powerOnTimeout(), 0);

  edit->setText("50");
  ASSERT_EQ(h.tpx->ControlsToImage(), 0);
  EXPECT_EQ(h.tpx->image().powerOnTimeout(), 49875);

  edit->setText("50.001");
  EXPECT_EQ(h.tpx->ControlsToImage(), 1);
  ASSERT_FALSE(h.boxes.boxes.empty());
  EXPECT_EQ(h.boxes.boxes.back().text, "The value must be in the range from 0.125 to 50.000");
  EXPECT_EQ(h.tpx->image().powerOnTimeout(), 49875);
}

TEST(Tpx520PageControls, ValuesBeyondTheirListsShowNoChoiceAndRefuseTheNextStore) {
  Tpx520PageHost h;
  h.tpx->image().naviType() = 9;
  h.tpx->image().inpCtrType() = 2;
  h.tpx->ImageToControls();
  EXPECT_EQ(Control<QComboBox>(h, "ComboBoxNaviType_TPX520")->currentIndex(), -1);
  EXPECT_EQ(CheckedRadio(h, "RadioGroupInpCtrType_TPX520"), -1);

  EXPECT_EQ(h.tpx->ControlsToImage(), 1);
  EXPECT_EQ(h.boxes.boxes.back().text, "Select an option from the drop down list");

  Control<QComboBox>(h, "ComboBoxNaviType_TPX520")->setCurrentIndex(0);
  Control<QLineEdit>(h, "EditPulseTOmS_TPX520")->setText("0.2");
  EXPECT_EQ(h.tpx->ControlsToImage(), 1);
  EXPECT_EQ(h.boxes.boxes.back().text, "Select an option");
}

TEST(Tpx520PageControls, TouchPanelsShowTheDeviceBlockInDecimalAndOtherwiseStayEmptyWithAHint) {
  Tpx520PageHost h(kRussian);
  EXPECT_EQ(TouchPanels(h), QStringList(8, QString()));  // nothing read yet
  const QString russianHint = Control<QLabel>(h, "PanelXPLS_TPX520")->toolTip();
  EXPECT_TRUE(russianHint.startsWith(QString::fromUtf8("Линий и углов тачпанели нет в файле")));
  h.catalogue().setLanguage(kEnglish);
  h.tpx->AfterLanguageSwitch();
  EXPECT_TRUE(Control<QGroupBox>(h, "GroupBoxLineCornerTPX520")
                  ->toolTip()
                  .startsWith("Touch lines and corners are not in configuration files"));

  h.tpx->image().touch = {7, 8, 9, 10, 0x34, 0x12, 0, 0, 0xFF, 0xFF, 1, 0};
  h.tpx->image().touchFromDevice = true;
  h.tpx->ImageToControls();
  EXPECT_EQ(TouchPanels(h), (QStringList{"7", "8", "9", "10", "4660", "0", "65535", "1"}));
  EXPECT_EQ(Control<QLabel>(h, "PanelCORNER_YMAX_TPX520")->toolTip(), "");
}

TEST(Tpx520PageDevice, ReadShowsConfigurationTouchBlockAndCurrentInput) {
  Tpx520PageHost h;
  ASSERT_EQ(h.tpx->ReadDevice(Tpx()), LinkOk);
  EXPECT_EQ(TouchPanels(h), (QStringList{"1", "2", "3", "4", "120", "140", "3950", "3900"}));
  EXPECT_EQ(Control<QComboBox>(h, "ComboBoxNaviType_TPX520")->currentText(), "GVN53");
  EXPECT_EQ(Control<QLineEdit>(h, "EditOnPowerTOmS_TPX520")->text(), "1.000");
  EXPECT_EQ(CheckedRadio(h, "RadioGroupOutCtrType_TPX520"), 1);
  EXPECT_EQ(Control<QPlainTextEdit>(h, "MemoDescriptionTPX520")->toPlainText(), "Demo");
  EXPECT_EQ(h.tpx->widgets().events->tabBar()->count(), 2);
  EXPECT_EQ(Control<QComboBox>(h, "ComboBoxCurrentInput_TPX520")->currentIndex(),
            h.sim.CurrentInput(sim::kAddressTpx520));
  EXPECT_EQ(h.RequestCount(21), 1);
  EXPECT_TRUE(h.boxes.boxes.empty());

  // Storing the controls keeps the name the memo showed as the description.
  ASSERT_EQ(h.tpx->ControlsToImage(), 0);
  EXPECT_EQ(h.tpx->image().descriptionText(), "Demo");
}

TEST(Tpx520PageDevice, FailedReadKeepsTheConfigurationThePageShows) {
  Tpx520PageHost h;
  ASSERT_EQ(h.tpx->ReadDevice(Tpx()), LinkOk);
  h.sim.StatusNext(0xFD, sim::kAlways, 22);  // the event table cannot be read
  EXPECT_NE(h.tpx->ReadDevice(Tpx()), LinkOk);
  EXPECT_EQ(h.tpx->image().events.count(), 2);
  EXPECT_TRUE(h.tpx->image().touchFromDevice);
  EXPECT_EQ(h.tpx->image().naviType(), 1);
}

TEST(Tpx520PageDevice, FailedCurrentInputReadShowsItsBoxButTheReadSucceeds) {
  Tpx520PageHost h;
  h.sim.StatusNext(0xFE, sim::kAlways, 21);
  EXPECT_EQ(h.tpx->ReadDevice(Tpx()), LinkOk);
  ASSERT_EQ(h.boxes.boxes.size(), 1u);
  EXPECT_EQ(h.boxes.boxes[0].text.rfind("Error reading from device \"TPX-520\"", 0), 0u);
  EXPECT_EQ(Control<QComboBox>(h, "ComboBoxNaviType_TPX520")->currentText(), "GVN53");
}

TEST(Tpx520PageDevice, TouchBlockIsWrittenBackOnlyWhenItCameFromTheDevice) {
  const auto dir = std::filesystem::temp_directory_path() / "tpx520_page_touch";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "saved.MUX").string();
  Tpx520PageHost h;
  const std::vector<uint8_t> deviceTouch = h.sim.Block(sim::kAddressTpx520, 16);

  // Read, then write back: block 16 goes out as it was read.
  ASSERT_EQ(h.tpx->ReadDevice(Tpx()), LinkOk);
  ASSERT_EQ(h.tpx->CheckForFile(), PageOutcome::kDone);
  ASSERT_EQ(h.tpx->WriteConfigFile(Tpx(), path), PageOutcome::kDone);
  h.sim.ClearWire();
  ASSERT_EQ(h.tpx->CheckForDevice(), PageOutcome::kDone);
  ASSERT_EQ(h.tpx->WriteDevice(Tpx()), LinkOk);
  auto touchWrites = h.Writes(16);
  ASSERT_EQ(touchWrites.size(), 1u);
  EXPECT_EQ(touchWrites[0].data, deviceTouch);

  // Loaded from a file, the configuration has no touch block; the device keeps its own.
  h.sim.SetBlock(sim::kAddressTpx520, 16, sim::FoundTouchBlock());
  ASSERT_EQ(h.tpx->ReadConfigFile(Tpx(), path), PageOutcome::kDone);
  EXPECT_EQ(TouchPanels(h)[0], "");  // not zeros: they will not be written
  EXPECT_FALSE(Control<QLabel>(h, "PanelXPLS_TPX520")->toolTip().isEmpty());
  h.sim.ClearWire();
  ASSERT_EQ(h.tpx->CheckForDevice(), PageOutcome::kDone);
  ASSERT_EQ(h.tpx->WriteDevice(Tpx()), LinkOk);
  EXPECT_EQ(h.RequestCount(16), 0);
  EXPECT_EQ(h.Writes(22).size(), 3u);  // two events and the end record
  EXPECT_EQ(h.sim.Block(sim::kAddressTpx520, 16), sim::FoundTouchBlock());
  std::filesystem::remove_all(dir);
}

TEST(Tpx520PageDevice, UsedEventWithoutInputRefusesTheWriteOnItsTab) {
  Tpx520PageHost h;
  ASSERT_EQ(h.tpx->ReadDevice(Tpx()), LinkOk);
  h.tpx->image().events.record(1).input = 0xFF;
  h.tpx->ImageToControls();
  h.sim.ClearWire();

  EXPECT_EQ(h.tpx->CheckForDevice(), PageOutcome::kRefused);
  EXPECT_EQ(h.boxes.boxes.back().text, "Select an option from the drop down list");
  EXPECT_EQ(h.tpx->widgets().events->tabBar()->currentIndex(), 1);
  EXPECT_TRUE(h.sim.Wire().empty());
}

TEST(Tpx520PageFile, SavePrunesTheTabsAndAFailedSaveNamesTheFile) {
  const auto dir = std::filesystem::temp_directory_path() / "tpx520_page_file";
  std::filesystem::create_directories(dir);
  Tpx520PageHost h;
  tpx520::ConfigImage& image = h.tpx->image();
  image.events.setCount(5);
  for (int slot : {0, 2, 4}) image.events.record(slot) = {1, 2, 0, 1, 0, 4, 9};
  image.navi = {0, 0};
  h.tpx->ImageToControls();
  Control<QLineEdit>(h, "EditPulseTOmS_TPX520")->setText("0.2");
  h.tpx->widgets().events->tabBar()->setCurrentIndex(4);

  const std::string path = (dir / "three.MUX").string();
  ASSERT_EQ(h.tpx->CheckForFile(), PageOutcome::kDone);
  ASSERT_EQ(h.tpx->WriteConfigFile(Tpx(), path), PageOutcome::kDone);
  EXPECT_EQ(h.tpx->widgets().events->tabBar()->count(), 3);

  const std::string badPath = (dir / "missing" / "x.MUX").string();
  EXPECT_EQ(h.tpx->WriteConfigFile(Tpx(), badPath), PageOutcome::kRefused);
  ASSERT_FALSE(h.boxes.boxes.empty());
  EXPECT_EQ(h.boxes.boxes.back().style, BoxKind::kError);
  EXPECT_NE(h.boxes.boxes.back().text.find(badPath), std::string::npos);

  ASSERT_EQ(h.tpx->ReadConfigFile(Tpx(), path), PageOutcome::kDone);
  EXPECT_EQ(image.events.count(), 3);
  EXPECT_EQ(Control<QPlainTextEdit>(h, "MemoDescriptionTPX520")->toPlainText(), "three");
  std::filesystem::remove_all(dir);
}

TEST(Tpx520PageLanguage, SwitchKeepsChoicesChecksAndTheEventBeingEdited) {
  Tpx520PageHost h(kRussian);
  ASSERT_EQ(h.tpx->ReadDevice(Tpx()), LinkOk);
  EventEditor& editor = *h.tpx->widgets().events;
  editor.tabBar()->setCurrentIndex(1);
  editor.descriptionEdit()->setText("draft");
  Control<QListWidget>(h, "CheckListBoxInputMASK_TPX520")->item(2)->setCheckState(Qt::Checked);
  Control<QGroupBox>(h, "RadioGroupMuteType_TPX520")->findChildren<QRadioButton*>()[1]->click();

  h.tpx->setObjectName("MainForm");
  h.tpx->BeforeLanguageSwitch();
  h.catalogue().setLanguage(kEnglish);
  TranslateForm(h.tpx.get(), kEnglish);
  h.tpx->AfterLanguageSwitch();

  EXPECT_EQ(Control<QGroupBox>(h, "RadioGroupMuteType_TPX520")->title(), " MUTE output ");
  EXPECT_EQ(CheckedRadio(h, "RadioGroupMuteType_TPX520"), 1);
  auto* mask = Control<QListWidget>(h, "CheckListBoxInputMASK_TPX520");
  EXPECT_EQ(mask->item(2)->text(), "3rd");
  EXPECT_EQ(mask->item(2)->checkState(), Qt::Checked);
  EXPECT_EQ(Control<QComboBox>(h, "ComboBoxOnPowerOn_TPX520")->currentText(),
            "To restore the last state");
  EXPECT_EQ(Control<QCheckBox>(h, "CheckBoxSENDTO_TPX520x")->text(), "+ MUX410");
  EXPECT_EQ(editor.tabBar()->currentIndex(), 1);
  EXPECT_EQ(editor.descriptionEdit()->text(), "draft");
  EXPECT_EQ(editor.title(), " Total events 2 of 64 ");
}

}  // namespace
}  // namespace qvr::test
