// The adapter lock through the real USB path: a flock on the adapter's own node, which the
// emulated node is (the preload opens it in the test bed, for every program started here). A
// holder that never lets go is waited for the time given and named; a busy adapter is listed
// as present; a user without access to the adapter can neither keep it from root nor let two
// programs in; a new node after a restart is locked again before its first report.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "platform/adapter_lock.h"
#include "support/ldr_builder.h"
#include "usb/usb_fixture.h"

namespace qvr::test {
namespace {

constexpr int kNobody = 65534;
using LockOutcome = AdapterLockAttempt::Outcome;

class AdapterLockOverUsb : public UsbGroup {
 protected:
  static void SetUpTestSuite() {
    UsbGroup::SetUpTestSuite();
    bed->Plug({});
  }
};

// Waits until the program's error stream holds `text` (at most 10 s).
bool SaysSoon(const Program& program, const std::string& text) {
  for (int look = 0; look < 10000; ++look) {
    if (program.ErrSoFar().find(text) != std::string::npos) return true;
    ::usleep(1000);
  }
  return false;
}

// util-linux's flock holding `file` (as the preload shows it to programs) for another program:
// flock takes the lock and waits for the command it starts, which shares its descriptor; both
// end with the holder.
class FlockHolder {
 public:
  explicit FlockHolder(const std::string& file, int asUser = -1, const std::string& before = {})
      : program_({"/bin/sh", "-c",
                  before + "exec /usr/bin/flock " + file +
                      " /bin/sh -c 'echo \"held $$\" >&2; exec sleep 600'"},
                 asUser) {
    if (!SaysSoon(program_, "held ")) return;
    const std::string said = program_.ErrSoFar();
    command_ = pid_t(std::stol(said.substr(said.find("held ") + 5)));
  }
  ~FlockHolder() {
    if (command_ > 0) ::kill(command_, SIGKILL);
  }
  bool holds() const { return command_ > 0; }
  pid_t pid() const { return program_.pid(); }  // flock's, which took the lock

 private:
  Program program_;
  pid_t command_ = -1;
};

nlohmann::json OnlyObject(const std::string& out) {
  std::istringstream lines(out);
  std::string line;
  std::getline(lines, line);
  return nlohmann::json::parse(line, nullptr, false);
}

// Another program (util-linux's flock, on the node as the preload shows it) holds the adapter and
// never lets go: --wait 2 waits 2 s in all and names it, in JSON too; list shows the adapter as
// in use by it and succeeds; once it ends the adapter is free.
TEST_F(AdapterLockOverUsb, AHolderThatNeverLetsGoIsWaitedForAndNamed) {
  auto holder = std::make_unique<FlockHolder>(bed->Node(0));
  ASSERT_TRUE(holder->holds());
  const std::string named = "flock (" + std::to_string(holder->pid()) + ")";
  const size_t reports = bed->Requests(0).size();

  const auto start = std::chrono::steady_clock::now();
  const ProgramResult waited = Qvrctl({"--wait", "2", "info"});
  const auto spent = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(waited.status, 1);
  // At least the time given (the exact total is checked by the injected clock in-process).
  EXPECT_GE(spent, std::chrono::seconds(2));
  EXPECT_EQ(waited.err, "The controller \"QVR-B\" is in use by " + named +
                            ": wait until its operation ends.\n");

  const ProgramResult json = Qvrctl({"--json", "--wait", "1", "write", "mux-410", "-", "--yes"});
  EXPECT_EQ(json.status, 1);
  const nlohmann::json object = OnlyObject(json.out);
  EXPECT_EQ(object["status"], "failed") << json.out;
  EXPECT_EQ(object["adapter"], bed->Node(0));
  EXPECT_NE(object["message"].get<std::string>().find("in use by " + named), std::string::npos);

  const ProgramResult list = Qvrctl({"list"});
  EXPECT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out, bed->Node(0) + "  in use by " + named + "\n");
  const ProgramResult jsonList = Qvrctl({"--json", "list"});
  EXPECT_EQ(jsonList.status, 0);
  const nlohmann::json listed = OnlyObject(jsonList.out);
  EXPECT_EQ(listed["reason"], "in-use") << jsonList.out;
  EXPECT_EQ(listed["holder"]["program"], "flock");
  EXPECT_EQ(listed["holder"]["pid"], holder->pid());
  EXPECT_EQ(bed->Requests(0).size(), reports) << "nothing reaches a held adapter";

