#pragma once
// The controls of the MUX-410 page, named as the translation table and the window know them.
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
class Catalogue;
class DescriptionMemo;
class EventEditor;
class EventTable;
class PageHost;
}  // namespace qvr

namespace qvr::mux410 {

// dparFlags bits 0..5, in bit order.
enum DparBit { kBitCir, kBitTpx, kBitLx570, kBitGabar, kBitResGvif, kBitActPa, kDparBitCount };

struct PageWidgets {
  QGroupBox* descriptionGroup;   // GroupBoxDescriptionMUX410
  DescriptionMemo* description;  // MemoDescriptionMUX410

  QComboBox* mode;         // ComboBoxModeMUX410
  QToolButton* getPaType;  // SpeedButtonGetPATypeMUX410
  std::array<QCheckBox*, kDparBitCount> dpar;

  QComboBox* naviType;
  QToolButton* naviAuto;
  QComboBox* naviInput;
  QComboBox* naviMute;
  QCheckBox* allTouch;
  QCheckBox* beep;

  QLineEdit* powerOnTimeout;  // EditPowerOnTO_MUX410, also the raw command's input
  QComboBox* onPowerOn;
  QComboBox* gvifMode;
  QLineEdit* pulseTimeout;  // Edit_PulseTO_MUX410

  QListWidget* skipInputs;  // CheckListBoxSkipInput_MUX410
  QLabel* firstInputLabel;  // PanelFirstInput_MUX410
  QComboBox* firstInput;
  QLabel* currentInputLabel;  // PanelCurrentInput_MUX410
  QComboBox* currentInput;

  QToolButton* camOn;
  QToolButton* camOff;
  QToolButton* map;
  QToolButton* log;
  QToolButton* raw;
  QToolButton* set;

  EventEditor* events;
};

// Builds every control of the page inside `page` (about 776 x 480), lists from the
// translation table in the current language, debug buttons as the host's debug mode says.
PageWidgets BuildPageWidgets(PageHost& host, EventTable& events, QWidget* page);
// The debug buttons' hints in the catalogue's language (after a switch too).
void ShowDebugHints(const PageWidgets& w, const Catalogue& catalogue);

}  // namespace qvr::mux410
