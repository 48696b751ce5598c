#include "devices/tpx520/ui/tpx520_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include "devices/common/ui/description_memo.h"
#include "devices/common/ui/event_editor.h"
#include "devices/common/ui/list_texts.h"
#include "devices/common/ui/page_actions.h"
#include "devices/common/ui/page_writes.h"
#include "devices/tpx520/config_file.h"
#include "devices/tpx520/transfer.h"
#include "devices/tpx520/ui/create_page.h"
#include "devices/common/ui/page_builder.h"
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

DevicePage* CreatePage(PageHost& host, QWidget* parent) {
  return new Page(host, parent);
}

Page::Page(PageHost& host, QWidget* parent)
    : ImagePage(host,
                {ReadConfiguration, WriteConfiguration, PrepareForDevice, tpx520::ReadConfigFile,
                 tpx520::WriteConfigFile, tpx520::ImageFields},
                parent) {
  setObjectName("PageTPX520");
  BuildPage();
  MarkLiveControl(currentInput_);
  WatchEdits();
}

FieldContext Page::Fields() {
  return FieldContext{host_.host(), host_.catalogue()};
}

const DeviceModule& Page::Module() const {
  return kDeviceModules[kPageTpx520];
}

void Page::InitPage() {
  image_.Clear();
  ShowTouchBlock();
  editor_->SelectFirstItems();
  editor_->RebuildEventTabs(0);
}

void Page::AfterLanguageSwitch() {
  ImagePage::AfterLanguageSwitch();
  ShowTouchBlock();  // the hint in the new language
}

// Values not read from the device (a file holds none) are not shown as zeros: a write leaves
// the device's own in place, and the panels stay empty with a hint that says so.
void Page::ShowTouchBlock() {
  const int values[8] = {image_.touchLine(0), image_.touchLine(1), image_.touchLine(2),
                         image_.touchLine(3), image_.cornerXMin(), image_.cornerYMin(),
                         image_.cornerXMax(), image_.cornerYMax()};
  const bool shown = image_.touchFromDevice;
  const QString hint =
      shown ? QString()
            : QString::fromUtf8(Text(host_.catalogue(), AddedText::kTouchLinesKeptByDevice));
  for (size_t i = 0; i < touchPanels_.size(); ++i) {
    touchPanels_[i]->setText(shown ? QString::number(values[i]) : QString());
    touchPanels_[i]->setToolTip(hint);
  }
  touchPanels_[0]->parentWidget()->setToolTip(hint);
}

void Page::ImageToControls() {
  memo_->ShowTexts(image_);
  ShowTouchBlock();
  SetListValue(naviType_, image_.naviType());
  SetListValue(naviInput_, image_.naviInput());
  SetSeconds(powerOnTimeout_, uint32_t(image_.powerOnTimeout()) + kPowerOnOffsetMs);
  SetListValue(onPowerOn_, image_.onPowerOn());
  SetListValue(outPulseMode_, image_.outPulseMode());
  SetSeconds(pulseTimeout_, image_.pulseTimeout());
  SetRadioIndex(inpCtrType_, image_.inpCtrType());
  SetRadioIndex(outCtrType_, image_.outCtrType());
  SetRadioIndex(muteType_, image_.muteType());
  SetCheck(sendTo_, image_.sendTo());
  SetCheck(onlyExtTouch_, image_.onlyExtTouch());
  SetCheckMask(inputMask_, image_.inputMask(), 0);
  editor_->RebuildEventTabs(0);
}

int Page::StoreSelections() {
  const FieldContext fields = Fields();
  if (CheckSelection(fields, naviType_, &image_.naviType(), 1)) return 1;
  return CheckSelection(fields, naviInput_, &image_.naviInput(), 1);
}

int Page::StoreTimes() {
  const FieldContext fields = Fields();
  uint8_t milliseconds[2] = {};
  if (CheckSecondsEdit(fields, powerOnTimeout_, kPowerOnMinMs, kPowerOnMaxMs, milliseconds, 2)) {
    return 1;
  }
  image_.setPowerOnTimeout(uint16_t(GetU16(milliseconds) - kPowerOnOffsetMs));
  if (CheckSelection(fields, onPowerOn_, &image_.onPowerOn(), 1)) return 1;
  if (CheckSelection(fields, outPulseMode_, &image_.outPulseMode(), 1)) return 1;
  if (CheckSecondsEdit(fields, pulseTimeout_, kPulseMinMs, kPulseMaxMs, &image_.mode[4], 2)) {
    return 1;
  }
  if (CheckSelection(fields, inpCtrType_, &image_.inpCtrType(), 1)) return 1;
  if (CheckSelection(fields, outCtrType_, &image_.outCtrType(), 1)) return 1;
  return CheckSelection(fields, muteType_, &image_.muteType(), 1);
}

void Page::StoreChecks() {
  image_.sendTo() = sendTo_->isChecked() ? 1 : 0;
  image_.onlyExtTouch() = onlyExtTouch_->isChecked() ? 1 : 0;
  image_.inputMask() = CheckMask(inputMask_, 0);
}

int Page::ControlsToImage() {
  memo_->StoreInto(image_);
  if (StoreSelections() || StoreTimes()) return 1;
  StoreChecks();
  return editor_->SaveCurrentEvent();
}

bool Page::eventFilter(QObject* watched, QEvent* event) {
  if (watched == currentInputCaption_ && event->type() == QEvent::MouseButtonDblClick) {
    (void)ReadCurrentInput();
    return true;
  }
  return DevicePage::eventFilter(watched, event);
}

}  // namespace qvr::tpx520
