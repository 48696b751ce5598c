#include "i18n/added_texts.h"

namespace qvr {

namespace {

struct Texts {
  const char* russian;
  const char* english;
};

// clang-format off
constexpr Texts kTexts[] = {
    /* kNoPermission */
    {"Нет доступа к контроллеру \"QVR-B\": он подключен, но открыть его нельзя.\n"
     "Программа установлена из пакета qvr-service (правило "
     "/usr/lib/udev/rules.d/70-qvr-b.rules): отключите и снова подключите адаптер "
     "(или выполните: sudo udevadm trigger).\n"
     "Программа запущена из сборки: установите правило udev из папки packaging исходных "
     "текстов, затем отключите и снова подключите адаптер:\n"
     "sudo cp ИСХОДНЫЕ_ТЕКСТЫ/packaging/70-qvr-b.rules /etc/udev/rules.d/\n"
     "sudo udevadm control --reload-rules && sudo udevadm trigger",
     "No permission to open the controller \"QVR-B\": it is connected but cannot be opened.\n"
     "Installed from the package qvr-service (rule /usr/lib/udev/rules.d/70-qvr-b.rules): "
     "unplug and plug in the adapter (or run: sudo udevadm trigger).\n"
     "Run from a build: install the udev rule from the source tree's packaging folder, then "
     "unplug and plug in the adapter:\n"
     "sudo cp SOURCE_TREE/packaging/70-qvr-b.rules /etc/udev/rules.d/\n"
     "sudo udevadm control --reload-rules && sudo udevadm trigger"},
    /* kConfigurationHalfWritten */
    {"Устройство уже приняло часть данных: в нём может быть смесь старой и новой конфигурации.\n"
     "Запишите конфигурацию ещё раз.",
     "The device had already accepted part of the data: it may now hold a mix of the old and "
     "the new configuration.\nWrite the configuration again."},
    /* kFirmwareMayBeMissing */
    {"Устройство может остаться без работающей прошивки.\n"
     "Не отключая устройство, запустите это же обновление ещё раз: оно восстановит прошивку.",
     "The device may now be left without working firmware.\n"
     "Without unplugging the device, run the same update again: it restores the firmware."},
    /* kClosingAfterOperation */
    {"Программа закроется, когда закончится выполняемая операция",
     "The program will close when the running operation ends"},
    /* kStoppingAfterTransfer */
    {"Получен сигнал завершения: программа остановится, когда закончится передача",
     "Termination signal received: stopping when the transfer ends"},
    /* kFileValueRefused */
    {"Файл \"%s\", секция [%s], ключ %s=%s: %s",
     "File \"%s\", section [%s], key %s=%s: %s"},
    /* kFileOfOtherDevice */
    {"Файл \"%s\" содержит конфигурацию %s, а не %s: в это устройство он не записывается",
     "The file \"%s\" is a %s configuration, not a %s one: it is not written to this device"},
    /* kTouchLinesKeptByDevice */
    {"Линий и углов тачпанели нет в файле конфигурации: при записи устройство сохраняет свои.\n"
     "Они показываются после чтения конфигурации из устройства.",
     "Touch lines and corners are not in configuration files: a write keeps the device's own.\n"
     "They are shown after the configuration is read from the device."},
    /* kTimeLeft */
    {"осталось %u:%02u", "%u:%02u left"},
    /* kSimulatedController */
    {"(контроллер смоделирован программой)", "(simulated controller)"},
    /* kBackupSaved */
    {"Резервная копия конфигурации устройства сохранена в \"%s\"",
     "Backup of the device's configuration saved to \"%s\""},
    /* kBackupFailed */
    {"Не удалось сохранить резервную копию конфигурации устройства \"%s\", в устройство "
     "ничего не отправлено\n%s",
     "Could not back up the configuration of the device \"%s\", nothing was sent to it\n%s"},
    /* kSaveNotRegularFile */
    {"это не обычный файл (папка, устройство или канал)",
     "it is not a regular file (a folder, device or pipe)"},
    /* kSaveReadOnly */
    {"файл только для чтения", "the file is read-only"},
    /* kSaveOwnerNotKept */
    {"нельзя сохранить владельца и права доступа файла",
     "the file's owner and permissions cannot be kept"},
    /* kSettingsNotSaved */
    {"Настройки программы не сохранены в файл \"%s\": %s",
     "The program settings were not saved to \"%s\": %s"},
    /* kNotDeviceConfiguration */
    {"Файл \"%s\" не является файлом конфигурации устройства \"%s\"",
     "The file \"%s\" is not a configuration file of the device \"%s\""},
    /* kMissingSections */
    {"В файле \"%s\" нет разделов %s: их параметры получили значения по умолчанию",
     "The file \"%s\" lacks the sections %s: their parameters take their default values"},
    /* kWriteWithMissingSections */
    {"Всё равно записать эту конфигурацию в устройство?",
     "Write this configuration to the device all the same?"},
    /* kOutputFailed */
    {"Не удалось записать в стандартный вывод: %s",
     "Could not write to standard output: %s"},
    /* kVerifyFailed */
    {"Конфигурация, прочитанная из устройства \"%s\" после записи, отличается от записанной:",
     "The configuration read back from the device \"%s\" after the write differs from what was sent:"},
    /* kVerified */
    {"Конфигурация устройства \"%s\" проверена чтением: совпадает с записанной",
     "The configuration of the device \"%s\" was read back: it is what was sent"},
    /* kDiffApart */
    {"(и ещё различий в имени конфигурации и описаниях, которые diff не учитывает: %d; --all: показать)",
     "(%d more in the configuration name and descriptions, which diff does not count; --all shows them)"},
    /* kNoBackups */
    {"Резервных копий нет (папка \"%s\")",
     "There is no backup (folder \"%s\")"},
    /* kNoBackupOfUnit */
    {"Резервных копий устройства \"%s\" с серийным номером %lu нет (папка \"%s\")",
     "There is no backup of the device \"%s\" with the serial number %lu (folder \"%s\")"},
    /* kBackupLine */
    {"%s  серийный номер %lu  %s  %s%s  %s",
     "%s  serial number %lu  %s  %s%s  %s"},
    /* kBatchNeedsPlaceholder */
    {"Несколько адаптеров не могут писать в один файл \"%s\": укажите в имени {serial} (серийный номер адаптера) или {adapter}",
     "Several adapters cannot write one file \"%s\": put {serial} (the adapter's serial number) or {adapter} in its name"},
    /* kBatchNoStdin */
    {"Стандартный ввод (-) читается один раз и не может служить файлом для нескольких адаптеров",
     "Standard input (-) is read once and cannot be the file of several adapters"},
    /* kBatchSame */
    {"совпадает",
     "same"},
    /* kBatchDifferent */
    {"отличается",
     "different"},
    /* kDeclinedNeedsOption */
    {"(ответ \"нет\": на этот вопрос отвечает только %s или пользователь за терминалом)",
     "(answered No: only %s or a user at a terminal answers this question)"},
    /* kConfirmUpdate */
    {"Обновить прошивку устройства \"%s\" из файла \"%s\"?",
     "Update the firmware of the device \"%s\" from the file \"%s\"?"},
    /* kJsonWithDataOnStdout */
    {"--json и чтение конфигурации в стандартный вывод (-) несовместимы: укажите файл",
     "--json and a configuration read to standard output (-) cannot share it: name a file"},
    /* kValueChanged */
    {"Файл \"%s\", раздел [%s], ключ %s=%s: устройство получит %u (%s)",
     "File \"%s\", section [%s], key %s=%s: the unit will hold %u (%s)"},
    /* kValueNotANumber */
    {"не число",
     "not a number"},
    /* kValueCut */
    {"обрезано до %d бит",
     "cut to %d bits"},
    /* kValueMasked */
    {"биты, которые устройство не хранит, сброшены",
     "bits the unit does not keep are cleared"},
    /* kStrictRefused */
    {"Запись отменена (--strict): устройство получило бы другие значения, чем в файле; в устройство ничего не отправлено",
     "Write refused (--strict): the unit would hold other values than the file; nothing was sent"},
    /* kCheckClean */
    {"Файл \"%s\" попадёт в устройство \"%s\" без изменений",
     "The file \"%s\" reaches the device \"%s\" as it is"},
    /* kValueBitZero */
    {"учитывается только бит 0",
     "only bit 0 counts"},
    /* kUpdateFileTooLarge */
    {"Файл обновления \"%s%s\" слишком велик для передачи в устройство: %lu байт, а 16-битные смещения блоков позволяют передать не более %lu байт. Файл не повреждён; в устройство ничего не отправлено",
     "The update file \"%s%s\" is too large to transfer to the device: %lu bytes, while the 16-bit block offsets reach at most %lu bytes. The file is not damaged; nothing was sent to the device"},
    /* kHistoryLine */
    {"%s  %s %s  устройство %s  адаптер %s  (%s)  %s  %s %s",
     "%s  %s %s  unit %s  adapter %s  (%s)  %s  %s %s"},
    /* kHistoryEmpty */
    {"Изменений устройств ещё не было (файл \"%s\")",
     "No change to a unit has been recorded yet (file \"%s\")"},
    /* kUsageError */
    {"Ошибка в командной строке: %s (qvrctl --help: команды и параметры)",
     "Command line error: %s (qvrctl --help lists the commands and options)"},
    /* kAdapterBusy */
    {"Контроллер \"QVR-B\" занят другой программой: дождитесь окончания её операции.",
     "The controller \"QVR-B\" is in use by another program: wait until its operation ends."},
    /* kAdapterBusyHolder */
    {"Его использует %s.", "It is in use by %s."},
    /* kSaveForeignLink */
    {"это символическая ссылка другого пользователя, по ней не сохраняется",
     "it is a symbolic link of another user's, which a save does not follow"},
    /* kStandardInput */
    {"стандартный ввод", "standard input"},
    /* kStandardInputTooLarge */
    {"На стандартном вводе больше %u байт: это не файл конфигурации",
     "Standard input holds more than %u bytes: it is not a configuration file"},
    /* kNoDataFolder */
    {"у пользователя нет папки для данных (HOME и XDG_DATA_HOME не заданы полными путями)",
     "the user has no folder for data (neither HOME nor XDG_DATA_HOME is an absolute path)"},
    /* kSaveInUse */
    {"Файл открыт в другой программе: закройте его там и сохраните ещё раз",
     "The file is open in another program: close it there and save again"},
    /* kSaveNameNotAllowed */
    {"Имя файла в Windows не может оканчиваться точкой или пробелом: выберите другое имя",
     "A file name on Windows cannot end in a dot or a blank: choose another name"},
    /* kStoppedBeforeChange */
    {"Остановлено до записи: в устройство ничего не отправлено.",
     "Stopped before the change: nothing was sent to the device."},
    /* kRestartRefused */
    {"Вся конфигурация записана в устройство, но перезапуститься оно отказалось: перезапустите "
     "его (команда «Сброс»), чтобы она вступила в силу.",
     "The whole configuration reached the device, but it refused to restart: restart it (the "
     "Reset command) for the configuration to take effect."},
    /* kUnsavedChanges */
    {"Конфигурация %s (%s) изменена и не сохранена.\nСохранить изменения?",
     "The %s configuration (%s) has unsaved changes.\nSave them?"},
    /* kSaveButton */
    {"&Сохранить", "&Save"},
    /* kDiscardButton */
    {"&Не сохранять", "&Discard"},
    /* kCancelButton */
    {"Отмена", "Cancel"},
    /* kRecentFiles */
    {"Недавние файлы", "Recent files"},
    /* kUntitled */
    {"без файла", "no file"},
    /* kKeyboardHelp */
    {"Клавиши окна:\n"
     "Ctrl+O  загрузить конфигурацию из файла\n"
     "Ctrl+S  сохранить конфигурацию в её файл (новую — в файл с выбранным именем)\n"
     "Ctrl+Shift+S  сохранить конфигурацию в другой файл\n"
     "F5  прочитать конфигурацию из устройства\n"
     "F6  записать конфигурацию в устройство\n"
     "Ctrl+U  обновить программу устройства\n"
     "Ctrl+Q  выход\n"
     "Ctrl+Tab, Ctrl+Shift+Tab  следующая и предыдущая страница\n"
     "F10  меню окна\n"
     "Shift+F10 или клавиша меню на панели инструментов  меню окна\n"
     "На вкладках событий: Insert  вставить, +  добавить в конец, Delete  удалить,\n"
     "Ctrl+Z  вернуть удалённое или добавленное событие,\n"
     "Shift+F10 или клавиша меню  меню событий\n"
     "Ctrl+Z  вернуть текст, стёртый двойным щелчком\n"
     "Клавиши окна действуют и в полях ввода.",
     "Keys of the window:\n"
     "Ctrl+O  load a configuration from a file\n"
     "Ctrl+S  save the configuration to its file (a new one: choose a name)\n"
     "Ctrl+Shift+S  save the configuration to another file\n"
     "F5  read the configuration from the device\n"
     "F6  write the configuration to the device\n"
     "Ctrl+U  update the device's firmware\n"
     "Ctrl+Q  quit\n"
     "Ctrl+Tab, Ctrl+Shift+Tab  next and previous page\n"
     "F10  the window's menu\n"
     "Shift+F10 or the menu key on the toolbar  the window's menu\n"
     "On the event tabs: Insert  insert, +  add at the end, Delete  delete,\n"
     "Ctrl+Z  undo the last event added or deleted,\n"
     "Shift+F10 or the menu key  the event menu\n"
     "Ctrl+Z  bring back a text a double click erased\n"
     "The window's keys work in text fields too."},
    /* kFieldNamed */
    {"Поле «%s»:", "Field \"%s\":"},
    /* kFieldOfEvent */
    {"Событие %u, поле «%s»:", "Event %u, field \"%s\":"},
    /* kEventNumbered */
    {"Событие %u:", "Event %u:"},
    /* kNotAnInteger */
    {"«%s» не является целым числом", "'%s' is not a valid integer value"},
    /* kNoConfigurationYet */
    {"На странице %s ещё нет конфигурации.\nПрочитайте её из устройства (F5) или загрузите из "
     "файла (Ctrl+O), затем измените и запишите.",
     "The %s page holds no configuration yet.\nRead it from the device (F5) or load it from a "
     "file (Ctrl+O) first, then change and write it."},
    /* kCommandField */
    {"Команда ИК", "IR command"},
    /* kHintCameraOn */
    {"Активация ПА", "Activate the PA"},
    /* kHintCameraOff */
    {"Деактивация ПА", "Deactivate the PA"},
    /* kHintMapButton */
    {"Имитация MAP", "Simulate the MAP button"},
    /* kHintIebusLog */
    {"Лог пакетов IEBUS", "Log of IEBus packets"},
    /* kWriteVerified */
    {"Конфигурация %s записана и проверена: устройство хранит записанное",
     "The %s configuration was written and verified: the unit holds what was sent"},
    /* kWriteNotVerified */
    {"Конфигурация %s записана, но проверка чтением не прошла:",
     "The %s configuration was written, but reading it back did not verify it:"},
    /* kPreviewChanges */
    {"Изменится в устройстве (было -> станет):", "Changes on the unit (now -> written):"},
    /* kPreviewNoChanges */
    {"Устройство уже хранит эту конфигурацию.", "The unit holds this configuration already."},
    /* kPreviewMenuItem */
    {"Показывать изменения перед записью", "Show the changes before a write"},
    /* kRestoreFromBackup */
    {"Восстановить из резервной копии...", "Restore from backup..."},
    /* kNoUnitBackupsInFolder */
    {"Резервных копий %s с серийным номером %u в папке %s нет",
     "There are no backups of the %s with serial number %u in %s"},
    /* kTransferFailedAt */
    {"сбой на блоке %d из %d (смещение 0x%04X)", "failed at block %d of %d (offset 0x%04X)"},
    /* kBackupFolderIsLink */
    {"Папка \"%s\" является ссылкой: резервные копии хранятся только в настоящих папках",
     "The folder \"%s\" is a link: backups are kept in real folders only"},
    /* kBackupFolderNotFolder */
    {"\"%s\" не является папкой", "\"%s\" is not a folder"},
    /* kPruneFolderNotOwned */
    {"Старые резервные копии в \"%s\" не удалены: папка принадлежит другому пользователю",
     "Older backups in \"%s\" were not removed: the folder belongs to another user"},
    /* kPruneBackupLeft */
    {"\"%s\" не удалена: в ней есть не только резервная копия, или она не принадлежит этому "
     "пользователю",
     "\"%s\" was not removed: it holds more than a backup, or it is not this user's"},
    /* kBackupMarkFirst */
    {"первая", "first"},
    /* kBackupMarkAfterFailedChange */
    {"после неудачного изменения", "after a failed change"},
    /* kBackupNumber */
    {"№ %lu", "no. %lu"},
    /* kBackupNoNumber */
    {"без номера", "no number"},
    /* kRestoreOtherUnit */
    {"Резервная копия \"%s\" сделана с устройства \"%s\" с серийным номером %lu, а подключено "
     "устройство с серийным номером %lu; ничего не отправлено. Чтобы записать её на это устройство "
     "намеренно (замена устройства), добавьте --other-unit",
     "The backup \"%s\" is of the %s with serial number %lu, but the unit connected has serial "
     "number %lu; nothing was sent. To put it onto this unit on purpose (a replacement unit), add "
     "--other-unit"},
    /* kRestoreOtherUnitQuestion */
    {"Резервная копия сделана с устройства \"%s\" с серийным номером %lu, а подключено "
     "устройство с серийным номером %lu.\nЗаписать её на это устройство?",
     "The backup is of the %s with serial number %lu, but the unit connected has serial number "
     "%lu.\nPut it onto this unit all the same?"},
    /* kRestoreChosen */
    {"Восстанавливается резервная копия от %s (%s): \"%s\"",
     "Restoring the backup of %s (%s): \"%s\""},
    /* kNoSoundBackup */
    {"Все резервные копии устройства \"%s\" с серийным номером %lu сделаны после неудачного "
     "изменения; укажите файл нужной копии",
     "Every backup of the %s with serial number %lu was taken after a failed change; name the "
     "backup to restore"},
    /* kPlainFileCannotGiveBack */
    {"В \"%s\" нет точного образа устройства: восстановление не вернёт %s",
     "\"%s\" holds no exact image of the unit: the restore cannot give back %s"},
    /* kMux410FileLacks */
    {"биты 6 и 7 флагов DPAR", "bits 6 and 7 of the DPAR flags"},
    /* kTpx520FileLacks */
    {"калибровку касаний (устройство сохранит свою)",
     "the touch calibration (the unit keeps its own)"},
    /* kRawImageDamaged */
    {"Точный образ \"%s\" повреждён или относится к другому устройству; ничего не отправлено",
     "The exact image \"%s\" is damaged or of another unit; nothing was sent"},
    /* kRestoreDialogTitle */
    {"Восстановление из резервной копии", "Restore from backup"},
    /* kUnitBackupsHeading */
    {"Резервные копии %s с серийным номером %lu, новые сверху:",
     "Backups of the %s with serial number %lu, newest first:"},
    /* kBackupColumnTime */
    {"Время", "Time"},
    /* kBackupColumnNumber */
    {"Номер", "Number"},
    /* kBackupColumnName */
    {"Конфигурация", "Configuration"},
    /* kBackupColumnMarks */
    {"Отметки", "Marks"},
    /* kRestoreButton */
    {"&Восстановить", "&Restore"},
    /* kOtherBackupFileButton */
    {"&Другой файл...", "&Other file..."},
    /* kRestoreOtherDevice */
    {"Резервная копия \"%s\" относится к устройству \"%s\", а не к \"%s\"; ничего не "
     "отправлено",
     "The backup \"%s\" is of the %s, not of the %s; nothing was sent"},
    /* kUnitBytesDiffer */
    {"отличаются байты, которых нет в файле конфигурации",
     "bytes that no configuration file holds differ"},
    /* kSharedSettingsUnread */
    {"Настройки программы не прочитаны из файла \"%s\": хранятся последние %d резервных копий "
     "каждого устройства",
     "The program settings were not read from \"%s\": the newest %d backups of each unit are "
     "kept"},
    /* kUpdateConfirmed */
    {"подтверждено: устройство сообщает версию %u.%02u",
     "confirmed: the unit reports %u.%02u"},
    /* kUpdateNotTaken */
    {"устройство по-прежнему сообщает версию %u.%02u: обновление им не принято",
     "the unit still reports %u.%02u: it did not take the update"},
    /* kUpdateOtherVersion */
    {"устройство сообщает версию %u.%02u, а не %u.%02u из файла обновления: обновление им не "
     "принято",
     "the unit reports %u.%02u, not the update file's %u.%02u: it did not take the update"},
    /* kUpdateNotConfirmed */
    {"отправлено, но не подтверждено: устройство с тех пор не отвечает",
     "sent, not confirmed: the unit has not answered since"},
    /* kWriteNotChecked */
    {"Конфигурация %s записана, но прочитать её для проверки не удалось:",
     "The %s configuration was written, but could not be read back to check it:"},
    /* kUnitSilentSinceRestart */
    {"устройство не отвечает после перезапуска", "the unit has not answered since its restart"},
    /* kBackupPassedOver */
    {"Резервная копия \"%s\" пропущена: она не целая (ещё приходит с другого компьютера или "
     "повреждена)",
     "The backup \"%s\" was passed over: it is not whole (still arriving from another computer, "
     "or damaged)"},
    /* kHistoryNotWritten */
    {"Изменение не записано в историю (\"%s\"): %s",
     "The change was not written to the history (\"%s\"): %s"},
    /* kHistorySkippedLines */
    {"Пропущено нечитаемых строк истории (оборванных или не до конца синхронизированных): %lu",
     "History lines passed over as unreadable (cut short or not fully synchronised): %lu"},
    /* kHistoryUnreadable */
    {"Не удалось прочитать файл истории \"%s\": %s", "Could not read the history file \"%s\": %s"},
    /* kHistoryNoResult */
    {"результат не записан", "no result recorded"},
    /* kHistoryWrite */
    {"запись", "write"},
    /* kHistoryDefault */
    {"заводские настройки", "default"},
    /* kHistoryRestore */
    {"восстановление", "restore"},
    /* kHistoryUpdate */
    {"обновление", "update"},
    /* kHistoryReset */
    {"перезапуск", "reset"},
    /* kHistoryOk */
    {"успешно", "ok"},
    /* kHistoryFailed */
    {"сбой", "failed"},
    /* kHistoryCut */
    {"прервано", "cut"},
    /* kHistoryNotConfirmed */
    {"не подтверждено", "not confirmed"},
    /* kHistoryCount */
    {"Изменений: %lu", "Changes: %lu"},
    /* kHistoryNoneMatches */
    {"Ни одно записанное изменение не подходит (история в \"%s\")",
     "No recorded change matches (history in \"%s\")"},
    /* kSharedSettingsUnreadData */
    {"Настройки программы не прочитаны из файла \"%s\": используется папка данных \"%s\"",
     "The program settings were not read from \"%s\": the data folder \"%s\" is used"},
    /* kWrittenNotSaved */
    {"Записано в устройство; не сохранено в %s", "written to the unit; not saved to %s"},
    /* kLoadOtherDevicesFile */
    {"Файл \"%s\" похож на конфигурацию %s, а это страница %s. Всё равно загрузить его?",
     "The file \"%s\" looks written for the %s, and this is the %s page. Load it all the same?"},
    /* kNaviKeptOnUnit */
    {"Блок навигации не записывается: устройство сохраняет тип навигатора, найденный "
     "автонастройкой; чтение покажет его",
     "The navigation block is left out of writes: the unit keeps the navigator type its setup "
     "found; a read shows it"},
    /* kTouchKeptOnUnit */
    {"Блок тачпанели не записывается: устройство сохраняет линии и углы, найденные настройкой; "
     "чтение покажет их",
     "The touch block is left out of writes: the unit keeps the lines and corners its setup "
     "found; a read shows them"},
    /* kHintRawButton */
    {"Отладка: отправить устройству два байта, набранные шестнадцатеричными цифрами в поле "
     "времени включения",
     "Debug: send the unit the two bytes typed in hex digits in the power-on time field"},
    /* kHintSetButton */
    {"Отладка: отправить устройству команду Set", "Debug: send the unit the Set command"},
    /* kAdapterBusyBy */
    {"Контроллер \"QVR-B\" использует %s: дождитесь окончания операции.",
     "The controller \"QVR-B\" is in use by %s: wait until its operation ends."},
    /* kAdapterHolderNamed */
    {"%s (%lu)", "%s (%lu)"},
    /* kAdapterHolderProcess */
    {"процесс %lu", "process %lu"},
    /* kAdapterHolderUnknown */
    {"другая программа", "another program"},
    /* kWaitingForAdapter */
    {"Ожидание адаптера (его использует %s)…", "Waiting for the adapter (used by %s)…"},
    /* kAdapterNotReserved */
    {"Контроллер \"QVR-B\" не удалось закрепить за этой программой, поэтому ему ничего не "
     "отправлено: иначе другая программа могла бы одновременно передавать ему свои данные.",
     "The controller \"QVR-B\" could not be reserved for this program, so nothing was sent to "
     "it: another program could otherwise send it its own data at the same time."},
    /* kAdapterLockNoAccess */
    {"Причина: этому пользователю нельзя открыть \"%s\".",
     "Reason: this user may not open \"%s\"."},
    /* kAdapterLockNotNode */
    {"Причина: \"%s\" — не узел устройства адаптера.",
     "Reason: \"%s\" is not the adapter's device node."},
    /* kAdapterLockNotFile */
    {"Причина: \"%s\" — не обычный файл (удалите его: файл блокировки будет создан заново).",
     "Reason: \"%s\" is not a regular file (remove it: the lock file is then made anew)."},
    /* kAdapterLockRefused */
    {"Причина: система отказала в блокировке \"%s\" (%s).",
     "Reason: the system refused the lock on \"%s\" (%s)."},
};
// clang-format on

static_assert(sizeof kTexts / sizeof kTexts[0] == static_cast<size_t>(AddedText::kCount));

}  // namespace

const char* TextIn(Language language, AddedText id) {
  const Texts& texts = kTexts[static_cast<int>(id)];
  return language == kEnglish ? texts.english : texts.russian;
}

const char* Text(const Catalogue& catalogue, AddedText id) {
  return TextIn(catalogue.language(), id);
}

std::string TimeLeftText(const Catalogue& catalogue, unsigned seconds) {
  return catalogue.FormatText(Text(catalogue, AddedText::kTimeLeft), seconds / 60, seconds % 60);
}

std::string WithAddedText(const Catalogue& catalogue, const std::string& text, AddedText id) {
  return text + "\n" + Text(catalogue, id);
}

}  // namespace qvr
