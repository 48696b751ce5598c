#pragma once
// Live actions both device pages share: the current input (read on double click, sent on the
// user's choice) and the navigation-type auto-setup. Requests go to the device of `page`
// through the command wrappers, which show their own error boxes.
#include <cstdint>

class QComboBox;

namespace qvr {

class PageHost;

// ReadDeviceValue(command, 1 byte) into `list` without its change handler; the result code.
int ReadCurrentInputInto(PageHost& host, int page, uint8_t command, QComboBox* list);
// SendDeviceCommand(command, 1 byte: the list's selected index); nothing without a selection.
int SendCurrentInput(PageHost& host, int page, uint8_t command, const QComboBox* list);
// Question "run the automatic setup type navigator?" (No default); on Yes sends `command`
// without data and selects item 0 of `naviTypeList` whatever the result. False on No.
bool RunNaviAutoSetup(PageHost& host, int page, uint8_t command, QComboBox* naviTypeList);

}  // namespace qvr
