// How long the window's event loop can go without running, measured by a 5 ms heartbeat timer,
// while (a) the controller is silent for 10 s, (b) a full MUX-410 configuration is read at
// 3 ms per report, (c) a 60 KB firmware update runs at 1 ms per report. Also the processor
// time the program takes while the controller is silent. Printed beside the aims and the
// reply time-out, which is what the window would stall for if reports ran on its thread.
//   bench_ui_stall [silent seconds]
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#endif

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/device_pages.h"
#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "sim/sim_controller.h"
#include "sim/sim_transport.h"
#include "sim/sim_update_image.h"

namespace {

class Answers : public qvr::MessageBoxResponder, public qvr::FileDialogRunner {
 public:
  qvr::BoxAnswer Respond(const qvr::BoxRequest& request) override {
    if (!request.yesNo) std::fprintf(stderr, "box: %s\n", request.text.toStdString().c_str());
    return request.yesNo ? qvr::BoxAnswer::kYes : qvr::BoxAnswer::kOk;
  }
  QString Run(const qvr::FileDialogRequest&) override { return file; }
  // The benchmark restores nothing.
  qvr::BackupChoice ChooseBackup(const qvr::BackupChoiceRequest&) override { return {}; }
  QString file;
};

// Longest gap between two heartbeats while it runs.
class Heartbeat {
 public:
  Heartbeat() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      longestMs_ = std::max(longestMs_, double(since_.nsecsElapsed()) / 1e6);
      since_.restart();
    });
  }
  void Start() {
    longestMs_ = 0;
    since_.start();
    timer_.start();
  }
  double Stop() {
    timer_.stop();
    return longestMs_;
  }

 private:
  QTimer timer_;
  QElapsedTimer since_;
  double longestMs_ = 0;
};

double ProcessorSeconds() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  auto seconds = [](const FILETIME& t) {  // FILETIME counts 100 ns
    return double((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
#else
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
#endif
}

void RunEventLoopFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const int silentSeconds = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 10;
  QTemporaryDir dir;
  qvr::sim::SimController controller;
  Answers answers;
  qvr::WindowOptions options;
  options.settingsPath = dir.path() + "/bench.ini";
  options.transport = std::make_unique<qvr::sim::SimTransport>(controller);
  options.boxResponder = &answers;
  options.dialogRunner = &answers;
  qvr::MainWindow window(std::move(options));
  window.show();
  Heartbeat heartbeat;

  // (a) A controller that never answers, polled by the window as it always is.
  // The processor time is taken without the heartbeat, which costs some of its own.
  controller.SilenceNext(qvr::sim::kAlways);
  heartbeat.Start();
  RunEventLoopFor(silentSeconds * 1000);
  const double silentStall = heartbeat.Stop();
  const double cpuBefore = ProcessorSeconds();
  RunEventLoopFor(silentSeconds * 1000);
  const double silentCpu = (ProcessorSeconds() - cpuBefore) / silentSeconds * 100.0;

  // (b) A full configuration read from the MUX-410, 3 ms per report.
  controller.ClearFaults();
  RunEventLoopFor(1500);  // the monitor finds the controller again
  controller.SetLatency(std::chrono::milliseconds(3));
  window.setActivePage(1);  // the MUX-410 page
  window.RefreshToolbar();
  QElapsedTimer readClock;
  heartbeat.Start();
  readClock.start();
  window.ReadDeviceCommand();
  const double readMs = double(readClock.elapsed());
  const double readStall = heartbeat.Stop();

  // (c) A 60 KB firmware update, 1 ms per report.
  controller.SetLatency(std::chrono::milliseconds(1));
  const std::vector<uint8_t> file = qvr::sim::BuildUpdateFile(
      216, qvr::sim::kMux410Identity.deviceVersion, qvr::sim::kMux410Identity.deviceType, 60000);
  answers.file = dir.path() + "/mux.LDR";
  std::ofstream(answers.file.toStdString(), std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  QElapsedTimer updateClock;
  heartbeat.Start();
  updateClock.start();
  window.UpdateFirmwareCommand();
  const double updateMs = double(updateClock.elapsed());
  const double updateStall = heartbeat.Stop();

  std::printf("%-46s %9s %9s %14s\n", "longest event-loop stall", "measured", "aim",
              "reply time-out");
  std::printf("%-46s %6.1f ms %6d ms %11d ms\n", "(a) silent controller", silentStall, 50, 500);
  std::printf("%-46s %6.1f ms %6d ms %11d ms\n", "(b) MUX-410 read, 3 ms per report", readStall, 50,
              500);
  std::printf("%-46s %6.1f ms %6d ms %11d ms\n", "(c) 60 KB update, 1 ms per report", updateStall,
              50, 500);
  std::printf("%-46s %6.1f %%  %6d %%\n", "processor while the controller is silent", silentCpu, 5);
  std::printf("(read took %.0f ms, update %.0f ms; silent phase %d s)\n", readMs, updateMs,
              silentSeconds);
  return 0;
}
