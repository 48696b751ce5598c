#include "cli/cli_texts.h"

#include <algorithm>
#include <cctype>

#include "i18n/catalogue.h"

namespace qvr::cli {

namespace {

struct Texts {
  const char* russian;
  const char* english;
};

constexpr Texts kTexts[] = {
    {" [д/Н] ", " [y/N] "},
    {"(--yes: да)", "(--yes: yes)"},
    {"(нет терминала для вопроса: ответ \"нет\"; --yes отвечает \"да\")",
     "(no terminal to ask on: answered No; --yes answers Yes)"},
    {"Отказ: в устройство ничего не отправлено", "Declined: nothing was sent to the device"},
    {"Ошибка сохранения файла \"%s\": %s", "Cannot save the file \"%s\": %s"},
    {"Конфигурация сохранена в файл \"%s\"", "Configuration saved to \"%s\""},
    {"Устройство \"%s\" перезапущено", "Device \"%s\" restarted"},
    {"Конфигурация устройства \"%s\" сброшена в состояние по умолчанию",
     "Configuration of the device \"%s\" reset to its default state"},
    {"Конфигурация записана в устройство \"%s\"", "Configuration written to the device \"%s\""},
};

}  // namespace

const char* Text(const Catalogue& catalogue, CliText id) {
  const Texts& texts = kTexts[static_cast<int>(id)];
  return catalogue.language() == kEnglish ? texts.english : texts.russian;
}

bool IsYesAnswer(const std::string& answer) {
  std::string word;
  for (char c : answer)
    if (!std::isspace(static_cast<unsigned char>(c)))
      word += char(std::tolower(static_cast<unsigned char>(c)));
  // Cyrillic is compared byte for byte (UTF-8), its cases spelled out.
  for (const char* yes : {"y", "yes", "д", "Д", "да", "Да", "ДА"})
    if (word == yes) return true;
  return false;
}

}  // namespace qvr::cli
