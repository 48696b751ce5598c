// The program's command line.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "app/app_options.h"
#include "app/single_instance.h"

namespace qvr::test {
namespace {

TEST(CommandLine, SimulatorWithAndWithoutStateFolderAndSettingsPath) {
  AppOptions options;
  int exitCode = -1;
  ASSERT_TRUE(ParseAppOptions({"qvr-service"}, options, exitCode));
  EXPECT_FALSE(options.simulator);
  EXPECT_TRUE(options.settingsPath.isEmpty());

  options = {};
  ASSERT_TRUE(ParseAppOptions({"qvr-service", "--simulator", "--settings", "/tmp/a.ini"}, options,
                              exitCode));
  EXPECT_TRUE(options.simulator);
  EXPECT_TRUE(options.simulatorDir.isEmpty());
  EXPECT_EQ(options.settingsPath, "/tmp/a.ini");
  EXPECT_FALSE(options.newInstance);
  ASSERT_TRUE(ParseAppOptions({"qvr-service", "--new-instance"}, options, exitCode));
  EXPECT_TRUE(options.newInstance);

  options = {};
  ASSERT_TRUE(ParseAppOptions({"qvr-service", "--simulator=/var/sim state"}, options, exitCode));
  EXPECT_TRUE(options.simulator);
  EXPECT_EQ(options.simulatorDir, "/var/sim state");

  options = {};
  ASSERT_TRUE(ParseAppOptions({"qvr-service", "--simulator", "--simulated-latency", "3"}, options,
                              exitCode));
  EXPECT_EQ(options.simulatedLatencyMs, 3);
  for (const char* bad : {"-1", "3ms", "10001"}) {
    EXPECT_FALSE(ParseAppOptions({"qvr-service", "--simulated-latency", bad}, options, exitCode));
    EXPECT_EQ(exitCode, 2);
  }
}

// --help and --version are answered without a QApplication, so without a display.
// A second start finds the running window and brings it to the front; a window that ended
// without giving its name back does not keep the next one from taking it; another settings file
// is another window.
TEST(OneWindow, ASecondStartReachesTheRunningWindow) {
  const QTemporaryDir dir;
  const QString name = InstanceName(dir.filePath("qvr-service.ini"));
  EXPECT_EQ(name, InstanceName(dir.filePath("./qvr-service.ini")));
  EXPECT_NE(name, InstanceName(dir.filePath("other.ini")));
  int fronts = 0;
  {
    SingleInstance running(name);
    EXPECT_FALSE(running.AskRunningWindow());
    ASSERT_TRUE(running.Listen([&fronts] { ++fronts; }));
    SingleInstance second(name);
    EXPECT_TRUE(second.AskRunningWindow());
    QElapsedTimer waited;
    waited.start();
    while (fronts == 0 && waited.elapsed() < 5000) QCoreApplication::processEvents();
    EXPECT_EQ(fronts, 1);
    EXPECT_FALSE(SingleInstance(InstanceName(dir.filePath("other.ini"))).AskRunningWindow());
  }
#ifndef _WIN32
  QFile leftOver(name);  // as a crashed window leaves it
  ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
  leftOver.close();
#endif
  SingleInstance next(name);
  EXPECT_FALSE(next.AskRunningWindow());
  EXPECT_TRUE(next.Listen([] {}));
}

TEST(CommandLine, HelpNamesEveryOptionAndVersionAnswersWithoutTheWindow) {
  AppOptions options;
  int exitCode = -1;
  testing::internal::CaptureStdout();
  EXPECT_FALSE(ParseAppOptions({"/usr/bin/qvr-service", "--help"}, options, exitCode));
  const std::string help = testing::internal::GetCapturedStdout();
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(help.rfind("Usage: qvr-service [options]\n", 0), 0u) << help;
  for (const char* option : {"--simulator[=DIR]", "--simulated-latency <MS>", "--settings <PATH>",
                             "--version", "--help", "-platform"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }

  exitCode = -1;
  testing::internal::CaptureStdout();
  EXPECT_FALSE(ParseAppOptions({"qvr-service", "--version"}, options, exitCode));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "qvr-service 1.14\n");
  EXPECT_EQ(exitCode, 0);

  EXPECT_FALSE(ParseAppOptions({"qvr-service", "--simulater"}, options, exitCode));
  EXPECT_EQ(exitCode, 2);
  // A mistyped argument is repeated without the escape sequences it holds.
  testing::internal::CaptureStderr();
  EXPECT_FALSE(ParseAppOptions({"qvr-service",
                                "\x1B]0;PWN\x07\xC2\x9B"
                                "2J"},
                               options, exitCode));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unexpected argument: ?]0;PWN??2J\n");

  // Qt's own options are left for QApplication to take out first.
  EXPECT_TRUE(HasQtOptions({"qvr-service", "--simulator", "-platform", "offscreen"}));
  EXPECT_TRUE(HasQtOptions({"qvr-service", "-reverse"}));
  EXPECT_FALSE(HasQtOptions({"qvr-service", "--simulator=/tmp/x", "-h", "--settings", "-"}));
}

}  // namespace
}  // namespace qvr::test
