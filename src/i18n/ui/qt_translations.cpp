#include "i18n/ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace qvr {

QtTranslations::~QtTranslations() {
  if (installed_) QCoreApplication::removeTranslator(&russian_);
}

bool QtTranslations::Switch(Language language) {
  if (language == kEnglish) {
    if (installed_) QCoreApplication::removeTranslator(&russian_);
    installed_ = false;
    return true;
  }
  // "qtbase_ru" holds the widgets' texts; Debian ships it in qt6-translations-l10n.
  if (!loaded_) {
    loaded_ = russian_.load("qtbase_ru", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  }
  if (loaded_ && !installed_) installed_ = QCoreApplication::installTranslator(&russian_);
  return installed_;
}

}  // namespace qvr
