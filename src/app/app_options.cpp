#include "app/app_options.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

#include "devices/drivers/device_drivers.h"
#include "i18n/catalogue.h"
#include "platform/console.h"
#include "platform/window_console.h"

namespace qvr {
namespace {

// "Service program for A and B devices, through the C USB controller." from the registry.
QString ProgramLine() {
  QStringList devices;
  for (const DeviceDriver& driver : DeviceDrivers())
    if (!driver.IsController()) devices << driver.module->name;
  const QString last = devices.isEmpty() ? QString() : devices.takeLast();
  const QString named = devices.isEmpty() ? last : devices.join(", ") + " and " + last;
  return QString("Service program for %1 devices, through the %2 USB controller.\n")
      .arg(named, ControllerDriver().module->name);
}

constexpr const char* kDescription =
    "Without --settings an installed program keeps its settings in qvr-service.ini in the\n"
    "user's configuration folder, also when run as root; a copy outside the system's program\n"
    "folders keeps them at its own path with .ini where that folder is writable.";

constexpr const char* kQtOptionsNote =
    "\nQt's own options (-platform NAME, -style NAME, -reverse and the others of QApplication)\n"
    "are accepted as well.\n";

// "--simulator=DIR" becomes "--simulator --simulator-state=DIR": the parser cannot have an
// option whose value is optional.
QStringList SplitSimulatorState(const QStringList& arguments) {
  QStringList split;
  for (const QString& argument : arguments) {
    if (argument.startsWith("--simulator=")) {
      split << "--simulator"
            << "--simulator-state=" + argument.mid(QStringLiteral("--simulator=").size());
    } else {
      split << argument;
    }
  }
  return split;
}

QString HelpText(const QCommandLineParser& parser, const QString& program) {
  QString text = parser.helpText();
  // The parser names the program only where a QCoreApplication exists.
  text.replace(0, text.indexOf('\n'), "Usage: " + QFileInfo(program).fileName() + " [options]");
  // The optional folder is shown where the parser has room for it in the option's column.
  text.replace("--simulator      ", "--simulator[=DIR]");
  return text + kQtOptionsNote;
}

// The parser's words repeat the arguments, which may hold escape sequences meant for the
// terminal: every control but the line break is shown as '?'.
QString TerminalSafe(QString text) {
  for (QChar& c : text)
    if (c.category() == QChar::Other_Control && c != u'\n') c = u'?';
  return text;
}

bool Fail(const QString& text, int& exitCode) {
  UseStartingConsoleForText();
  std::fprintf(stderr, "%s\n", qPrintable(TerminalSafe(text)));
  exitCode = 2;
  return false;
}

}  // namespace

bool ParseAppOptions(const QStringList& arguments, AppOptions& options, int& exitCode) {
  QCommandLineParser parser;
  parser.setApplicationDescription(ProgramLine() + kDescription);
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version({"v", "version"}, "Displays version information.");
  const QCommandLineOption simulator(
      "simulator",
      "Use the built-in simulated controller instead of the USB one. As --simulator=DIR its "
      "devices keep their memory in the folder DIR across runs.");
  QCommandLineOption simulatorDir("simulator-state",
                                  "Folder that keeps the simulated devices' memory.", "DIR");
  simulatorDir.setFlags(QCommandLineOption::HiddenFromHelp);
  const QCommandLineOption latency(
      "simulated-latency",
      "With --simulator: every report takes MS milliseconds (0 to 10000), like a slow adapter.",
      "MS");
  const QCommandLineOption settings("settings", "Settings file to use.", "PATH");
  const QCommandLineOption dataFolder(
      "data-folder",
      "Folder of the backups and the history, one several computers may share (default: "
      "DataFolder of the settings, else the user's own).",
      "DIR");
  const QCommandLineOption newInstance(
      "new-instance",
      "Open a window of its own even when one with the same settings runs already (which is "
      "otherwise brought to the front).");
  parser.addOption(version);
  parser.addOption(simulator);
  parser.addOption(latency);
  parser.addOption(simulatorDir);
  parser.addOption(settings);
  parser.addOption(dataFolder);
  parser.addOption(newInstance);

  if (!parser.parse(SplitSimulatorState(arguments))) return Fail(parser.errorText(), exitCode);
  if (parser.isSet(help) || parser.isSet("help-all") || parser.isSet(version))
    UseStartingConsoleForText();
  if (parser.isSet(help) || parser.isSet("help-all")) {
    std::fprintf(stdout, "%s", qPrintable(HelpText(parser, arguments.value(0))));
    exitCode = 0;
    return false;
  }
  if (parser.isSet(version)) {
    std::fprintf(stdout, "qvr-service %s\n", kProgramVersion);
    exitCode = 0;
    return false;
  }
  if (!parser.positionalArguments().isEmpty()) {
    return Fail("Unexpected argument: " + parser.positionalArguments()[0], exitCode);
  }
  options.simulator = parser.isSet(simulator) || parser.isSet(simulatorDir);
  options.simulatorDir = parser.value(simulatorDir);
  options.settingsPath = parser.value(settings);
  options.dataFolder = parser.value(dataFolder);
  options.newInstance = parser.isSet(newInstance);
  bool number = true;
  options.simulatedLatencyMs = parser.isSet(latency) ? parser.value(latency).toInt(&number) : 0;
  if (!number || options.simulatedLatencyMs < 0 || options.simulatedLatencyMs > 10000) {
    return Fail("--simulated-latency takes milliseconds from 0 to 10000", exitCode);
  }
  return true;
}

QStringList ArgumentsOf(int argc, char** argv) {
  QStringList arguments;
#ifdef _WIN32
  // argv is in the ANSI code page, which cannot hold every file name; the wide command line can.
  for (const std::string& argument : Utf8Arguments(argc, argv))
    arguments << QString::fromStdString(argument);
#else
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
#endif
  return arguments;
}

bool HasQtOptions(const QStringList& arguments) {
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument.size() > 2 && argument[0] == '-' && argument[1] != '-') return true;
  }
  return false;
}

}  // namespace qvr
