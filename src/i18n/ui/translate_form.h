#pragma once
// The language walk over the window's own components: captions, hints and item lists from the
// translation table, keyed "<window name>_<component name>_<Caption|Items|Hint>".
#include "i18n/catalogue.h"

class QString;
class QWidget;

namespace qvr {

// Applies the table's texts in `language` to `window` and every object it owns (found by
// object name). Selections, check marks and tab indexes survive, and no user-change signal
// (activated, currentIndexChanged, itemChanged, currentChanged, toggled) is emitted. Components
// whose name ends in "x" keep their texts. The window title is left to the caller.
void TranslateForm(QWidget* window, Language language);

// Sets the hint (tool tip) of `widget`. A glyph button or a bare panel has no words of its own,
// so the hint also names it for screen readers; other controls get it as their description.
void SetHint(QWidget* widget, const QString& hint);

}  // namespace qvr
