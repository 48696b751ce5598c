// The window's component texts in table order: key, Russian, English. An item list carries
// CR LF after every item, the last one included.
#include "i18n/translation_table.h"

namespace qvr {
namespace {

// clang-format off
constexpr TranslationRow kRows[] = {
    {"MainForm_SpeedButtonUpdate_Hint", "Обновление программного обеспечения", "Firmware Update"},
    {"MainForm_SpeedButtonReadConfig_Hint",
     "Открыть файл конфигурации устройства",
     "Open the device configuration file"},
    {"MainForm_SpeedButtonWriteConfig_Hint",
     "Сохранить файл конфигурации устройства",
     "Save device configuration file"},
    {"MainForm_SpeedButtonReadDevice_Hint",
     "Прочитать конфигурацию из устройства",
     "Read configuration from the device"},
    {"MainForm_SpeedButtonWriteDevice_Hint",
     "Записать конфигурацию в устройство",
     "Write configuration to the device"},
    {"MainForm_SpeedButtonToDefault_Hint",
     "Сбросить конфигурацию устройства в состояние по умолчанию",
     "Reset the device configuration to its default state"},
    {"MainForm_SpeedButtonReset_Hint", "Сброс устройства", "Reset device"},
    {"MainForm_PanelMenu_Hint",
     "Выберите параметры в меню, после нажатия правой кнопки мыши",
     "Select Options from the menu after clicking the right mouse button"},
    {"MainForm_TabSheetMonitoring_Caption", "Мониторинг", "Monitoring"},
    {"MainForm_GroupBoxDescriptionMUX410_Caption",
     " Описание конфигурации ",
     " Description of the configuration "},
    {"MainForm_GroupBoxParamMUX410_Caption", " Параметры ", " Parameters "},
    {"MainForm_SpeedButtonGetPATypeMUX410_Hint",
     "Узнать тип ПА (Для работы необходимо включить зажигание и включить-выключить задний ход)",
     "Learn the type of PA (To Please turn on the ignition and turn-off reverse)"},
    {"MainForm_ComboBoxModeMUX410_Caption",
     "До 2010 года\r\n" "Активный ПА\r\n" "Пассивный ПА\r\n" "Эмуляция ПА\r\n" "Внешний DVD\r\n"
     "Внешний TV\r\n",
     "Prior to 2010\r\n" "Active PA\r\n" "Passive PA\r\n" "Emulation of PA\r\n" "External DVD\r\n"
     "External TV\r\n"},
    {"MainForm_PanelModeMUX410_Caption", "Режим работы", "Mode"},
    {"MainForm_CheckBoxCIR_MUX410_Caption", "+ SWIM", "+ SWIM"},
    {"MainForm_CheckBoxCIR_MUX410_Hint",
     "Выдавать ИК коды через SWIM",
     "Generate code via IR SWIM"},
    {"MainForm_CheckBoxTPX_MUX410_Caption", "+ TPX", "+ TPX"},
    {"MainForm_CheckBoxTPX_MUX410_Hint",
     "Получать нажатия через TPX",
     "Get clicking through the TPX"},
    {"MainForm_CheckBoxLX570_MUX410_Caption", "Для LX570", "For LX570"},
    {"MainForm_CheckBoxLX570_MUX410_Hint", "Опция для LX570", "Option for LX570"},
    {"MainForm_CheckBoxActPA_MUX410_Caption", "Активация ПА", "Activation of PA"},
    {"MainForm_CheckBoxActPA_MUX410_Hint",
     "Для тех, у кого проблема с активацией ПА",
     "For those who have a problem with the activation of PA"},
    {"MainForm_CheckBoxGabar_MUX410_Caption", "Габариты", "Marker lights"},
    {"MainForm_CheckBoxGabar_MUX410_Hint",
     "Для тех, у кого проблема при выключении габаритов",
     "For those who have a problem when you turn off marker lights"},
    {"MainForm_CheckBoxResGFIV_MUX410_Caption", "Сброс коммутатора", "Reset switch"},
    {"MainForm_CheckBoxResGFIV_MUX410_Hint",
     "Сброс коммутатора при выборе штатного экрана",
     "Reset switch for selecting the native screen"},
    {"MainForm_GroupBoxNaviMUX410_Caption", " Навигация ", " Navigation "},
    {"MainForm_SpeedButtonNaviAuto_MUX410_Hint",
     "Автоматическая настройка типа навигатора",
     "Automatic configuration of type Navigator"},
    {"MainForm_PanelNaviType_MUX410_Caption", "Тип навигатора", "Type of Navigator"},
    {"MainForm_ComboBoxNaviType_MUX410_Caption",
     "Неизвестно\r\n" "GVN53\r\n" "LM7200\r\n" "PHANTOM, F1\r\n" "KENWOOD MircoM\r\n"
     "KENWOOD Original\r\n",
     "Unknown\r\n" "GVN53\r\n" "LM7200\r\n" "PHANTOM, F1\r\n" "KENWOOD MircoM\r\n"
     "KENWOOD Original\r\n"},
    {"MainForm_CheckBoxAllTouch_MUX410_Caption", "Перехват всех нажатий", "Intercepting all touch"},
    {"MainForm_CheckBoxAllTouch_MUX410_Hint",
     "Перехватывать все нажатия на тачскрине для навигатора",
     "Intercept all keystrokes on the touchscreen for the browser"},
    {"MainForm_PanelVaviInput_MUX410_Caption", "Используемый вход", "Used input"},
    {"MainForm_ComboBoxNaviInput_MUX410_Caption",
     "Нет\r\n" "2\r\n" "3\r\n" "4\r\n" "5\r\n" "6\r\n",
     "No\r\n" "2\r\n" "3\r\n" "4\r\n" "5\r\n" "6\r\n"},
    {"MainForm_PanelNaviMute_MUX410_Caption", "Режим mute/unmute", "Mute/unmute mode"},
    {"MainForm_ComboBoxNaviMute_MUX410_Caption",
     "Управление по шине\r\n" "Работа на динамик\r\n",
     "Manage from bus\r\n" "Work on the speaker\r\n"},
    {"MainForm_CheckBoxBeep_MUX410_Caption", "Сигнал при нажатиях", "Beep on touch"},
    {"MainForm_GroupBoxActionMUX410_Caption", " Действие ", " Action "},
    {"MainForm_PanelPowerOnTO_MUX410_Caption",
     "Таймаут после подачи ACC",
     "Timeout after power on"},
    {"MainForm_PanelOnPowerOn_MUX410_Caption", "При включении", "On power on"},
    {"MainForm_ComboBoxOnPowerOn_MUX410_Caption",
     "Выбрать 1-й вход (штатный экран)\r\n" "Выбрать 2-й вход\r\n" "Выбрать 3-й вход\r\n"
     "Выбрать 4-й вход\r\n" "Выбрать 5-й вход\r\n" "Выбрать 6-й вход\r\n"
     "Восстанавливать последнее состояние\r\n",
     "Select the 1st input (native screen)\r\n" "Select the 2nd input\r\n"
     "Select the 3rd input\r\n" "Select the 4th input\r\n" "Select the 5th input\r\n"
     "Select the 6th input\r\n" "To restore the last state\r\n"},
    {"MainForm_PanelGVIFMode_MUX410_Caption", "Режим коммутатора", "Switch mode"},
    {"MainForm_ComboBoxGVIFMode_MUX410_Caption",
     "-_- Импульсный прямой открытый коллектор\r\n"
     "_-_ Импульсный инверсный открытый коллектор\r\n" "-_ Уровневый  прямой открытый коллектор\r\n"
     "_- Уровневый  инверсный открытый коллектор\r\n",
     "-_- The pulse line open collector\r\n" "_-_ Pulse inverted open collector\r\n"
     "-_ Potencial open collector\r\n" "_- Potencial inverted open collector\r\n"},
    {"MainForm_PanelPulseTO_MUX410_Caption",
     "Длительность импульса управления коммутатором",
     "Pulse width control switch"},
    {"MainForm_PanelPowerOnTOSecond_MUX410_Caption", "секунд", "seconds"},
    {"MainForm_PanelPulseTOSecond_MUX410_Caption", "секунд", "seconds"},
    {"MainForm_GroupBoxInputParam_MUX410_Caption", " Параметры входов ", " Input parameters "},
    {"MainForm_CheckListBoxSkipInput_MUX410_Caption",
     "2-й\r\n" "3-й\r\n" "4-й\r\n" "5-й\r\n" "6-й\r\n",
     "2nd\r\n" "3rd\r\n" "4th\r\n" "5th\r\n" "6th\r\n"},
    {"MainForm_PanelSkipInput_MUX410_Caption", "Пропускаемые входы ", "Skipped inputs"},
    {"MainForm_PanelFirstInput_MUX410_Caption",
     "Первый вход при перехвате",
     "First input in the interception of"},
    {"MainForm_ComboBoxFirstInput_MUX410_Caption",
     "Последний\r\n" "Вход 2\r\n" "Вход 3\r\n" "Вход 4\r\n" "Вход 5\r\n" "Вход 6\r\n",
     "Last used\r\n" "Input 2\r\n" "Input 3\r\n" "Input 4\r\n" "Input 5\r\n" "Input 6\r\n"},
    {"MainForm_PanelCurrentInput_MUX410_Caption", "Текущий вход", "The current input"},
    {"MainForm_PanelCurrentInput_MUX410_Hint",
     "Выполните двойной клик, чтобы узнать текущий вход",
     "Double click to find out the current input"},
    {"MainForm_ComboBoxCurrentInput_MUX410_Caption",
     "1\r\n" "2\r\n" "3\r\n" "4\r\n" "5\r\n" "6\r\n",
     "1\r\n" "2\r\n" "3\r\n" "4\r\n" "5\r\n" "6\r\n"},
    {"MainForm_ComboBoxCurrentInput_MUX410_Hint",
     "Установить номер текущего входа",
     "Set the number of the current input"},
    {"MainForm_PanelDescriptionEvent_MUX410_Caption", "Описание", "Description"},
    {"MainForm_PanelInputEvent_MUX410_Caption", "Вход", "Input"},
    {"MainForm_ComboBoxInputEvent_MUX410_Caption",
     "Нет\r\n" "1\r\n" "2\r\n" "3\r\n" "4\r\n" "5\r\n" "6\r\n" "Любой\r\n",
     "No\r\n" "1\r\n" "2\r\n" "3\r\n" "4\r\n" "5\r\n" "6\r\n" "Any\r\n"},
    {"MainForm_PanelZoneEvent_MUX410_Caption", "Событие", "Event"},
    {"MainForm_ComboBoxZoneEvent_MUX410_Caption",
     "Не указано\r\n" "При подаче питания\r\n" "Верхний левый угол экрана\r\n" "Верх экрана\r\n"
     "Верхний правый угол экрана\r\n" "Лево экрана\r\n" "Центр экрана\r\n" "Право экрана\r\n"
     "Нижний левый угол экрана\r\n" "Низ экрана\r\n" "Нижний правый угол экрана\r\n" "Кнопка 0\r\n"
     "Кнопка 1\r\n" "Кнопка 2\r\n" "Кнопка 3\r\n" "Кнопка 4\r\n" "Кнопка 5\r\n" "Кнопка 6\r\n"
     "Кнопка 7\r\n" "Кнопка 8\r\n" "Кнопка 9\r\n" "Кнопка лево\r\n" "Кнопка право\r\n"
     "Кнопка верх\r\n" "Кнопка низ\r\n" "Кнопка ввод\r\n" "Кнопка стоп\r\n" "Кнопка пауза\r\n"
     "Кнопка перемотка назад\r\n" "Кнопка перемотка вперед\r\n" "Кнопка ОК\r\n" "Кнопка возврат\r\n"
     "Кнопка трек +\r\n" "Кнопка трек -\r\n" "Кнопка меню\r\n" "Кнопка топменю\r\n",
     "Not specified\r\n" "When power is applied\r\n" "Upper left corner\r\n"
     "The top of the center\r\n" "Upper right corner\r\n" "Left of center\r\n" "Screen center\r\n"
     "Screen right\r\n" "Lower left corner\r\n" "Bottom of center\r\n" "Lower right corner\r\n"
     "Button 0\r\n" "Button 1\r\n" "Button 2\r\n" "Button 3\r\n" "Button 4\r\n" "Button 5\r\n"
     "Button 6\r\n" "Button 7\r\n" "Button 8\r\n" "Button 9\r\n" "Button left\r\n"
     "Button right\r\n" "Button up\r\n" "Button down\r\n" "Button enter\r\n" "Button stop\r\n"
     "Button pause\r\n" "Button rev left\r\n" "Button rev right\r\n" "Button OK\r\n"
     "Button return\r\n" "Button track+\r\n" "Button track-\r\n" "Button munu\r\n"
     "Button topmenu\r\n"},
    {"MainForm_PanelIRTypeEvent_MUX410_Caption", "Реакция", "Reaction"},
    {"MainForm_ComboBoxIRTypeEvent_MUX410_Caption",
     "Не указано\r\n" "NEC\r\n" "NEC расширенный\r\n" "JVC\r\n" "RC5\r\n" "RC6\r\n"
     "SONY 12 бит\r\n" "SONY 15 бит\r\n" "SONY 20 бит\r\n" "SHARP\r\n" "Переключение источников\r\n",
     "Unknown\r\n" "NEC\r\n" "NEC extended\r\n" "JVC\r\n" "RC5\r\n" "RC6\r\n" "SONY 12 bit\r\n"
     "SONY 15 bit\r\n" "SONY 20 bit\r\n" "SHARP\r\n" "Source selection\r\n"},
    {"MainForm_PanelAddressCommandEvent_MUX410_Caption", "Адрес/команда", "Address/command"},
    {"MainForm_PanelOutputEvent_MUX410_Caption", "Выход", "Output"},
    {"MainForm_ComboBoxOutputEvent_MUX410_Caption",
     "Прямой 5В огибающая\r\n" "Инверсный 5В огибающая\r\n" "Прямой ОК огибающая\r\n"
     "Инверсный ОК огибающая\r\n" "С несущей 30кГц\r\n" "С несущей 33кГц\r\n" "С несущей 36кГц\r\n"
     "С несущей 36.7кГц\r\n" "С несущей 38кГц\r\n" "С несущей 40кГц\r\n" "С несущей 56кГц\r\n",
     "Direct 5V envelope\r\n" "Inverse 5V envelope\r\n" "Direct OC envelope\r\n"
     "Inverse OC envelope\r\n" "With 30kHz carrier\r\n" "With 33kHz carrier\r\n"
     "With 36kHz carrier\r\n" "With 36.7kHz carrier\r\n" "With 38kHz carrier\r\n"
     "With 40kHz carrier\r\n" "With 56kHz carrier\r\n"},
    {"MainForm_ComboBoxReplayEvent_MUX410_Caption",
     "Без повтора\r\n" "Повтор кодом команды\r\n" "Повтор кодом повтора\r\n",
     "Do not repeat\r\n" "Repeats the command code\r\n" "Repeat code repetition\r\n"},
    {"MainForm_PanelReplayEvent_MUX410_Caption", "Повтор", "Replay"},
    {"MainForm_GroupBoxDescriptionTPX520_Caption",
     " Описание конфигурации ",
     " Description of the configuration "},
    {"MainForm_GroupBoxLineCornerTPX520_Caption", " Линии/Углы ", " Lines/Corner "},
    {"MainForm_SpeedButtonTouchAuto_TPX520_Hint",
     "Полуавтоматическая настройка подключения линий тачскрина",
     "Semi-automatic configuration of lines connecting the touchscreen"},
    {"MainForm_CheckBoxONLYEXTOUCH_TPX520_Caption", "Внешняя тачпанель", "External touchscreen"},
    {"MainForm_GroupBoxNaviTPX520_Caption", " Навигация ", " Navigation "},
    {"MainForm_SpeedButtonNaviAuto_TPX520_Hint",
     "Автоматическая настройка типа навигатора",
     "Automatic configuration of type Navigator"},
    {"MainForm_PanelNaviTypeTPX520_Caption", "Тип навигатора", "Type of Navigator"},
    {"MainForm_ComboBoxNaviType_TPX520_Caption",
     "Неизвестно\r\n" "GVN53\r\n" "LM7200\r\n" "PHANTOM, F1\r\n" "KENWOOD MircoM\r\n"
     "KENWOOD Original\r\n",
     "Unknown\r\n" "GVN53\r\n" "LM7200\r\n" "PHANTOM, F1\r\n" "KENWOOD MircoM\r\n"
     "KENWOOD Original\r\n"},
    {"MainForm_PanelNaviInputTPX520_Caption", "Используемый вход", "Used input"},
    {"MainForm_ComboBoxNaviInput_TPX520_Caption",
     "Нет\r\n" "1\r\n" "2\r\n" "3\r\n" "4\r\n" "5\r\n" "6\r\n",
     "No\r\n" "1\r\n" "2\r\n" "3\r\n" "4\r\n" "5\r\n" "6\r\n"},
    {"MainForm_GroupBoxAction_TPX520_Caption", " Действие ", " Action "},
    {"MainForm_PanelOnPowerTOmS_TPX520_Caption",
     "Таймаут после подачи ACC",
     "Timeout after power on"},
    {"MainForm_PanelOnPowerOn_TPX520_Caption", "При включении", "On power on"},
    {"MainForm_ComboBoxOnPowerOn_TPX520_Caption",
     "Выбрать штатный вход\r\n" "Выбрать 1-й вход\r\n" "Выбрать 2-й вход\r\n" "Выбрать 3-й вход\r\n"
     "Выбрать 4-й вход\r\n" "Выбрать 5-й вход\r\n" "Выбрать 6-й вход\r\n"
     "Восстанавливать последнее состояние\r\n",
     "Select the native screen\r\n" "Select the 1st input\r\n" "Select the 2nd input\r\n"
     "Select the 3rd input\r\n" "Select the 4th input\r\n" "Select the 5th input\r\n"
     "Select the 6th input\r\n" "To restore the last state\r\n"},
    {"MainForm_PanelOutPulseMode_TPX520_Caption", "Режим коммутатора", "Switch mode"},
    {"MainForm_ComboBoxOutPulseMode_TPX520_Caption",
     "-_- Импульсный прямой OK\r\n" "_-_ Импульсный инверсный OK\r\n" "-_ Уровневый прямой OK\r\n"
     "_- Уровневый инверсный OK\r\n",
     "-_- The pulse open collector output\r\n" "_-_ Pulse inverted open collector\r\n"
     "-_ Potencial open collector\r\n" "_- Potencial inverted open collector\r\n"},
    {"MainForm_PanelPulseTOmS_TPX520_Caption",
     "Длительность импульса управления коммутатором",
     "Pulse width control switch"},
    {"MainForm_PanelOnPowerTOmSSec_TPX520_Caption", "секунд", "seconds"},
    {"MainForm_PanelPulseTOmSSec_TPX520_Caption", "секунд", "seconds"},
    {"MainForm_GroupBoxInputParams_TPX520_Caption", " Параметры входов ", " Input parameters "},
    {"MainForm_CheckListBoxInputMASK_TPX520_Caption",
     "1-й\r\n" "2-й\r\n" "3-й\r\n" "4-й\r\n" "5-й\r\n" "6-й\r\n",
     "1st\r\n" "2nd\r\n" "3rd\r\n" "4th\r\n" "5th\r\n" "6th\r\n"},
    {"MainForm_PanelInputMASK_TPX520_Caption", "Пропускаемые входы", "Skipped inputs"},
    {"MainForm_PanelCurrentInput_TPX520_Caption", "Текущий вход", "The current input"},
    {"MainForm_PanelCurrentInput_TPX520_Hint",
     "Выполните двойной клик, чтобы узнать текущий вход",
     "Double click to find out the current input"},
    {"MainForm_ComboBoxCurrentInput_TPX520_Caption",
     "Штатный\r\n" "1\r\n" "2\r\n" "3\r\n" "4\r\n" "5\r\n" "6\r\n",
     "Native\r\n" "1\r\n" "2\r\n" "3\r\n" "4\r\n" "5\r\n" "6\r\n"},
    {"MainForm_ComboBoxCurrentInput_TPX520_Hint",
     "Установить номер текущего входа",
     "Set the number of the current input"},
    {"MainForm_PanelDescriptionEvent_TPX520_Caption", "Описание", "Description"},
    {"MainForm_PanelInputEvent_TPX520_Caption", "Вход", "Input"},
    {"MainForm_ComboBoxInputEvent_TPX520_Caption",
     "Нет\r\n" "1\r\n" "2\r\n" "3\r\n" "4\r\n" "5\r\n" "6\r\n" "Любой\r\n",
     "No\r\n" "1\r\n" "2\r\n" "3\r\n" "4\r\n" "5\r\n" "6\r\n" "Any\r\n"},
    {"MainForm_PanelZoneEvent_TPX520_Caption", "Событие", "Event"},
    {"MainForm_ComboBoxZoneEvent_TPX520_Caption",
     "Не указано\r\n" "При подаче питания\r\n" "Верхний левый угол экрана\r\n" "Верх экрана\r\n"
     "Верхний правый угол экрана\r\n" "Лево экрана\r\n" "Центр экрана\r\n" "Право экрана\r\n"
     "Нижний левый угол экрана\r\n" "Низ экрана\r\n" "Нижний правый угол экрана\r\n",
     "Not specified\r\n" "When power is applied\r\n" "Upper left corner\r\n"
     "The top of the center\r\n" "Upper right corner\r\n" "Left of center\r\n" "Screen center\r\n"
     "Screen right\r\n" "Lower left corner\r\n" "Bottom of center\r\n" "Lower right corner\r\n"},
    {"MainForm_PanelIRTypeEvent_TPX520_Caption", "Реакция", "Reaction"},
    {"MainForm_ComboBoxIRTypeEvent_TPX520_Caption",
     "Неизвестно\r\n" "NEC\r\n" "NEC расширенный\r\n" "JVC\r\n" "RC5\r\n" "RC6\r\n"
     "SONY 12 бит\r\n" "SONY 15 бит\r\n" "SONY 20 бит\r\n" "SHARP\r\n",
     "Unknown\r\n" "NEC\r\n" "NEC extended\r\n" "JVC\r\n" "RC5\r\n" "RC6\r\n" "SONY 12 bit\r\n"
     "SONY 15 bit\r\n" "SONY 20 bit\r\n" "SHARP\r\n"},
    {"MainForm_PanelAddressCommandEvent_TPX520_Caption", "Адрес/команда", "Address/command"},
    {"MainForm_PanelOutputEvent_TPX520_Caption", "Выход", "Output"},
    {"MainForm_ComboBoxOutputEvent_TPX520_Caption",
     "Прямой 5В огибающая\r\n" "Инверсный 5В огибающая\r\n" "С несущей 30кГц\r\n"
     "С несущей 33кГц\r\n" "С несущей 36кГц\r\n" "С несущей 36.7кГц\r\n" "С несущей 38кГц\r\n"
     "С несущей 40кГц\r\n" "С несущей 56кГц\r\n",
     "Direct 5V envelope\r\n" "Inverse 5V envelope\r\n" "With 30kHz carrier\r\n"
     "With 33kHz carrier\r\n" "With 36kHz carrier\r\n" "With 36.7kHz carrier\r\n"
     "With 38kHz carrier\r\n" "With 40kHz carrier\r\n" "With 56kHz carrier\r\n"},
    {"MainForm_ComboBoxReplayEvent_TPX520_Caption",
     "Без повтора\r\n" "Повтор кодом команды\r\n" "Повтор кодом повтора\r\n",
     "Do not repeat\r\n" "Repeats the command code\r\n" "Repeat code repetition\r\n"},
    {"MainForm_PanelReplayEvent_TPX520_Caption", "Повтор", "Replay"},
    {"MainForm_RadioGroupInpCtrType_TPX520_Caption", " Вход управления ", " Input control "},
    {"MainForm_RadioGroupInpCtrType_TPX520_Items",
     "Перехват тачпанели\r\n" "Переключение входов\r\n",
     "Intercept touchscreen\r\n" "Switching inputs\r\n"},
    {"MainForm_RadioGroupOutCtrType_TPX520_Caption", " Выход управления ", " Output control "},
    {"MainForm_RadioGroupOutCtrType_TPX520_Items",
     "0В-перехват\r\n" "5В-перехват\r\n",
     "0V-intercept\r\n" "5V-intercept\r\n"},
    {"MainForm_RadioGroupMuteType_TPX520_Caption", " Выход MUTE ", " MUTE output "},
    {"MainForm_RadioGroupMuteType_TPX520_Items",
     "0В-mute\r\n" "5В-mute\r\n",
     "0V-mute\r\n" "5V-mute\r\n"},
    {"MainForm_MenuItemDebug_Caption", "Отладка", "Debug"},
    {"MainForm_MenuItemLog_Caption", "Лог обмена", "Data logging"},
    {"MainForm_MenuItemLanguage_Caption", "Язык/Language", "Language/Язык"},
    {"MainForm_EventAddInLast_MUX410_Caption",
     "Добавить новое событие в конец",
     "Add new event at the end"},
    {"MainForm_EventInsert_MUX410_Caption",
     "Вставить новое событие перед текущим",
     "Insert a new event before the current"},
    {"MainForm_EventDelCurrent_MUX410_Caption",
     "Удалить текущее событие",
     "Delete the current event"},
    {"MainForm_EventDelAll_MUX410_Caption", "Удалить все события", "Delete all events"},
    {"MainForm_EventDelNotUsed_MUX410_Caption",
     "Удалить неиспользуемые события",
     "Remove unused events"},
};
// clang-format on

}  // namespace

std::span<const TranslationRow> TranslationRows() {
  return kRows;
}

}  // namespace qvr
