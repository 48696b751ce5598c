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
    {"%s  серийный номер %lu, загрузчик %u.%02u, приложение %s",
     "%s  serial number %lu, boot %u.%02u, application %s"},
    {"не загружено", "not loaded"},
    {"Подключено несколько адаптеров; выберите один: --controller ПУТЬ, --controller "
     "СЕРИЙНЫЙ_НОМЕР или --controller all (все сразу):",
     "Several adapters are connected; choose one with --controller PATH, --controller SERIAL "
     "or --controller all (every one at once):"},
    {"Адаптер \"%s\" не подключен. Подключены:", "No adapter \"%s\" is connected. Connected:"},
    {"Ни один адаптер не подключен", "No adapter is connected"},
    {"готово", "done"},
    {"ошибка", "failed"},
    {"отказ", "declined"},
    {"Не удалось сохранить резервную копию конфигурации устройства \"%s\", в устройство "
     "ничего не отправлено (--no-backup: без копии)\n%s",
     "Could not back up the configuration of the device \"%s\", nothing was sent to it "
     "(--no-backup: go on without a backup)\n%s"},
    {"Конфигурация устройства \"%s\" совпадает с файлом \"%s\"",
     "The configuration of the device \"%s\" is the same as the file \"%s\""},
    {"занят: его использует %s", "in use by %s"},
};

static_assert(sizeof kTexts / sizeof kTexts[0] == static_cast<size_t>(CliText::kAdapterInUse) + 1);

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
