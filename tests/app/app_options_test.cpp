// The program's command line.
#include <gtest/gtest.h>

#include "app/app_options.h"

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

}  // namespace
}  // namespace qvr::test
