#pragma once
// Field checks on widgets: store a control's value into 1, 2 or 4 bytes of an image, or show
// the field's error box, select and focus the control, move the mouse pointer onto it, and
// answer invalid. 0 = stored, 1 = refused (the caller abandons its operation).
#include <cstdint>
#include <string>

class QLineEdit;
class QWidget;

namespace qvr {

class Catalogue;
class Host;

struct FieldContext {
  Host& host;
  const Catalogue& catalogue;
  unsigned event = 0;  // the event (from 1) whose field is checked; 0 outside the event editor
};

// "Event 3, field "Address"" (or without the event or the name where there is none), in the
// catalogue's language: what an error box about `control` names.
std::string FieldTitle(const FieldContext& ctx, const QWidget* control);

// Typing into a number field takes digits only, at most `digits` of them.
void AcceptDigits(QLineEdit* edit, int digits);
// Typing into a seconds field takes digits with one decimal separator (point or comma); with
// `rawHex` also up to four hexadecimal digits (the debug raw command reads the field so).
void AcceptSeconds(QLineEdit* edit, bool rawHex = false);

// Text that is not a signed decimal integer is a conversion failure: one error box
// "'%s' is not a valid integer value" and 1, with nothing stored.
int CheckNumberEdit(FieldContext ctx, QLineEdit* edit, int32_t minimum, int32_t maximum,
                    uint8_t* destination, int width);
int CheckSecondsEdit(FieldContext ctx, QLineEdit* edit, int32_t minimumMs, int32_t maximumMs,
                     uint8_t* destination, int width);
// A QComboBox, or a QGroupBox of QRadioButtons; the index of the selected item is stored.
int CheckSelection(FieldContext ctx, QWidget* control, uint8_t* destination, int width);

}  // namespace qvr
