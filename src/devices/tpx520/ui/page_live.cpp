// Live actions of the TPX-520 page: the current input and the device's own setups.
#include <QComboBox>

#include "devices/common/ui/page_actions.h"
#include "devices/tpx520/ui/page.h"
#include "i18n/catalogue.h"
#include "link/device_commands.h"
#include "link/host.h"

namespace qvr::tpx520 {
namespace {

constexpr uint8_t kCmdTouchSetup = 19;
constexpr uint8_t kCmdNaviSetup = 20;
constexpr int kMsgAskTouchSetup = 84;

}  // namespace

int Page::ReadCurrentInput() {
  return ReadCurrentInputInto(host_, kPageTpx520, kCmdCurrentInput, currentInput_);
}

void Page::SelectCurrentInput() {
  (void)SendCurrentInput(host_, kPageTpx520, kCmdCurrentInput, currentInput_);
}

void Page::RunNaviAutoSetup() {
  qvr::RunNaviAutoSetup(host_, kPageTpx520, kCmdNaviSetup, naviType_);
}

void Page::RunTouchLineSetup() {
  const PageOperation operation(host_);
  const BoxAnswer answer = host_.host().ShowMessageBox(
      BoxStyle{BoxKind::kQuestion, DefaultButton::kNo}, host_.catalogue().Text(kMsgAskTouchSetup));
  if (answer != BoxAnswer::kYes) return;
  // The device runs the setup by itself; its lines and corners show after the next read.
  (void)SendDeviceCommand(host_.link(), host_.host(), host_.catalogue(), &Module(), kCmdTouchSetup,
                          nullptr, 0);
}

}  // namespace qvr::tpx520
