// qvr-service: the service program's window over the USB controller or the simulated one.
#include <QApplication>
#include <QStandardPaths>
#include <chrono>

#include "app/app_options.h"
#include "app/device_pages.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/termination_signals.h"
#include "sim/sim_transport.h"

int main(int argc, char** argv) {
  // The command line is answered before QApplication, which needs a display: --help,
  // --version and a mistyped option work on a console alone. Qt's own options (-platform …)
  // are taken out by QApplication first.
  qvr::AppOptions appOptions;
  int exitCode = 0;
  const QStringList arguments = qvr::ArgumentsOf(argc, argv);
  const bool qtOptions = qvr::HasQtOptions(arguments);
  if (!qtOptions && !qvr::ParseAppOptions(arguments, appOptions, exitCode)) return exitCode;

  QApplication application(argc, argv);
  QApplication::setApplicationName("qvr-service");
  QApplication::setApplicationVersion(qvr::kProgramVersion);
  QApplication::setDesktopFileName("qvr-service");
  if (qtOptions && !qvr::ParseAppOptions(QApplication::arguments(), appOptions, exitCode)) {
    return exitCode;
  }

  qvr::WindowOptions options;
  const QString userConfigFolder =
      QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  options.settingsPath = qvr::SettingsFilePath(
      appOptions.settingsPath, QApplication::applicationFilePath(), userConfigFolder);
  qvr::SingleInstance instance(qvr::InstanceName(options.settingsPath));
  if (!appOptions.newInstance && instance.AskRunningWindow()) return 0;

  if (appOptions.simulator) {
    auto controller =
        std::make_unique<qvr::sim::SimController>(appOptions.simulatorDir.toStdString());
    controller->SetLatency(std::chrono::milliseconds(appOptions.simulatedLatencyMs));
    options.transport = std::make_unique<qvr::sim::SimTransport>(std::move(controller));
  }  // without one the window talks to the USB controller
  options.simulated = appOptions.simulator;
  options.dataFolder = appOptions.dataFolder.toStdString();

  qvr::MainWindow window(std::move(options));
  qvr::TerminationSignals terminationSignals([&window] { window.Terminate(); });
  window.show();
  // A window started with --new-instance leaves the name to the one that has it.
  if (!appOptions.newInstance) {
    (void)instance.Listen([&window] {
      window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
      window.show();
      window.raise();
      window.activateWindow();
    });
  }
  return QApplication::exec();
}
