#include "devices/common/ui/page_actions.h"

#include <QComboBox>

#include "devices/common/device_commands.h"
#include "devices/common/ui/list_texts.h"
#include "devices/common/ui/page_host.h"
#include "link/host.h"

namespace qvr {
LinkResult ReadCurrentInputInto(PageHost& host, const DeviceModule& module, uint8_t command,
                                QComboBox* list) {
  uint8_t input = 0;
  const LinkResult result =
      ReadDeviceValue(host.link(), host.host(), host.catalogue(), &module, command, &input, 1);
  if (result == LinkOk) SetListValue(list, input);
  return result;
}

LinkResult SendCurrentInput(PageHost& host, const DeviceModule& module, uint8_t command,
                            const QComboBox* list) {
  if (list->currentIndex() < 0) return LinkOk;
  const Operation operation = host.EnterOperation();
  const uint8_t input = uint8_t(list->currentIndex());
  return SendDeviceCommand(host.link(), host.host(), host.catalogue(), &module, command, &input, 1);
}

bool RunNaviAutoSetup(PageHost& host, const DeviceModule& module, uint8_t command,
                      QComboBox* naviTypeList) {
  const Operation operation = host.EnterOperation();
  const BoxAnswer answer =
      host.host().ShowMessageBox(BoxStyle{BoxKind::kQuestion, DefaultButton::kNo},
                                 host.catalogue().Text(MessageId::kNaviAutoSetupQuestion));
  if (answer != BoxAnswer::kYes) return false;
  const LinkResult sent =
      SendDeviceCommand(host.link(), host.host(), host.catalogue(), &module, command, nullptr, 0);
  // The type the device finds shows after the next read; until then the list says "Unknown".
  SetListValue(naviTypeList, 0);
  return sent == LinkOk;
}

}  // namespace qvr
