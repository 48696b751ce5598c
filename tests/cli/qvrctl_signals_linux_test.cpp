// qvrctl as its own process, stopped by a termination signal in the middle of a transfer: the
// transfer runs to its end, the user is told why the program did not stop at once, and the
// command ends with its own result.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "sim/sim_controller.h"
#include "support/ldr_builder.h"

namespace qvr {
namespace {

struct Finished {
  int exitStatus = -1;  // -1: ended by a signal
  std::string err;
};

// Runs qvrctl with `args` against the simulator in `state` (2 ms per report, every packet
// logged to stderr) and sends `signal` once a stderr line contains `marker` (0: never).
Finished RunQvrctl(const std::string& state, std::vector<std::string> args, int signal = 0,
                   const std::string& marker = "") {
  args.insert(args.begin(), {QVRCTL_BINARY, "--simulator=" + state, "--simulated-latency", "2",
                             "--lang", "en", "--log"});
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipeFds[1], STDERR_FILENO);
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::close(pipeFds[0]);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  Finished finished;
  bool sent = signal == 0;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
    finished.err.append(buffer, size_t(n));
    if (!sent && finished.err.find(marker) != std::string::npos) {
      ::kill(pid, signal);
      sent = true;
    }
  }
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (WIFEXITED(status)) finished.exitStatus = WEXITSTATUS(status);
  return finished;
}

size_t Count(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

const std::string kNotice = "Termination signal received: stopping when the transfer ends";

TEST(QvrctlSignals, ATransferRunsToItsEndBeforeTheSignalEndsTheProgram) {
  test::TempDir state;
  const std::string file = state.File("unit.MUX");
  ASSERT_EQ(RunQvrctl(state.path(), {"read", "mux-410", file}).exitStatus, 0);
  const std::string ldr = state.File("mux.LDR");
  test::WriteBytes(ldr, test::LdrBuilder{.version = 216,
                                         .deviceVersion = sim::kMux410Identity.deviceVersion,
                                         .deviceType = sim::kMux410Identity.deviceType,
                                         .payloadSize = 2010}
                            .Build());

  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    // The mode block is the second of five parameter blocks; the reset comes last.
    const Finished write =
        RunQvrctl(state.path(), {"write", "mux-410", file, "--yes"}, signal, "CMD:92");
    EXPECT_EQ(write.exitStatus, 0);
    EXPECT_EQ(Count(write.err, kNotice), 1u);
    EXPECT_GT(write.err.find("00->01 CMD:83"), write.err.find(kNotice));

    const Finished update = RunQvrctl(
        state.path(), {"update", "mux-410", ldr, "--yes", "--allow-reinstall"}, signal, "CMD:82");
    EXPECT_EQ(update.exitStatus, 0);
    EXPECT_EQ(Count(update.err, kNotice), 1u);
    // The single leading block and every block of the image, up to the short last one.
    EXPECT_EQ(Count(update.err, "00->01 CMD:82"), 1u + (2010u + 32u + 31u) / 32u);
  }

  // Outside a transfer the signal ends the program at once.
  const Finished info = RunQvrctl(state.path(), {"info", "mux-410"}, SIGTERM, "CMD:01");
  EXPECT_EQ(info.exitStatus, -1);
  EXPECT_EQ(Count(info.err, kNotice), 0u);
}

}  // namespace
}  // namespace qvr