  holder.reset();
  const ProgramResult free = Qvrctl({"info"});
  EXPECT_EQ(free.status, 0) << free.err;
}

// A user who may not use the adapter (its node is root's, 0600) holds locks, plants a file where
// the old lock file of the adapter lay (made first, 0600, and locked) and tries the node itself:
// root's programs use the adapter all the same, one at a time.
TEST_F(AdapterLockOverUsb, AUserWithoutAccessCanNeitherDenyTheAdapterNorLetTwoProgramsIn) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run a program as another user";
  const std::string node = bed->Node(0);
  // Where the adapter's lock file used to be, a name every user could make first.
  std::string name = "qvr-b";
  for (char c : node) name += c == '/' ? '_' : c;
  const std::string old = "/run/lock/" + name + ".lock";
  struct stat taken {};
  const bool planting = ::stat("/run/lock", &taken) == 0 && ::stat(old.c_str(), &taken) != 0;
  struct Removed {
    ~Removed() {
      if (!file.empty()) ::unlink(file.c_str());
    }
    std::string file;
  } plantedFile{planting ? old : std::string()};
  const ProgramResult refused = RunProgram({"/usr/bin/flock", "-n", node, "true"}, kNobody);
  EXPECT_NE(refused.status, 0) << "a user without access cannot lock the node";
  // Made first, for that user alone, and locked; or, where that name is taken, a file of theirs.
  const FlockHolder denying(planting ? old : "\"$f\"", kNobody,
                            planting ? "umask 077; : > " + old + "; " : "f=$(mktemp); ");
  ASSERT_TRUE(denying.holds());

  const ProgramResult info = Qvrctl({"info"});
  EXPECT_EQ(info.status, 0) << info.err;
  const ProgramResult list = Qvrctl({"list"});
  EXPECT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out.find("in use"), std::string::npos) << list.out;

  // Two of root's programs at once: the second is told who has the adapter.
  Scratch files;
  std::vector<uint8_t> update = LdrBuilder{.version = 288,
                                           .deviceVersion = sim::kMux410Identity.deviceVersion,
                                           .deviceType = sim::kMux410Identity.deviceType,
                                           .payloadSize = 60 * 1024}
                                    .Build();
  WriteBytes(files / "mux.LDR", update);
  Program updating({QVRCTL_BINARY, "--lang", "en", "-q", "--log", "update", "mux-410",
                    files / "mux.LDR", "--yes"});
  ASSERT_TRUE(SaysSoon(updating, "CMD:82"));
  const ProgramResult asking = Qvrctl({"info", "mux-410"});
  EXPECT_EQ(asking.status, 1);
  EXPECT_NE(asking.err.find("in use by qvrctl (" + std::to_string(updating.pid()) + ")"),
            std::string::npos)
      << asking.err;
  const ProgramResult updated = updating.Finish();
  EXPECT_EQ(updated.status, 0) << updated.err.substr(updated.err.size() - 300);
}

// A simulated adapter's lock file that another user made first for themself alone: the user
// may not open it, so no program of theirs runs at all, never two at once.
TEST_F(AdapterLockOverUsb, ALockFileTheUserMayNotOpenLetsNoProgramRun) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run a program as another user";
  Scratch state;
  ::chmod(state.path.c_str(), 0777);
  ASSERT_EQ(SimQvrctl(state.path, {"info"}).status, 0);  // the simulator's files, for everyone
  for (const auto& entry : std::filesystem::directory_iterator(state.path))
    ::chmod(entry.path().c_str(), 0666);
  const std::string lock = SimulatedAdapterLockFile(state.path);
  ::unlink(lock.c_str());
  ::close(::open(lock.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0600));
  const std::vector<std::string> info = {
      QVRCTL_BINARY, "--simulator=" + state.path, "--lang", "en", "-q", "info"};
  Program first(info, kNobody), second(info, kNobody);
  for (Program* program : {&first, &second}) {
    const ProgramResult result = program->Finish();
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("could not be reserved for this program, so nothing was sent"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("Reason: this user may not open \"" + lock + "\"."),
              std::string::npos)
        << result.err;
  }
}

