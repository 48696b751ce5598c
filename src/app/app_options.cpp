#include "app/app_options.h"

#include <QCommandLineParser>
#include <cstdio>

namespace qvr {

bool ParseAppOptions(const QStringList& arguments, AppOptions& options, int& exitCode) {
  QCommandLineParser parser;
  parser.setApplicationDescription("Service program for MUX-410 and TPX-520 devices");
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption simulator(
      "simulator", "Use the built-in simulated controller instead of the USB one.");
  // "--simulator=DIR" is split into these two before parsing (an option value cannot be
  // optional for the parser).
  QCommandLineOption simulatorDir("simulator-state",
                                  "Folder that keeps the simulated devices' memory.", "DIR");
  simulatorDir.setFlags(QCommandLineOption::HiddenFromHelp);
  const QCommandLineOption settings("settings", "Settings file to use.", "PATH");
  const QCommandLineOption latency("simulated-latency",
                                   "With --simulator: every report takes MS milliseconds.", "MS");
  parser.addOption(simulator);
  parser.addOption(latency);
  parser.addOption(simulatorDir);
  parser.addOption(settings);

  QStringList split;
  for (const QString& argument : arguments) {
    if (argument.startsWith("--simulator=")) {
      split << "--simulator"
            << "--simulator-state=" + argument.mid(QStringLiteral("--simulator=").size());
    } else {
      split << argument;
    }
  }
  if (!parser.parse(split)) {
    std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
    exitCode = 2;
    return false;
  }
  if (parser.isSet(help)) {
    std::fprintf(stdout, "%s", qPrintable(parser.helpText()));
    exitCode = 0;
    return false;
  }
  if (!parser.positionalArguments().isEmpty()) {
    std::fprintf(stderr, "Unexpected argument: %s\n", qPrintable(parser.positionalArguments()[0]));
    exitCode = 2;
    return false;
  }
  options.simulator = parser.isSet(simulator) || parser.isSet(simulatorDir);
  options.simulatorDir = parser.value(simulatorDir);
  options.settingsPath = parser.value(settings);
  bool number = true;
  options.simulatedLatencyMs = parser.isSet(latency) ? parser.value(latency).toInt(&number) : 0;
  if (!number || options.simulatedLatencyMs < 0 || options.simulatedLatencyMs > 10000) {
    std::fprintf(stderr, "--simulated-latency takes milliseconds from 0 to 10000\n");
    exitCode = 2;
    return false;
  }
  return true;
}

}  // namespace qvr
