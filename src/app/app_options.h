#pragma once
// The program's command line: --simulator[=DIR] runs against the built-in simulated controller
// (DIR keeps its devices' memory across runs), --simulated-latency MS slows its reports down
// like a slow adapter, --settings PATH names the settings file, --data-folder DIR the folder of
// the backups and the history, --new-instance opens a window even when one runs; --help and
// --version answer and end.
#include <QString>
#include <QStringList>

namespace qvr {

struct AppOptions {
  bool simulator = false;
  QString simulatorDir;
  QString settingsPath;
  QString dataFolder;          // "": the settings' DataFolder, else the user's own
  int simulatedLatencyMs = 0;  // every report of the simulated controller takes this long
  bool newInstance = false;    // a window of its own even when one runs already
};

// Parses `arguments` (program name first). On a bad command line, --help or --version, prints to
// the console and returns false with the exit code in `exitCode`. Needs no QApplication.
bool ParseAppOptions(const QStringList& arguments, AppOptions& options, int& exitCode);

// The command line as the process got it.
QStringList ArgumentsOf(int argc, char** argv);
// Whether `arguments` carry Qt's own options (a single dash and a word: -platform, -style),
// which only QApplication can take out before the program's own are parsed.
bool HasQtOptions(const QStringList& arguments);

}  // namespace qvr
