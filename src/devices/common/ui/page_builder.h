#pragma once
// Controls of a device page that the shared table helpers do not make: fixed captions of the
// touch values, the value panels, and radio groups with their selection.
#include <QString>

#include "i18n/catalogue.h"

class QGroupBox;
class QLabel;
class QWidget;

namespace qvr {

// A label whose text never changes with the language (its name ends in "x").
QLabel* MakeFixedCaption(const char* name, const QString& text, QWidget* parent);
// A sunken panel showing a decimal value, wide enough for 65535.
QLabel* MakeValuePanel(const char* name, QWidget* parent);
// A group box of radio buttons, one per item of its "_Items" row, in item order. The buttons
// are direct children of the box, which is how the field check and the translation walk
// find them.
QGroupBox* MakeRadioGroup(const char* name, Language language, QWidget* parent);

// Selects button `index` without running handlers; an index beyond the buttons selects none.
void SetRadioIndex(QGroupBox* group, int index);

}  // namespace qvr