// The adapter updating itself comes back on a new node: the command takes the lock there before
// its first report to it, so another program finds it in use; and when another program took the
// new node first, the command stops there, saying so, instead of going on unlocked.
TEST_F(AdapterLockOverUsb, TheLockIsTakenAgainOnTheNewNodeOfARestart) {
  Scratch files;
  const sim::Identity& own = sim::kControllerIdentity;
  for (const uint16_t version : {114, 115}) {
    SCOPED_TRACE(version);
    const bool anotherTakesIt = version == 115;
    LdrBuilder builder{.version = version,
                       .deviceVersion = own.deviceVersion,
                       .deviceType = own.deviceType,
                       .payloadSize = 200};
    WriteBytes(files / "qvr-b.LDR", builder.Build());
    bed->WithModel(0, [](sim::SimController& model) { model.SetResetDropReports(sim::kAlways); });
    Program updating({QVRCTL_BINARY, "--lang", "en", "-q", "--controller", bed->Node(0), "update",
                      "qvr-b", files / "qvr-b.LDR", "--yes"});
    bool restarted = false;
    for (int look = 0; look < 20000 && !restarted; ++look) {
      bed->WithModel(0, [&](sim::SimController& model) {
        restarted = !model.onBus() && (model.Info(0)[0] | model.Info(0)[1] << 8) == version;
      });
      if (!restarted) ::usleep(1000);
    }
    ASSERT_TRUE(restarted);
    bed->Unplug(0);
    // Held still while the adapter comes back, so that the test is first on the new node; held
    // once the old node is gone, so never half-way through a report the test bed answers.
    if (anotherTakesIt) ::kill(updating.pid(), SIGSTOP);
    // No answer yet: the node opens (one ioctl), then every report fails.
    if (!anotherTakesIt) bed->FailIoctlAfter(0, 1, EPIPE, -1);
    bed->WithModel(0, [](sim::SimController& model) { model.Replug(); });
    const int ioctls = bed->IoctlCount(0);
    bed->Replug(0);
    AdapterLock other(bed->Node(0), AdapterLock::Kind::kDeviceNode);
    if (anotherTakesIt) {
      ASSERT_EQ(other.TryTake().outcome, LockOutcome::kTaken);
      ::kill(updating.pid(), SIGCONT);
      const ProgramResult stopped = updating.Finish();
      EXPECT_EQ(stopped.status, 1);
      EXPECT_NE(stopped.err.find("in use by another program"), std::string::npos) << stopped.err;
      std::string self;
      std::getline(std::ifstream("/proc/self/comm"), self);
      EXPECT_NE(
          stopped.err.find("It is in use by " + self + " (" + std::to_string(::getpid()) + ")."),
          std::string::npos)
          << stopped.err;
      continue;
    }
    // Its first report to the new node went out under the lock, which it keeps.
    for (int look = 0; look < 10000 && bed->IoctlCount(0) < ioctls + 2; ++look) ::usleep(1000);
    const AdapterLockAttempt attempt = other.TryTake();
    EXPECT_EQ(attempt.outcome, LockOutcome::kInUse);
    EXPECT_EQ(attempt.holder.processId, static_cast<unsigned long>(updating.pid()));
    EXPECT_EQ(attempt.holder.program, "qvrctl");
    bed->ClearFaults(0);
    const ProgramResult updated = updating.Finish();
    EXPECT_EQ(updated.status, 0) << updated.err;
    EXPECT_NE(updated.out.find("confirmed: the unit reports 1.14\n"), std::string::npos)
        << updated.out;
  }
  bed->WithModel(0, [](sim::SimController& model) { model.SetResetDropReports(5); });
}

}  // namespace
}  // namespace qvr::test
