// Live actions of the TPX-520 page: the current input and the device's own setups.
#include "devices/tpx520/ui/live_actions.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QToolButton>

#include "devices/common/device_commands.h"
#include "devices/common/ui/page_actions.h"
#include "devices/common/ui/page_host.h"
#include "devices/tpx520/config_image.h"
#include "devices/tpx520/driver.h"
#include "i18n/catalogue.h"
#include "link/host.h"

namespace qvr::tpx520 {
namespace {

constexpr uint8_t kCmdTouchSetup = 19;
constexpr uint8_t kCmdNaviSetup = 20;

}  // namespace

LiveActions::LiveActions(PageHost& host, const PageWidgets& widgets) : host_(host), w_(widgets) {
  connect(w_.currentInput, &QComboBox::activated, this, [this] { SendCurrentInput(); });
  connect(w_.naviAuto, &QToolButton::clicked, this, [this] { RunNaviAutoSetup(); });
  connect(w_.touchAuto, &QToolButton::clicked, this, [this] { RunTouchLineSetup(); });
  w_.currentInputLabel->installEventFilter(this);
}

bool LiveActions::eventFilter(QObject* watched, QEvent* event) {
  if (watched != w_.currentInputLabel || event->type() != QEvent::MouseButtonDblClick) {
    return false;
  }
  (void)ReadCurrentInput();
  return true;
}

LinkResult LiveActions::ReadCurrentInput() {
  return ReadCurrentInputInto(host_, kModule, kCmdCurrentInput, w_.currentInput);
}

void LiveActions::SendCurrentInput() {
  (void)qvr::SendCurrentInput(host_, kModule, kCmdCurrentInput, w_.currentInput);
}

void LiveActions::RunNaviAutoSetup() {
  if (qvr::RunNaviAutoSetup(host_, kModule, kCmdNaviSetup, w_.naviType) && naviSetupStarted)
    naviSetupStarted();
}

void LiveActions::RunTouchLineSetup() {
  const Operation operation = host_.EnterOperation();
  const BoxAnswer answer =
      host_.host().ShowMessageBox(BoxStyle{BoxKind::kQuestion, DefaultButton::kNo},
                                  host_.catalogue().Text(MessageId::kTouchSetupQuestion));
  if (answer != BoxAnswer::kYes) return;
  // The device runs the setup by itself; its lines and corners show after the next read.
  if (SendDeviceCommand(host_.link(), host_.host(), host_.catalogue(), &kModule, kCmdTouchSetup,
                        nullptr, 0) == LinkOk &&
      touchSetupStarted)
    touchSetupStarted();
}

}  // namespace qvr::tpx520
