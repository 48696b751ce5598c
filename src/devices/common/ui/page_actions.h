#pragma once
// Live actions both device pages share: the current input (read on double click, sent on the
// user's choice) and the navigation-type auto-setup. Requests go to `module`'s device through
// the command wrappers, which show their own error boxes.
#include <cstdint>

#include "link/link_result.h"

class QComboBox;

namespace qvr {

class PageHost;
struct DeviceModule;

// ReadDeviceValue(command, 1 byte) into `list` without its change handler; the result code.
[[nodiscard]] LinkResult ReadCurrentInputInto(PageHost& host, const DeviceModule& module,
                                              uint8_t command, QComboBox* list);
// SendDeviceCommand(command, 1 byte: the list's selected index); nothing without a selection.
[[nodiscard]] LinkResult SendCurrentInput(PageHost& host, const DeviceModule& module,
                                          uint8_t command, const QComboBox* list);
// Question "run the automatic setup type navigator?" (No default); on Yes sends `command`
// without data and selects item 0 of `naviTypeList` whatever the result. True when the unit
// took the command and runs its setup (a failure has shown its box).
bool RunNaviAutoSetup(PageHost& host, const DeviceModule& module, uint8_t command,
                      QComboBox* naviTypeList);

}  // namespace qvr
