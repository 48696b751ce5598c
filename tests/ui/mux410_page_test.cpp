// The MUX-410 page: mode rules, image and controls both ways, the checks before a write, and
// whole configurations through the simulated device and a file.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolButton>

#include "devices/common/ui/description_memo.h"
#include "devices/common/ui/event_editor.h"
#include "devices/mux410/ui/mux410_page.h"
#include "devices/test_files.h"
#include "fake_page_host.h"

namespace qvr::mux410 {
namespace {

const DeviceModule& Mux() {
  return mux410::kModule;
}

class Mux410PageTest : public ::testing::Test {
 protected:
  Mux410PageTest() : page(host, nullptr) {
    page.resize(776, 480);
    page.show();
    page.InitPage();
  }

  const PageWidgets& w() const { return page.widgets(); }
  bool Shown(QWidget* widget) { return widget->isVisibleTo(&page); }

  // A configuration that touches every field, with device bits 6 and 7 in dparFlags.
  void FillImage(ConfigImage& image) {
    image.setConfigName("Car 7");
    image.setDescription("first line\r\nsecond line");
    image.navi = {3, 2, 1, 0x03};
    image.onPowerOn() = 6;
    image.outPulseMode() = 2;
    image.setPowerOnTimeout(1000 - 125);
    image.setPulseTimeout(250);
    image.inputMask() = 0x2A;  // inputs 2, 4, 6 skipped
    image.dpar = {2, 3, 0xC0 | 0x15};
    image.events.setCount(2);
    image.events.record(0) = EventRecord{7, 1, 8, 1, 0, 4, 17};
    image.events.record(1) = EventRecord{2, 30, 3, 10, 2, 65535, 255};
    image.events.setDescription(1, "OK");
  }

