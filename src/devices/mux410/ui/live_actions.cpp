#include "devices/mux410/ui/live_actions.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <iterator>

#include "devices/common/device_commands.h"
#include "devices/common/ui/description_memo.h"
#include "devices/common/ui/list_texts.h"
#include "devices/common/ui/page_actions.h"
#include "devices/common/ui/page_host.h"
#include "devices/mux410/driver.h"
#include "devices/mux410/transfer.h"
#include "devices/mux410/ui/iebus_log.h"
#include "editors/conversions.h"
#include "i18n/catalogue.h"
#include "link/connection_monitor.h"
#include "link/scoped_value.h"

namespace qvr::mux410 {
namespace {

constexpr uint8_t kCmdIebusEntry = 16, kCmdNaviAuto = 21, kCmdMap = 23, kCmdCamera = 24,
                  kCmdPaType = 26, kCmdRaw = 31, kCmdSet = 32;
constexpr uint8_t kDescriptionAddress = 1;
// The kinds of PA, in the order the device numbers them.
constexpr MessageId kPaTypeTexts[] = {MessageId::kPaTypeUnknown, MessageId::kPaTypeActive,
                                      MessageId::kPaTypePassive};
constexpr unsigned kReplyCapacity = 65;

const DeviceModule* Mux410() {
  return &kModule;
}

}  // namespace

LiveActions::LiveActions(PageHost& host, const PageWidgets& widgets) : host_(host), w_(widgets) {
  connect(w_.currentInput, &QComboBox::activated, this, [this] { SendCurrentInput(); });
  connect(w_.getPaType, &QToolButton::clicked, this, [this] { AskPaType(); });
  connect(w_.naviAuto, &QToolButton::clicked, this, [this] { RunNaviAutoSetup(); });
  connect(w_.camOn, &QToolButton::clicked, this, [this] { CamOn(); });
  connect(w_.camOff, &QToolButton::clicked, this, [this] { CamOff(); });
  connect(w_.map, &QToolButton::clicked, this, [this] { Map(); });
  connect(w_.raw, &QToolButton::clicked, this, [this] { Raw(); });
  connect(w_.set, &QToolButton::clicked, this, [this] { Set(); });
  connect(w_.log, &QToolButton::clicked, this, [this] { RunIebusLog(); });
  w_.currentInputLabel->installEventFilter(this);
  w_.descriptionGroup->installEventFilter(this);
}

bool LiveActions::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseButtonDblClick) return false;
  if (watched == w_.currentInputLabel) {
    (void)ReadCurrentInput();
    return true;
  }
  if (watched == w_.descriptionGroup || watched == otherDescriptionGroup_) {
    ShowDescriptionDump();
    return true;
  }
  return false;
}

void LiveActions::Send(uint8_t command, const uint8_t* data, unsigned length) {
  const Operation operation = host_.EnterOperation();
  (void)SendDeviceCommand(host_.link(), host_.host(), host_.catalogue(), Mux410(), command, data,
                          length);
}

LinkResult LiveActions::ReadCurrentInput() {
  return ReadCurrentInputInto(host_, kModule, kCmdCurrentInput, w_.currentInput);
}

void LiveActions::SendCurrentInput() {
  (void)qvr::SendCurrentInput(host_, kModule, kCmdCurrentInput, w_.currentInput);
}

void LiveActions::AskPaType() {
  const Operation operation = host_.EnterOperation();
  uint8_t type = 0;
  if (ReadDeviceValue(host_.link(), host_.host(), host_.catalogue(), Mux410(), kCmdPaType, &type,
                      1) != LinkOk) {
    return;
  }
  if (type >= std::size(kPaTypeTexts)) return;
  host_.host().ShowMessageBox(BoxKind::kInformation, host_.catalogue().Text(kPaTypeTexts[type]));
}

void LiveActions::RunNaviAutoSetup() {
  if (qvr::RunNaviAutoSetup(host_, kModule, kCmdNaviAuto, w_.naviType) && naviSetupStarted)
    naviSetupStarted();
}

void LiveActions::CamOn() {
  const uint8_t on = 1;
  Send(kCmdCamera, &on, 1);
}

void LiveActions::CamOff() {
  const uint8_t off = 0;
  Send(kCmdCamera, &off, 1);
}

void LiveActions::Map() {
  Send(kCmdMap, nullptr, 0);
}

void LiveActions::Raw() {
  uint8_t bytes[4] = {};
  if (HexDecode(w_.powerOnTimeout->text().toStdString(), 4, bytes) != 2) return;
  Send(kCmdRaw, bytes, 2);
}

void LiveActions::Set() {
  const uint8_t one = 1;
  Send(kCmdSet, &one, 1);
}

void LiveActions::BindDescriptionDumpTo(QObject* otherDescriptionGroup) {
  if (!otherDescriptionGroup || otherDescriptionGroup == otherDescriptionGroup_) return;
  otherDescriptionGroup_ = otherDescriptionGroup;
  otherDescriptionGroup->installEventFilter(this);
}

void LiveActions::ShowDescriptionDump() {
  if (!host_.monitor().connected() || !host_.debugMode()) return;
  const DeviceModule* active = host_.activeModule();
  if (!active) return;
  std::string hex;
  if (ReadDeviceDescription(host_.link(), host_.host(), host_.catalogue(), active,
                            kDescriptionAddress, hex) != LinkOk) {
    return;
  }
  w_.description->setPlainText(QString::fromStdString(hex));
}

void LiveActions::RunIebusLog() {
  if (logRunning_) return;
  const ScopedValue running(logRunning_, true);
  const int remembered = host_.activePage();
  host_.ShowControllerPage();
  unsigned long entries = 0;
  while (!host_.closing() && host_.controllerPageShown()) {
    host_.host().PumpMessages();
    // The pump may have closed the window or left the page; no exchange starts after that.
    if (host_.closing() || !host_.controllerPageShown()) break;
    uint8_t reply[kReplyCapacity] = {};
    unsigned length = kReplyCapacity;
    if (ReadDeviceReply(host_.link(), host_.host(), host_.catalogue(), kModule, kCmdIebusEntry,
                        reply, length) != LinkOk) {
      break;
    }
    if (length == kIebusEntrySize) {
      ++entries;
      uint8_t entry[kIebusEntrySize];
      std::copy(reply, reply + kIebusEntrySize, entry);
      host_.host().LogLine(FormatIebusLine(entry));
    }
    const std::string dots(size_t(host_.monitor().AdvanceLivenessDots()), '.');
    host_.setStatusText(host_.catalogue().Format(MessageId::kIebusStatus, entries, dots.c_str()));
  }
  host_.setActivePage(remembered);
}

}  // namespace qvr::mux410
