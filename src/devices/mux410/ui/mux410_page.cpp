#include "devices/mux410/ui/mux410_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <vector>

#include "devices/common/ui/description_memo.h"
#include "devices/common/ui/event_editor.h"
#include "devices/common/ui/list_texts.h"
#include "devices/common/ui/page_host.h"
#include "devices/common/ui/page_writes.h"
#include "devices/mux410/config_file.h"
#include "devices/mux410/driver.h"
#include "devices/mux410/transfer.h"
#include "devices/mux410/ui/live_actions.h"
#include "editors/conversions.h"
#include "editors/ui/field_checks.h"
#include "editors/ui/field_names.h"
#include "i18n/catalogue.h"
#include "i18n/cp1251.h"
#include "link/bytes.h"
#include "link/host.h"

namespace qvr::mux410 {
namespace {

constexpr int kSkipFirstBit = 1;  // item "2nd" is bit 1: input 1 is never skipped

enum Mode { kPrior2010, kActivePa, kPassivePa, kEmulationPa, kExternalDvd, kExternalTv };

}  // namespace

Page::Page(PageHost& host, QWidget* parent) : ImagePage(host, kConfigDriver, parent) {
  setObjectName("PageMUX410");
  w_ = BuildPageWidgets(host_, image_.events, this);
  actions_ = std::make_unique<LiveActions>(host_, w_);
  actions_->naviSetupStarted = [this] { NaviSetupStarted(); };
  KeepNaviOnUnitAfterSetup({w_.naviType, w_.naviInput, w_.naviMute});
  connect(w_.mode, &QComboBox::activated, this, [this] { UpdateModeControls(); });
  w_.events->RebuildEventTabs(0);
  MarkLiveControl(w_.currentInput);
  WatchEdits();
}

Page::~Page() = default;

void Page::InitPage() {
  image_.Clear();
  w_.events->SelectFirstItems();
  UpdateModeControls();
  w_.events->ShowCurrentEvent();
  // Both pages exist by now (the window creates them before initialising either).
  actions_->BindDescriptionDumpTo(window()->findChild<QGroupBox*>("GroupBoxDescriptionTPX520"));
}

void Page::AfterLanguageSwitch() {
  ImagePage::AfterLanguageSwitch();
  ShowDebugHints(w_, host_.catalogue());
  NameButtonsByHints(this);
}

LinkResult Page::ReadCurrentInput() {
  return actions_->ReadCurrentInput();
}

void Page::ImageToControls() {
  w_.description->ShowTexts(image_);
  SetListValue(w_.onPowerOn, image_.onPowerOn());
  SetListValue(w_.gvifMode, image_.outPulseMode());
  w_.powerOnTimeout->setText(
      QString::fromStdString(SecondsText(image_.powerOnTimeout() + kPowerOnOffsetMs)));
  w_.pulseTimeout->setText(QString::fromStdString(SecondsText(image_.pulseTimeout())));
  SetListValue(w_.naviType, image_.naviType());
  SetListValue(w_.naviInput, image_.naviInput());
  SetListValue(w_.naviMute, image_.naviMute());
  w_.beep->setChecked(image_.naviFlags() & 1);
  w_.allTouch->setChecked(image_.naviFlags() & 2);
  SetListValue(w_.mode, image_.iebusMode());
  SetListValue(w_.firstInput, image_.returnInput());
  for (int bit = 0; bit < kDparBitCount; ++bit) {
    w_.dpar[size_t(bit)]->setChecked(image_.dparFlags() & (1 << bit));
  }
  SetCheckMask(w_.skipInputs, image_.inputMask(), kSkipFirstBit);
  UpdateModeControls();
  w_.events->RebuildEventTabs(0);
}

int Page::StoreParameters() {
  FieldContext ctx{host_.host(), host_.catalogue()};
  if (CheckSelection(ctx, w_.mode, &image_.iebusMode(), 1) ||
      CheckSelection(ctx, w_.naviType, &image_.naviType(), 1) ||
      CheckSelection(ctx, w_.naviInput, &image_.naviInput(), 1) ||
      CheckSelection(ctx, w_.naviMute, &image_.naviMute(), 1)) {
    return 1;
  }
  image_.naviFlags() = uint8_t((w_.beep->isChecked() ? 1 : 0) | (w_.allTouch->isChecked() ? 2 : 0));

  uint8_t ms[2] = {};
  if (CheckSecondsEdit(ctx, w_.powerOnTimeout, kPowerOnMinMs, kPowerOnMaxMs, ms, 2)) return 1;
  image_.setPowerOnTimeout(uint16_t(GetU16(ms) - kPowerOnOffsetMs));
  if (CheckSelection(ctx, w_.onPowerOn, &image_.onPowerOn(), 1) ||
      CheckSelection(ctx, w_.gvifMode, &image_.outPulseMode(), 1)) {
    return 1;
  }
  if (CheckSecondsEdit(ctx, w_.pulseTimeout, kPulseMinMs, kPulseMaxMs, ms, 2)) return 1;
  image_.setPulseTimeout(GetU16(ms));
  return CheckSelection(ctx, w_.firstInput, &image_.returnInput(), 1);
}

int Page::ControlsToImage() {
  w_.description->StoreInto(image_);
  if (StoreParameters() != 0) return 1;
  uint8_t flags = image_.dparFlags() & 0xC0;  // bits 6 and 7 belong to the device
  for (int bit = 0; bit < kDparBitCount; ++bit) {
    if (w_.dpar[size_t(bit)]->isChecked()) flags |= uint8_t(1 << bit);
  }
  image_.dparFlags() = flags;
  image_.inputMask() = CheckMask(w_.skipInputs, kSkipFirstBit);
  return w_.events->SaveCurrentEvent();
}

void Page::UpdateModeControls() {
  QWidget* cir = w_.dpar[kBitCir];
  QWidget* tpx = w_.dpar[kBitTpx];
  const std::vector<QWidget*> all = {w_.getPaType,
                                     cir,
                                     tpx,
                                     w_.dpar[kBitLx570],
                                     w_.dpar[kBitGabar],
                                     w_.dpar[kBitResGvif],
                                     w_.dpar[kBitActPa],
                                     w_.allTouch,
                                     w_.firstInputLabel,
                                     w_.firstInput};
  for (QWidget* widget : all) widget->setVisible(false);

  std::vector<QWidget*> shown;
  switch (w_.mode->currentIndex()) {
    case kPrior2010:
      shown = {cir, tpx, w_.allTouch};
      break;
    case kActivePa:
      shown = {w_.getPaType, cir, tpx, w_.dpar[kBitResGvif], w_.firstInputLabel, w_.firstInput};
      break;
    case kPassivePa:
      shown = {w_.getPaType,
               cir,
               tpx,
               w_.dpar[kBitLx570],
               w_.dpar[kBitActPa],
               w_.dpar[kBitGabar],
               w_.firstInputLabel,
               w_.firstInput};
      break;
    case kEmulationPa:
    case kExternalDvd:
    case kExternalTv:
      shown = {cir, tpx, w_.firstInputLabel, w_.firstInput};
      break;
    default:
      break;
  }
  for (QWidget* widget : shown) widget->setVisible(true);
}

}  // namespace qvr::mux410
