#pragma once
// The controls both device pages are made of, named and filled from the translation table in
// one language and given one look: captions, lists, check lists, seconds fields, tool buttons,
// fixed captions, value panels and radio groups.
#include <QFont>
#include <QString>

#include "i18n/catalogue.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;
class QWidget;

namespace qvr {

class DescriptionMemo;

class PageBuilder {
 public:
  explicit PageBuilder(Language language) : language_(language) {}

  QLabel* Label(const char* name, QWidget* parent) const;
  // A caption that wraps onto more lines rather than widen its column; with `maxWidth` (not 0)
  // it wraps within that width in both languages.
  QLabel* WrappedLabel(const char* name, QWidget* parent, int maxWidth = 0) const;
  // Items from the table, never narrower than its longest item.
  QComboBox* List(const char* name, QWidget* parent) const;
  QListWidget* CheckList(const char* name, QWidget* parent) const;
  QCheckBox* Check(const char* name, QWidget* parent) const;
  QGroupBox* Group(const char* name, QWidget* parent) const;
  // A tool button with the table's hint, showing `glyph`, or the refresh icon without one.
  QToolButton* Tool(const char* name, const char* glyph, QWidget* parent) const;
  // A debug button: language-neutral caption; its hint is set by the page in its language.
  static QToolButton* Debug(const char* name, const char* caption, QWidget* parent);
  // A right-aligned field for seconds, wide enough for "50.0000"; `rawHex` as AcceptSeconds.
  static QLineEdit* SecondsEdit(const char* name, QWidget* parent, bool rawHex = false);
  // A group box of radio buttons, one per item of its "_Items" row, in item order. The buttons
  // are direct children of the box, which is how the field check and the translation walk
  // find them.
  QGroupBox* RadioGroup(const char* name, QWidget* parent) const;
  // The description group: an editable box of two lines' height named `memoName` inside it.
  QGroupBox* DescriptionGroup(const char* groupName, const char* memoName, QWidget* parent,
                              DescriptionMemo*& memo) const;

  // The pages' compact font: narrow faces where the system has them, so both languages fit
  // a page area of 776 x 480, and one that a scale of 2 leaves small.
  static QFont PageFont(const QFont& base);

  // A label whose text never changes with the language (its name ends in "x").
  static QLabel* FixedLabel(const char* name, const QString& text, QWidget* parent);
  // A sunken panel showing a decimal value, wide enough for 65535.
  static QLabel* ValuePanel(const char* name, QWidget* parent);
  // The grid inside a group box, with the margins and spacing of every group on both pages.
  static QGridLayout* GroupGrid(QWidget* group);
  // Controls shown by mode keep their place when hidden, so the page does not jump.
  static void KeepPlace(QWidget* widget);

 private:
  Language language_;
};

// Selects button `index` without running handlers; an index beyond the buttons selects none.
void SetRadioIndex(QGroupBox* group, int index);

}  // namespace qvr
