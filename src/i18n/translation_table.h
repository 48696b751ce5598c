#pragma once
// The translation table of the window's own component texts: key "MainForm_<component>_<Caption|
// Items|Hint>", Russian and English text. Item lists are stored with CR LF after every item.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/catalogue.h"

namespace qvr {

struct TranslationRow {
  const char* key;
  const char* russian;
  const char* english;
  const char* text(Language language) const { return language == kEnglish ? english : russian; }
};

std::span<const TranslationRow> TranslationRows();  // the 119 rows in table order
// The row of `key`, or nullptr; a component name ending in "x" never has a row.
const TranslationRow* FindTranslation(std::string_view key);
// The same rule over any set of rows.
const TranslationRow* FindTranslationIn(std::span<const TranslationRow> rows, std::string_view key);
// The text of a row in a language ("" when there is no row).
std::string TranslationText(std::string_view key, Language language);
// The items of a list row in a language, split at CR LF (empty when there is no row).
std::vector<std::string> TranslationItems(std::string_view key, Language language);
// The same for a row already found.
std::vector<std::string> TranslationItems(const TranslationRow& row, Language language);

}  // namespace qvr
