#pragma once
// The controls of the TPX-520 page, named as the translation table and the window know them.
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;
class QWidget;

namespace qvr {
class DescriptionMemo;
class EventEditor;
class EventTable;
class PageHost;
}  // namespace qvr

namespace qvr::tpx520 {

// The touch block's values in the device's order.
enum TouchValue {
  kLineXPlus,
  kLineXMinus,
  kLineYPlus,
  kLineYMinus,
  kCornerXMin,
  kCornerYMin,
  kCornerXMax,
  kCornerYMax,
  kTouchValueCount
};

struct PageWidgets {
  QGroupBox* descriptionGroup;   // GroupBoxDescriptionTPX520
  DescriptionMemo* description;  // MemoDescriptionTPX520

  std::array<QLabel*, kTouchValueCount> touchValues;  // PanelXPLS_TPX520 ... in TouchValue order
  QToolButton* touchAuto;                             // SpeedButtonTouchAuto_TPX520
  QCheckBox* onlyExtTouch;
  QCheckBox* sendTo;  // CheckBoxSENDTO_TPX520x

  QComboBox* naviType;
  QToolButton* naviAuto;
  QComboBox* naviInput;

  QLineEdit* powerOnTimeout;  // EditOnPowerTOmS_TPX520
  QComboBox* onPowerOn;
  QComboBox* outPulseMode;
  QLineEdit* pulseTimeout;  // EditPulseTOmS_TPX520

  QGroupBox* inpCtrType;  // RadioGroupInpCtrType_TPX520
  QGroupBox* outCtrType;
  QGroupBox* muteType;

  QListWidget* inputMask;     // CheckListBoxInputMASK_TPX520
  QLabel* currentInputLabel;  // PanelCurrentInput_TPX520
  QComboBox* currentInput;

  EventEditor* events;
};

// Builds every control of the page inside `page` (about 776 x 480), lists from the
// translation table in the current language.
PageWidgets BuildPageWidgets(PageHost& host, EventTable& events, QWidget* page);

}  // namespace qvr::tpx520
