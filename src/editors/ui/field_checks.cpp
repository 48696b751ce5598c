#include "editors/ui/field_checks.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCursor>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <charconv>
#include <string>

#include "editors/conversions.h"
#include "editors/ui/field_names.h"
#include "i18n/added_texts.h"
#include "i18n/catalogue.h"
#include "link/bytes.h"
#include "link/host.h"

namespace qvr {
namespace {

void ShowFieldError(const FieldContext& ctx, const QWidget* control, const std::string& text) {
  ctx.host.ShowFieldMessageBox(BoxKind::kError, text, FieldTitle(ctx, control));
}

void PointAt(QWidget* control, int x, int y) {
  QCursor::setPos(control->mapToGlobal(QPoint(x, y)));
}

// The pointer lands in the middle of a number field, on the right edge of a seconds field.
void Refuse(FieldContext ctx, QLineEdit* edit, const std::string& text, bool select,
            bool rightEdge) {
  ShowFieldError(ctx, edit, text);
  if (select) edit->selectAll();
  edit->setFocus();
  PointAt(edit, rightEdge ? edit->width() : edit->width() / 2, edit->height() / 2);
}

bool ValidWidth(int width) {
  return width == 1 || width == 2 || width == 4;
}

void Store(uint8_t* destination, int width, uint32_t value) {
  if (width == 1) destination[0] = uint8_t(value);
  if (width == 2) PutU16(destination, uint16_t(value));
  if (width == 4) PutU32(destination, value);
}

// A signed decimal integer with optional blanks around it; anything else, or a value beyond
// 32 bits, is not an integer.
bool ParseInteger(const std::string& text, int32_t& value) {
  size_t begin = text.find_first_not_of(" \t");
  size_t end = text.find_last_not_of(" \t");
  if (begin == std::string::npos) return false;
  const char* first = text.data() + begin;
  const char* last = text.data() + end + 1;
  if (*first == '+') ++first;
  if (first == last || *first == '+') return false;
  auto [ptr, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && ptr == last;
}

// Index of the checked radio button among the group's buttons, -1 when none is checked.
int CheckedRadio(const QGroupBox* group) {
  const auto buttons = group->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
  for (int i = 0; i < buttons.size(); ++i) {
    if (buttons[i]->isChecked()) return i;
  }
  return -1;
}

void RefuseSelection(FieldContext ctx, QWidget* control, bool isList, bool openList) {
  ShowFieldError(
      ctx, control,
      ctx.catalogue.Text(isList ? MessageId::kSelectFromList : MessageId::kSelectOption));
  auto* list = qobject_cast<QComboBox*>(control);
  if (isList && openList && list) list->showPopup();
  control->setFocus();
  int y = isList ? (3 * control->height()) / 2 : control->height() / 2;
  PointAt(control, control->width() / 2, y);
}

}  // namespace

void AcceptDigits(QLineEdit* edit, int digits) {
  const QString pattern = QStringLiteral("\\d{0,%1}").arg(digits);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
}

void AcceptSeconds(QLineEdit* edit, bool rawHex) {
  QString pattern = QStringLiteral("\\d{0,3}([.,]\\d{0,3})?");
  if (rawHex) pattern += QStringLiteral("|[0-9A-Fa-f]{0,4}");
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
}

std::string FieldTitle(const FieldContext& ctx, const QWidget* control) {
  const std::string name = FieldName(control).toStdString();
  const Catalogue& c = ctx.catalogue;
  if (ctx.event == 0) {
    return name.empty() ? std::string()
                        : c.FormatText(Text(c, AddedText::kFieldNamed), name.c_str());
  }
  if (name.empty()) return c.FormatText(Text(c, AddedText::kEventNumbered), ctx.event);
  return c.FormatText(Text(c, AddedText::kFieldOfEvent), ctx.event, name.c_str());
}

int CheckNumberEdit(FieldContext ctx, QLineEdit* edit, int32_t minimum, int32_t maximum,
                    uint8_t* destination, int width) {
  const std::string text = edit->text().toStdString();
  if (text.empty()) {
    Refuse(ctx, edit, ctx.catalogue.Text(MessageId::kEnterValue), true, false);
    return 1;
  }
  int32_t value = 0;
  if (!ParseInteger(text, value)) {
    // Left with the text selected and the focus on it, like every other refusal.
    Refuse(ctx, edit,
           ctx.catalogue.FormatText(Text(ctx.catalogue, AddedText::kNotAnInteger), text.c_str()),
           true, false);
    return 1;
  }
  if (value < minimum || value > maximum) {
    Refuse(ctx, edit,
           ctx.catalogue.Format(MessageId::kNumberRange, unsigned(minimum), unsigned(maximum)),
           true, false);
    return 1;
  }
  if (!ValidWidth(width)) {
    Refuse(ctx, edit, ctx.catalogue.Text(MessageId::kEnterValue), true, false);
    return 1;
  }
  Store(destination, width, uint32_t(value));
  return 0;
}

int CheckSecondsEdit(FieldContext ctx, QLineEdit* edit, int32_t minimumMs, int32_t maximumMs,
                     uint8_t* destination, int width) {
  const std::string text = edit->text().toStdString();
  if (text.empty()) {
    Refuse(ctx, edit, ctx.catalogue.Text(MessageId::kEnterValue), true, true);
    return 1;
  }
  const int32_t value = ParseSeconds(text);
  if (value < minimumMs || value > maximumMs) {
    const std::string low = SecondsText(uint32_t(minimumMs));
    const std::string high = SecondsText(uint32_t(maximumMs));
    Refuse(ctx, edit, ctx.catalogue.Format(MessageId::kSecondsRange, low.c_str(), high.c_str()),
           true, true);
    return 1;
  }
  if (!ValidWidth(width)) {
    Refuse(ctx, edit, ctx.catalogue.Text(MessageId::kEnterValue), false, true);
    return 1;
  }
  Store(destination, width, uint32_t(value));
  return 0;
}

int CheckSelection(FieldContext ctx, QWidget* control, uint8_t* destination, int width) {
  int index = -1;
  bool isList = false;
  if (auto* list = qobject_cast<QComboBox*>(control)) {
    index = list->currentIndex();
    isList = true;
  } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
    index = CheckedRadio(group);
  } else {
    control->setFocus();
    return 1;
  }
  if (index < 0 || !ValidWidth(width)) {
    RefuseSelection(ctx, control, isList, index < 0);
    return 1;
  }
  Store(destination, width, uint32_t(index));
  return 0;
}

}  // namespace qvr
