#pragma once
// Qt's own texts (the buttons of message boxes, the file dialog, the edit menus) follow the
// program's language: Russian installs Qt's translation shipped by the system, English
// removes it.
#include <QTranslator>

#include "i18n/catalogue.h"

namespace qvr {

class QtTranslations {
 public:
  QtTranslations() = default;
  ~QtTranslations();
  QtTranslations(const QtTranslations&) = delete;
  QtTranslations& operator=(const QtTranslations&) = delete;

  // Returns false when Qt's texts stay English for want of the translation files.
  bool Switch(Language language);

 private:
  QTranslator russian_;
  bool loaded_ = false;
  bool installed_ = false;
};

}  // namespace qvr
