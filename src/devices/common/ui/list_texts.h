#pragma once
// Controls named and filled from the translation table: a component's caption, item list and
// hint come from the rows "MainForm_<name>_Caption" and "_Hint" in the current language, so
// no text is written twice. List helpers move record values in and out of drop-down lists.
#include <cstdint>
#include <string>

#include "i18n/catalogue.h"

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QWidget;

namespace qvr {

// The table's caption text of component `name` ("" when it has none), as a Qt string.
std::string CaptionOf(const std::string& name, Language language);

void SetupLabel(QLabel* label, const std::string& name, Language language);
void SetupButton(QAbstractButton* button, const std::string& name, Language language);
void SetupGroup(QGroupBox* group, const std::string& name, Language language);
// Items from the caption row; no selection afterwards.
void SetupList(QComboBox* list, const std::string& name, Language language);
// Checkable items from the caption row, all unchecked.
void SetupCheckList(QListWidget* list, const std::string& name, Language language);
// Only the name and the table's hint (for controls without a caption of their own).
void SetupHint(QWidget* widget, const std::string& name, Language language);

// The selected item index; without a selection, the value beyond the list that SetListValue
// last gave it (kept, never replaced by a byte nobody chose), or 0xFF.
uint8_t ListValue(const QComboBox* list);
// Selects item `value`; a value beyond the list leaves it without a selection. Runs no
// handler: change handlers are connected to QComboBox::activated, and signals are blocked.
void SetListValue(QComboBox* list, int value);

// A check list standing for bits of a mask: item i is bit `firstBit` + i. Setting runs no
// handler; reading gives 0 for every other bit.
void SetCheckMask(QListWidget* list, uint8_t mask, int firstBit);
uint8_t CheckMask(const QListWidget* list, int firstBit);

}  // namespace qvr
