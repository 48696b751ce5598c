#include "devices/common/ui/description_memo.h"

#include <QMouseEvent>
#include <QTextCursor>

#include "i18n/cp1251.h"

namespace qvr {

DescriptionMemo::DescriptionMemo(const char* name, QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName(QString::fromLatin1(name));
  // Tab moves on to the next control: a tab character would travel into the file and the
  // device.
  setTabChangesFocus(true);
}

void DescriptionMemo::ShowTexts(const ConfigTexts& texts) {
  QString text = QString::fromStdString(Cp1251ToUtf8(texts.shownDescription()));
  // Files written on Windows break lines with CR LF; the memo wants a bare line feed.
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  setPlainText(text);
}

void DescriptionMemo::StoreInto(ConfigTexts& texts) const {
  QString text = toPlainText();
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  texts.setDescription(Utf8ToCp1251(text.toStdString()));
}

void DescriptionMemo::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QPlainTextEdit::mouseDoubleClickEvent(event);
  // Emptied as an edit of its own, so that Ctrl+Z brings the text back.
  QTextCursor all(document());
  all.select(QTextCursor::Document);
  all.removeSelectedText();
  event->accept();
}

}  // namespace qvr
