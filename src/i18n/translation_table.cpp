#include "i18n/translation_table.h"

namespace qvr {

const TranslationRow* FindTranslation(std::string_view key) {
  return FindTranslationIn(TranslationRows(), key);
}

const TranslationRow* FindTranslationIn(std::span<const TranslationRow> rows,
                                        std::string_view key) {
  // A component whose name ends in "x" keeps its texts: they are language-neutral or set at run
  // time from the catalogue, so even a row added by mistake must not reach it.
  size_t last_separator = key.rfind('_');
  if (last_separator != std::string_view::npos && last_separator > 0 &&
      key[last_separator - 1] == 'x') {
    return nullptr;
  }
  for (const TranslationRow& row : rows) {
    if (key == row.key) return &row;
  }
  return nullptr;
}

std::string TranslationText(std::string_view key, Language language) {
  const TranslationRow* row = FindTranslation(key);
  return row ? row->text(language) : std::string();
}

std::vector<std::string> TranslationItems(std::string_view key, Language language) {
  const TranslationRow* row = FindTranslation(key);
  return row ? TranslationItems(*row, language) : std::vector<std::string>();
}

std::vector<std::string> TranslationItems(const TranslationRow& row, Language language) {
  std::vector<std::string> items;
  std::string_view rest = row.text(language);
  while (!rest.empty()) {
    size_t end = rest.find("\r\n");
    if (end == std::string_view::npos) {
      items.emplace_back(rest);  // a last item without its line end still counts
      break;
    }
    items.emplace_back(rest.substr(0, end));
    rest.remove_prefix(end + 2);
  }
  return items;
}

}  // namespace qvr
