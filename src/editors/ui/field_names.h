#pragma once
// What a field is called: the label in front of it (its buddy), so that screen readers announce
// it and error messages can name it.
#include <QString>

class QWidget;

namespace qvr {

// Makes each label below `root` that is directly followed, in layout order, by an input control
// (line, list, check list, text) that control's buddy, unless the control has one already.
void BuddyLabelsInLayoutOrder(QWidget* root);

// Gives every labelled input below `root` its label's text as accessible name (screen readers
// do not take it from the buddy for every kind of control), and an unlabelled one the title of
// its group box. Run again after a language switch.
void NameFieldsFromLabels(QWidget* root);

// Gives each button below `root` whose text is a glyph ("?", "IR", "A") its hint as accessible
// name, so that a screen reader says what it does. Run again after the hints change.
void NameButtonsByHints(QWidget* root);

// Gives each label below `root` that has a buddy an Alt+letter of its own (the first letter of
// its text that no earlier label there took), which moves the focus to its field. Run after
// the texts are set (a language switch sets them anew).
void AddMnemonics(QWidget* root);

// The control's name as a user reads it: its accessible name, else its buddy label's text
// without the mnemonic mark and a trailing colon; "" when it has neither.
QString FieldName(const QWidget* control);

}  // namespace qvr