  test::FakePageHost host;
  Page page;
};

TEST_F(Mux410PageTest, ModeShowsExactlyItsControls) {
  QWidget* swim = w().dpar[kBitCir];
  QWidget* tpx = w().dpar[kBitTpx];
  QWidget* lx570 = w().dpar[kBitLx570];
  QWidget* gabar = w().dpar[kBitGabar];
  QWidget* reset = w().dpar[kBitResGvif];
  QWidget* actPa = w().dpar[kBitActPa];
  const std::vector<QWidget*> all = {
      w().getPaType, swim,  tpx,          lx570,          gabar,
      reset,         actPa, w().allTouch, w().firstInput, w().firstInputLabel};
  const std::vector<std::vector<QWidget*>> shown = {
      {swim, tpx, w().allTouch},
      {w().getPaType, swim, tpx, reset, w().firstInput, w().firstInputLabel},
      {w().getPaType, swim, tpx, lx570, actPa, gabar, w().firstInput, w().firstInputLabel},
      {swim, tpx, w().firstInput, w().firstInputLabel},
      {swim, tpx, w().firstInput, w().firstInputLabel},
      {swim, tpx, w().firstInput, w().firstInputLabel},
      {},
  };
  for (int mode = 0; mode <= 6; ++mode) {
    w().mode->setCurrentIndex(mode < 6 ? mode : -1);
    emit w().mode->activated(mode);  // the user's choice runs the rules
    for (QWidget* widget : all) {
      const bool expected = std::find(shown[size_t(mode)].begin(), shown[size_t(mode)].end(),
                                      widget) != shown[size_t(mode)].end();
      EXPECT_EQ(Shown(widget), expected)
          << "mode " << mode << " " << widget->objectName().toStdString();
    }
  }
}

TEST_F(Mux410PageTest, ImageSurvivesControlsBothWaysWithTheDeviceBitsKept) {
  FillImage(page.image());
  const ConfigImage before = page.image();
  page.ImageToControls();
  EXPECT_EQ(w().powerOnTimeout->text(), "1.000");
  EXPECT_EQ(w().pulseTimeout->text(), "0.250");
  EXPECT_EQ(w().description->toPlainText(), "first line\nsecond line");
  EXPECT_EQ(w().naviType->currentIndex(), 3);
  EXPECT_TRUE(w().beep->isChecked());
  EXPECT_EQ(w().skipInputs->item(0)->checkState(), Qt::Checked);
  EXPECT_EQ(w().skipInputs->item(1)->checkState(), Qt::Unchecked);
  EXPECT_TRUE(w().dpar[kBitResGvif]->isChecked());
  EXPECT_FALSE(w().dpar[kBitGabar]->isChecked());
  EXPECT_EQ(w().events->tabBar()->count(), 2);

  ASSERT_EQ(page.ControlsToImage(), 0);
  const ConfigImage& after = page.image();
  EXPECT_EQ(after.navi, before.navi);
  EXPECT_EQ(after.mode, before.mode);
  EXPECT_EQ(after.input, before.input);
  EXPECT_EQ(after.dpar, before.dpar);
  EXPECT_EQ(after.descriptionText(), before.descriptionText());
  EXPECT_EQ(after.events.record(0), before.events.record(0));

  w().dpar[kBitCir]->setChecked(false);
  w().dpar[kBitLx570]->setChecked(true);
  ASSERT_EQ(page.ControlsToImage(), 0);
  EXPECT_EQ(page.image().dparFlags(), 0xC0 | 0x14);

  page.image().inputMask() = 0x81 | 0x04;  // bits 0 and 7 do not come from the controls
  page.ImageToControls();
  ASSERT_EQ(page.ControlsToImage(), 0);
  EXPECT_EQ(page.image().inputMask(), 0x04);
}

TEST_F(Mux410PageTest, TimeoutsAreCheckedInSecondsAndStoredInMilliseconds) {
  FillImage(page.image());
  page.ImageToControls();
  w().powerOnTimeout->setText("0.125");
  ASSERT_EQ(page.ControlsToImage(), 0);
  EXPECT_EQ(page.image().powerOnTimeout(), 0);
  w().powerOnTimeout->setText("50");
  w().pulseTimeout->setText("0,01");
  ASSERT_EQ(page.ControlsToImage(), 0);
  EXPECT_EQ(page.image().powerOnTimeout(), 49875);
  EXPECT_EQ(page.image().pulseTimeout(), 10);

  w().powerOnTimeout->setText("0.1");
  EXPECT_EQ(page.ControlsToImage(), 1);
  EXPECT_EQ(host.LastBox(), "The value must be in the range from 0.125 to 50.000");
  w().powerOnTimeout->setText("1");
  w().pulseTimeout->setText("6");
  EXPECT_EQ(page.ControlsToImage(), 1);
  EXPECT_EQ(host.LastBox(), "The value must be in the range from 0.010 to 5.000");
}

TEST_F(Mux410PageTest, ValueBeyondItsListIsShownEmptyAndStopsTheWrite) {
  FillImage(page.image());
  page.image().naviType() = 9;
  page.ImageToControls();
  EXPECT_EQ(w().naviType->currentIndex(), -1);
  EXPECT_EQ(page.CheckForDevice(), PageOutcome::kRefused);
  EXPECT_EQ(host.LastBox(), "Select an option from the drop down list");
  EXPECT_TRUE(host.sim.Wire().empty());
}

TEST_F(Mux410PageTest, EventValueBeyondItsListStopsTheDeviceWriteOnThatEventsList) {
  FillImage(page.image());
  page.image().events.record(1).input = 0xFF;
  page.ImageToControls();
  EXPECT_EQ(page.CheckForDevice(), PageOutcome::kRefused);
  EXPECT_EQ(host.LastBox(), "Select an option from the drop down list");
  EXPECT_EQ(w().events->tabBar()->currentIndex(), 1);
  EXPECT_TRUE(w().events->inputList()->view()->isVisible());
  w().events->inputList()->hidePopup();
  EXPECT_EQ(page.CheckForFile(), PageOutcome::kDone);  // a file keeps what the user has

  // A zone code from a newer file on the event shown: kept, not sent as 0xFF.
  page.image().events.record(1).input = 2;
  page.image().events.record(0).event = 40;
  page.ImageToControls();
  EXPECT_EQ(page.CheckForDevice(), PageOutcome::kRefused);
  EXPECT_EQ(page.image().events.record(0).event, 40);
  EXPECT_EQ(w().events->tabBar()->currentIndex(), 0);
  EXPECT_TRUE(w().events->zoneList()->view()->isVisible());
  w().events->zoneList()->hidePopup();
  EXPECT_TRUE(host.sim.Wire().empty());
}

TEST_F(Mux410PageTest, EditedConfigurationReadsBackFromTheDevice) {
  ASSERT_EQ(page.ReadDevice(Mux()), LinkOk);
  EXPECT_EQ(w().description->toPlainText(), "Demo");
  EXPECT_EQ(w().events->tabBar()->count(), 3);
  EXPECT_EQ(w().mode->currentIndex(), 1);

  w().mode->setCurrentIndex(2);
  w().dpar[kBitActPa]->setChecked(true);
  w().skipInputs->item(0)->setCheckState(Qt::Checked);
  w().events->AddEventAtEnd();
  w().events->zoneList()->setCurrentIndex(5);
  w().events->commandEdit()->setText("99");
  ASSERT_EQ(page.CheckForDevice(), PageOutcome::kDone);
  // What the window held when the write began reaches the unit, whatever changes the page's
  // image while the write pumps messages (as its gauge moves).
  const ConfigImage written = page.image();
  const size_t namesBefore = host.Writes(1, kCmdName).size();
  host.linkPumps.onProgress = [&] {
    if (host.Writes(1, kCmdName).size() == namesBefore) return;
    page.image().navi[0] = 1;
    page.image().events.record(3).command = 1;
  };
  ASSERT_EQ(page.WriteDevice(Mux()), LinkOk);
  host.linkPumps.onProgress = nullptr;
  EXPECT_EQ(host.sim.CountRequests(1, 3), 1);  // the device restarts with it

  Page again(host, nullptr);
  again.InitPage();
  ASSERT_EQ(again.ReadDevice(Mux()), LinkOk);
  const ConfigImage& read = again.image();
  EXPECT_EQ(read.navi, written.navi);
  EXPECT_EQ(read.mode, written.mode);
  EXPECT_EQ(read.input, written.input);
  EXPECT_EQ(read.dpar, written.dpar);
  ASSERT_EQ(read.events.count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(read.events.record(i), written.events.record(i));
  EXPECT_EQ(read.events.record(3).event, 5);
  EXPECT_EQ(read.events.record(3).command, 99);
}

TEST_F(Mux410PageTest, FailedReadKeepsTheConfigurationThePageShows) {
  FillImage(page.image());
  page.ImageToControls();
  host.sim.StatusNext(0xFD, sim::kAlways, 27);  // the event table cannot be read
  EXPECT_FALSE(page.ReadDevice(Mux()).ok());
  EXPECT_EQ(host.boxes.log.back(), "failed at block 1 of 96 (offset 0x0000)");
  EXPECT_EQ(page.image().events.count(), 2);
  EXPECT_EQ(page.image().naviType(), 3);
  ASSERT_EQ(page.ControlsToImage(), 0);
  EXPECT_EQ(page.image().events.record(1).address, 65535);
}

TEST_F(Mux410PageTest, ConfigurationSurvivesAFileAndAFailedSaveSaysWhy) {
  QTemporaryDir dir;
  const std::string path = QDir(dir.path()).filePath("car.MUX").toStdString();
  FillImage(page.image());
  page.ImageToControls();
  ASSERT_EQ(page.CheckForFile(), PageOutcome::kDone);
  ASSERT_EQ(page.WriteConfigFile(Mux(), path), PageOutcome::kDone);

  Page again(host, nullptr);
  again.InitPage();
  ASSERT_EQ(again.ReadConfigFile(Mux(), path), PageOutcome::kDone);
  EXPECT_EQ(again.widgets().description->toPlainText(), "first line\nsecond line");
  EXPECT_EQ(again.widgets().powerOnTimeout->text(), "1.000");
  EXPECT_EQ(again.image().events.record(1), page.image().events.record(1));
  EXPECT_EQ(again.image().events.description(1), "OK");

  const std::string bad = QDir(dir.path()).filePath("missing/car.MUX").toStdString();
  EXPECT_NE(page.WriteConfigFile(Mux(), bad), PageOutcome::kDone);
  EXPECT_NE(host.LastBox().find(bad), std::string::npos);
  EXPECT_EQ(host.boxes.boxes.back().style, BoxKind::kError);
}

TEST_F(Mux410PageTest, FileOfNoMux410SectionsIsRefusedAndACutOneLoadsWithAWarning) {
  QTemporaryDir dir;
  const std::string junk = QDir(dir.path()).filePath("junk.MUX").toStdString();
  const std::string cut = QDir(dir.path()).filePath("cut.MUX").toStdString();
  test::WriteFile(junk, "[MainSettings]\r\nTop=1\r\n");
  test::WriteFile(cut, "[CONFIGFILE]\r\nTEXT=41\r\n[NAVI]\r\nTYPE=2\r\n[MODE]\r\nPULSETO=500\r\n");
  FillImage(page.image());
  page.ImageToControls();

  EXPECT_NE(page.ReadConfigFile(Mux(), junk), PageOutcome::kDone);
  EXPECT_EQ(host.boxes.boxes.back().style, BoxKind::kError);
  EXPECT_EQ(host.LastBox(),
            "The file \"" + junk + "\" is not a configuration file of the device \"MUX-410\"");
  EXPECT_EQ(page.image().events.count(), 2);  // the page keeps what it showed
  EXPECT_EQ(w().naviType->currentIndex(), 3);

  ASSERT_EQ(page.ReadConfigFile(Mux(), cut), PageOutcome::kDone);
  EXPECT_EQ(host.boxes.boxes.back().style, BoxKind::kWarning);
  EXPECT_NE(host.LastBox().find("lacks the sections DPAR, INPUT"), std::string::npos);
  EXPECT_EQ(w().naviType->currentIndex(), 2);
  EXPECT_EQ(page.image().events.count(), 0);
}

TEST_F(Mux410PageTest, LanguageSwitchStoresTheEventAndShowsItAgain) {
  FillImage(page.image());
  page.ImageToControls();
  w().events->tabBar()->setCurrentIndex(1);
  w().events->commandEdit()->setText("12");
  page.BeforeLanguageSwitch();
  host.catalogue().setLanguage(kRussian);
  w().events->commandEdit()->setText("");
  page.AfterLanguageSwitch();
  EXPECT_EQ(w().events->tabBar()->currentIndex(), 1);
  EXPECT_EQ(w().events->commandEdit()->text(), "12");
  EXPECT_EQ(w().events->title(), " Всего событий 2 из 96 ");
}

}  // namespace
}  // namespace qvr::mux410
