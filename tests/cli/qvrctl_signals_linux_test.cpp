// qvrctl as its own process, stopped by a termination signal in the middle of a transfer: the
// transfer runs to its end, the user is told why the program did not stop at once, and the
// command ends with its own result.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "devices/backup/data_folder.h"
#include "devices/backup/history_reader.h"
#include "platform/temporary_removal.h"
#include "sim/sim_controller.h"
#include "support/ldr_builder.h"
#include "support/portable.h"

namespace qvr {
namespace {

struct Finished {
  int exitStatus = -1;  // -1: ended by a signal
  std::string err;
};

// Runs qvrctl with `args` against the simulator in `state` (`latencyMs` per report, every packet
// logged to stderr) and sends `signal` once a stderr line contains `marker` (0: never).
Finished RunQvrctl(const std::string& state, std::vector<std::string> args, int signal = 0,
                   const std::string& marker = "", const std::string& temporary = "",
                   int latencyMs = 2) {
  args.insert(args.begin(), {QVRCTL_BINARY, "--simulator=" + state, "--simulated-latency",
                             std::to_string(latencyMs), "--lang", "en", "--log"});
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipeFds[1], STDERR_FILENO);
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDOUT_FILENO);
    ::close(pipeFds[0]);
    if (!temporary.empty()) ::setenv("TMPDIR", temporary.c_str(), 1);
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
  test::TempDir state, data;
  test::SetEnvironment(test::kDataFolderVariable, data.path());
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
        RunQvrctl(state.path(), {"write", "mux-410", file, "--yes"}, signal, "00->01 CMD:92");
    EXPECT_EQ(write.exitStatus, 0);
    EXPECT_EQ(Count(write.err, kNotice), 1u);
    EXPECT_GT(write.err.find("00->01 CMD:83"), write.err.find(kNotice));

    // During the backup read that comes first, the change has not begun: it never begins.
    const Finished stopped =
        RunQvrctl(state.path(), {"write", "mux-410", file, "--yes"}, signal, "01<-00 CMD:92");
    EXPECT_EQ(stopped.exitStatus, 1);
    EXPECT_EQ(Count(stopped.err, "Stopped before the change"), 1u) << stopped.err;
    EXPECT_EQ(Count(stopped.err, "00->01 CMD:92"), 0u);
    EXPECT_EQ(Count(stopped.err, "00->01 CMD:83"), 0u);

    const Finished update = RunQvrctl(
        state.path(), {"update", "mux-410", ldr, "--yes", "--allow-reinstall"}, signal, "CMD:82");
    EXPECT_EQ(update.exitStatus, 0);
    EXPECT_EQ(Count(update.err, kNotice), 1u);
    // The single leading block and every block of the image, up to the short last one.
    EXPECT_EQ(Count(update.err, "00->01 CMD:82"), 1u + (2010u + 32u + 31u) / 32u);
  }

  // Killed outright, an update leaves the line written before its first block: the history
  // shows the change, without a result.
  const Finished killed = RunQvrctl(
      state.path(), {"update", "mux-410", ldr, "--yes", "--allow-reinstall"}, SIGKILL, "CMD:82");
  EXPECT_EQ(killed.exitStatus, -1);
  const std::vector<HistoryEntry> changes = ReadHistory(HistoryLocationIn(DataFolderOf({})));
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back().command, "update");
  EXPECT_EQ(changes.back().sha256.size(), 64u);
  EXPECT_TRUE(HistoryObject(changes.back())["result"].is_null());
  test::UnsetEnvironment(test::kDataFolderVariable);
}

TEST(QvrctlSignals, OutsideATransferTheSignalEndsTheProgramAtOnce) {
  test::TempDir state;
  // The one exchange of `info` is slowed so that the signal lands inside it on a loaded machine
  // too, not after the program ended.
  const Finished info = RunQvrctl(state.path(), {"info", "mux-410"}, SIGTERM, "CMD:01", "", 1000);
  EXPECT_EQ(info.exitStatus, -1);
  EXPECT_EQ(Count(info.err, kNotice), 0u);
}

// qvrctl taking a configuration from standard input (`write mux-410 -`), its temporary folder
// `temporary`; it is ended by `signal` while it still reads, once its file kept aside exists.
int EndedWhileReadingStandardInput(const std::string& state, const std::string& temporary,
                                   int signal) {
  int input[2];
  if (::pipe(input) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(input[0], STDIN_FILENO);
    ::close(input[1]);
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::setenv("TMPDIR", temporary.c_str(), 1);
    const std::string simulator = "--simulator=" + state;
    ::execl(QVRCTL_BINARY, QVRCTL_BINARY, simulator.c_str(), "write", "mux-410", "-", "--yes",
            nullptr);
    ::_exit(127);
  }
  ::close(input[0]);
  (void)!::write(input[1], "[CONFIGFILE]\r\nNAME=secret", 25);
  // The file is made before the first byte is read; a program that never makes it fails the
  // test by ending (its pipe then closes) rather than by a deadline.
  while (std::filesystem::is_empty(temporary) && ::waitpid(pid, nullptr, WNOHANG) == 0)
    ::usleep(1000);
  ::kill(pid, signal);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ::close(input[1]);
  return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
}

// The program's own temporary files in `folder` (a sanitizer's runtime may keep its own there).
std::string Entries(const std::string& folder) {
  std::string names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(kTemporaryFilePrefix, 0) == 0) names += name + " ";
  }
  return names;
}

TEST(QvrctlSignals, ConfigurationDataKeptAsideGoesWithTheProgramHoweverItEnds) {
  test::TempDir state, temporary;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    EXPECT_EQ(EndedWhileReadingStandardInput(state.path(), temporary.path(), signal), signal);
    EXPECT_EQ(Entries(temporary.path()), "");
  }
  // SIGKILL leaves no chance: the next run removes the file once it is a minute old, and only
  // then (a file that young may belong to a run that has just made it).
  EXPECT_EQ(EndedWhileReadingStandardInput(state.path(), temporary.path(), SIGKILL), SIGKILL);
  const std::string leftName = Entries(temporary.path());
  const std::filesystem::path left =
      temporary.path() + "/" + leftName.substr(0, leftName.find(' '));
  (void)RunQvrctl(state.path(), {"diff", "mux-410", "-"}, 0, "", temporary.path());
  EXPECT_TRUE(std::filesystem::exists(left));
  const timespec minutesAgo[2] = {{std::time(nullptr) - 120, 0}, {std::time(nullptr) - 120, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, left.c_str(), minutesAgo, 0), 0);
  const Finished next = RunQvrctl(state.path(), {"diff", "mux-410", "-"}, 0, "", temporary.path());
  EXPECT_EQ(next.exitStatus, 2) << next.err;
  EXPECT_EQ(Entries(temporary.path()), "");
}

}  // namespace
}  // namespace qvr
