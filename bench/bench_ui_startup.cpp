// Start-up, language switch and memory of the main window on the offscreen platform, with the
// real device pages over the simulated controller. Prints medians beside the aims.
//   bench_ui_startup [runs]
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/device_pages.h"
#include "app/main_window.h"
#include "sim/sim_transport.h"

namespace {

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

std::unique_ptr<qvr::MainWindow> MakeWindow(const QString& settingsPath) {
  qvr::WindowOptions options;
  options.settingsPath = settingsPath;
  options.transport =
      std::make_unique<qvr::sim::SimTransport>(std::make_unique<qvr::sim::SimController>());
  return std::make_unique<qvr::MainWindow>(std::move(options));
}

// The child: builds and shows the window, reports its resident memory and exits.
int RunChild(int argc, char** argv, const QString& settingsPath) {
  QApplication application(argc, argv);
  auto window = MakeWindow(settingsPath);
  window->show();
  QApplication::processEvents();
  std::printf("shown %ld\n", ResidentKilobytes());
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir dir;
  const QString settingsPath = dir.path() + "/bench.ini";
  if (argc >= 3 && std::string(argv[1]) == "--child") return RunChild(1, argv, argv[2]);

  const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 7;
  QApplication application(argc, argv);

  std::vector<double> startMs, residentMb;
  for (int i = 0; i < runs; ++i) {
    QProcess child;
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), {"--child", settingsPath});
    if (!child.waitForReadyRead(60000)) {
      std::fprintf(stderr, "child did not start\n");
      return 1;
    }
    const QByteArray line = child.readLine();
    startMs.push_back(double(clock.nsecsElapsed()) / 1e6);
    residentMb.push_back(line.mid(6).trimmed().toDouble() / 1024.0);
    child.waitForFinished(60000);
  }

  std::vector<double> switchMs;
  {
    auto window = MakeWindow(settingsPath);
    window->show();
    QApplication::processEvents();
    for (int i = 0; i < 21; ++i) {
      QElapsedTimer clock;
      clock.start();
      window->SetLanguage(i % 2 == 0 ? qvr::kEnglish : qvr::kRussian);
      switchMs.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
  }

  std::printf("%-34s %10s %10s\n", "measure (median)", "value", "aim");
  std::printf("%-34s %8.1f ms %7d ms\n", "process start -> window shown", Median(startMs), 200);
  std::printf("%-34s %8.1f ms %7d ms\n", "language switch", Median(switchMs), 15);
  std::printf("%-34s %8.1f MB %7d MB\n", "resident memory after start-up", Median(residentMb), 60);
  std::printf("(%d start-ups, %zu switches; sanitizer builds run several times slower)\n", runs,
              switchMs.size());
  return 0;
}
