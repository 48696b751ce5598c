#pragma once
// Field checks on widgets: store a control's value into 1, 2 or 4 bytes of an image, or show
// the field's error box, select and focus the control, move the mouse pointer onto it, and
// answer invalid. 0 = stored, 1 = refused (the caller abandons its operation).
#include <cstdint>

class QLineEdit;
class QWidget;

namespace qvr {

class Catalogue;
class Host;

struct FieldContext {
  Host& host;
  const Catalogue& catalogue;
};

// Text that is not a signed decimal integer is a conversion failure: one error box
// "'%s' is not a valid integer value" and 1, with nothing stored.
int CheckNumberEdit(FieldContext ctx, QLineEdit* edit, int32_t minimum, int32_t maximum,
                    uint8_t* destination, int width);
int CheckSecondsEdit(FieldContext ctx, QLineEdit* edit, int32_t minimumMs, int32_t maximumMs,
                     uint8_t* destination, int width);
// A QComboBox, or a QGroupBox of QRadioButtons; the index of the selected item is stored.
int CheckSelection(FieldContext ctx, QWidget* control, uint8_t* destination, int width);

}  // namespace qvr
