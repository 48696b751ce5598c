#pragma once
// Field checks on widgets: store a control's value into 1, 2 or 4 bytes of an image, or show
// the field's error box, select and focus the control, move the mouse pointer onto it, and
// answer invalid. 0 = stored, 1 = refused.
#include <cstdint>
#include <stdexcept>
#include <string>

class QLineEdit;
class QWidget;

namespace qvr {

class Catalogue;
class Host;

// Thrown by CheckNumberEdit for text that is not an integer ("'%s' is not a valid integer
// value"); the operation that called the check catches it at its top, shows one error box and
// abandons, with nothing stored.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct FieldContext {
  Host& host;
  const Catalogue& catalogue;
};

int CheckNumberEdit(FieldContext ctx, QLineEdit* edit, int32_t minimum, int32_t maximum,
                    uint8_t* destination, int width);
int CheckSecondsEdit(FieldContext ctx, QLineEdit* edit, int32_t minimumMs, int32_t maximumMs,
                     uint8_t* destination, int width);
// A QComboBox, or a QGroupBox of radio buttons; the index of the selected item is stored.
int CheckSelection(FieldContext ctx, QWidget* control, uint8_t* destination, int width);

// Runs `operation`; a ConversionError inside it is shown as one error box and gives 1.
template <typename F>
int GuardConversion(FieldContext ctx, F&& operation);

}  // namespace qvr

#include "editors/ui/field_checks_inl.h"
