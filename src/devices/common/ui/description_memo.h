#pragma once
// The description memo of a device page: shows the configuration's description (or, when it
// has none, its name as the one line) and stores its text back as Windows-1251 bytes with
// CR LF between lines, cut to 999 bytes. A double click empties it; Ctrl+Z undoes that.
#include <QPlainTextEdit>

#include "devices/common/config_texts.h"

namespace qvr {

class DescriptionMemo : public QPlainTextEdit {
 public:
  DescriptionMemo(const char* name, QWidget* parent);

  void ShowTexts(const ConfigTexts& texts);
  void StoreInto(ConfigTexts& texts) const;

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace qvr
