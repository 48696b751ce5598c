#include "devices/tpx520/ui/tpx520_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include "devices/common/ui/description_memo.h"
#include "devices/common/ui/event_editor.h"
#include "devices/common/ui/list_texts.h"
#include "devices/common/ui/page_builder.h"
#include "devices/common/ui/page_writes.h"
#include "devices/tpx520/config_file.h"
#include "devices/tpx520/driver.h"
#include "devices/tpx520/transfer.h"
#include "devices/tpx520/ui/live_actions.h"
#include "editors/conversions.h"
#include "i18n/added_texts.h"
#include "i18n/catalogue.h"
#include "link/bytes.h"
#include "link/host.h"

namespace qvr::tpx520 {
namespace {

void SetSeconds(QLineEdit* edit, uint32_t milliseconds) {
  edit->setText(QString::fromStdString(SecondsText(milliseconds)));
}

void SetCheck(QCheckBox* check, uint8_t value) {
  const QSignalBlocker blocker(check);
  check->setChecked(value != 0);
}

}  // namespace

Page::Page(PageHost& host, QWidget* parent) : ImagePage(host, kConfigDriver, parent) {
  setObjectName("PageTPX520");
  w_ = BuildPageWidgets(host_, image_.events, this);
  actions_ = std::make_unique<LiveActions>(host_, w_);
  actions_->naviSetupStarted = [this] { NaviSetupStarted(); };
  actions_->touchSetupStarted = [this] { TouchSetupStarted(); };
  KeepNaviOnUnitAfterSetup({w_.naviType, w_.naviInput});
  MarkLiveControl(w_.currentInput);
  WatchEdits();
}

Page::~Page() = default;

FieldContext Page::Fields() {
  return FieldContext{host_.host(), host_.catalogue()};
}

void Page::InitPage() {
  image_.Clear();
  ShowTouchBlock();
  w_.events->SelectFirstItems();
  w_.events->RebuildEventTabs(0);
}

void Page::AfterLanguageSwitch() {
  ImagePage::AfterLanguageSwitch();
  ShowTouchBlock();  // the hint in the new language
}

// Values not read from the device (a file holds none) are not shown as zeros: a write leaves
// the device's own in place, and the panels stay empty with a hint that says so.
void Page::ShowTouchBlock() {
  const int values[kTouchValueCount] = {
      image_.touchLine(0), image_.touchLine(1), image_.touchLine(2), image_.touchLine(3),
      image_.cornerXMin(), image_.cornerYMin(), image_.cornerXMax(), image_.cornerYMax()};
  const bool shown = image_.touchFromDevice;
  const QString hint =
      shown ? QString()
            : QString::fromUtf8(Text(host_.catalogue(), AddedText::kTouchLinesKeptByDevice));
  for (size_t i = 0; i < w_.touchValues.size(); ++i) {
    w_.touchValues[i]->setText(shown ? QString::number(values[i]) : QString());
    w_.touchValues[i]->setToolTip(hint);
  }
  w_.touchValues[0]->parentWidget()->setToolTip(hint);
}

// The unit finds its lines and corners by itself: until a read shows them, a write leaves the
// touch block out so that they stay.
void Page::TouchSetupStarted() {
  image_.touchFromDevice = false;
  touchSetupRan_ = true;
  ShowTouchBlock();
  host_.host().LogLine(Text(host_.catalogue(), AddedText::kTouchKeptOnUnit));
}

std::vector<std::string> Page::KeptOnUnitNotes() {
  std::vector<std::string> notes = ImagePage::KeptOnUnitNotes();
  if (touchSetupRan_ && !image_.touchFromDevice)
    notes.insert(notes.begin(), Text(host_.catalogue(), AddedText::kTouchKeptOnUnit));
  return notes;
}

void Page::ImageToControls() {
  touchSetupRan_ = false;
  w_.description->ShowTexts(image_);
  ShowTouchBlock();
  SetListValue(w_.naviType, image_.naviType());
  SetListValue(w_.naviInput, image_.naviInput());
  SetSeconds(w_.powerOnTimeout, uint32_t(image_.powerOnTimeout()) + kPowerOnOffsetMs);
  SetListValue(w_.onPowerOn, image_.onPowerOn());
  SetListValue(w_.outPulseMode, image_.outPulseMode());
  SetSeconds(w_.pulseTimeout, image_.pulseTimeout());
  SetRadioIndex(w_.inpCtrType, image_.inpCtrType());
  SetRadioIndex(w_.outCtrType, image_.outCtrType());
  SetRadioIndex(w_.muteType, image_.muteType());
  SetCheck(w_.sendTo, image_.sendTo());
  SetCheck(w_.onlyExtTouch, image_.onlyExtTouch());
  SetCheckMask(w_.inputMask, image_.inputMask(), 0);
  w_.events->RebuildEventTabs(0);
}

int Page::StoreSelections() {
  const FieldContext fields = Fields();
  if (CheckSelection(fields, w_.naviType, &image_.naviType(), 1)) return 1;
  return CheckSelection(fields, w_.naviInput, &image_.naviInput(), 1);
}

int Page::StoreTimes() {
  const FieldContext fields = Fields();
  uint8_t milliseconds[2] = {};
  if (CheckSecondsEdit(fields, w_.powerOnTimeout, kPowerOnMinMs, kPowerOnMaxMs, milliseconds, 2)) {
    return 1;
  }
  image_.setPowerOnTimeout(uint16_t(GetU16(milliseconds) - kPowerOnOffsetMs));
  if (CheckSelection(fields, w_.onPowerOn, &image_.onPowerOn(), 1)) return 1;
  if (CheckSelection(fields, w_.outPulseMode, &image_.outPulseMode(), 1)) return 1;
  if (CheckSecondsEdit(fields, w_.pulseTimeout, kPulseMinMs, kPulseMaxMs, &image_.mode[4], 2)) {
    return 1;
  }
  if (CheckSelection(fields, w_.inpCtrType, &image_.inpCtrType(), 1)) return 1;
  if (CheckSelection(fields, w_.outCtrType, &image_.outCtrType(), 1)) return 1;
  return CheckSelection(fields, w_.muteType, &image_.muteType(), 1);
}

void Page::StoreChecks() {
  image_.sendTo() = w_.sendTo->isChecked() ? 1 : 0;
  image_.onlyExtTouch() = w_.onlyExtTouch->isChecked() ? 1 : 0;
  image_.inputMask() = CheckMask(w_.inputMask, 0);
}

int Page::ControlsToImage() {
  w_.description->StoreInto(image_);
  if (StoreSelections() || StoreTimes()) return 1;
  StoreChecks();
  return w_.events->SaveCurrentEvent();
}

LinkResult Page::ReadCurrentInput() {
  return actions_->ReadCurrentInput();
}

}  // namespace qvr::tpx520
