#pragma once
// The program's command line: --simulator[=DIR] runs against the built-in simulated controller
// (DIR keeps its devices' memory across runs), --simulated-latency MS slows its reports down
// like a slow adapter, --settings PATH names the settings file.
#include <QString>
#include <QStringList>

namespace qvr {

struct AppOptions {
  bool simulator = false;
  QString simulatorDir;
  QString settingsPath;
  int simulatedLatencyMs = 0;  // every report of the simulated controller takes this long
};

// Parses `arguments` (program name first). On a bad command line or --help, prints to the
// console and returns false with the exit code in `exitCode`.
bool ParseAppOptions(const QStringList& arguments, AppOptions& options, int& exitCode);

}  // namespace qvr
