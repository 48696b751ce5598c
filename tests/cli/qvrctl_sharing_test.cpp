// qvrctl and another program on one adapter: a simulated adapter's lock is a file in its state
// folder, held here by the test itself as another program would hold it. --wait waits the time
// given in all, by the run's clock, before the first report; the holder is named as the system
// tells; a busy adapter is listed as present; two state folders never wait for each other; a
// lock that cannot be taken stops the command with its reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "cli/qvrctl_fixture.h"
#include "platform/adapter_lock.h"

namespace qvr {
namespace {

using Outcome_ = AdapterLockAttempt::Outcome;

// Who the other program is, as qvrctl names it: the kernel's record of the lock on Linux; on
// Windows no one can be named for sure.
std::string ThisProgram() {
#ifdef _WIN32
  return "another program";
#else
  std::ifstream comm("/proc/self/comm");
  std::string name;
  std::getline(comm, name);
  return name + " (" + std::to_string(::getpid()) + ")";
#endif
}

std::string InUseText() {
  return "The controller \"QVR-B\" is in use by " + ThisProgram() +
         ": wait until its operation ends.";
}

std::vector<nlohmann::json> JsonLines(const std::string& text) {
  std::vector<nlohmann::json> objects;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) objects.push_back(nlohmann::json::parse(line));
  return objects;
}

// The test's clock, which lets the other program go once the command has slept `releaseAfter`
// milliseconds waiting for it.
class ReleasingClock : public test::ManualClock {
 public:
  ReleasingClock(AdapterLock& lock, uint32_t releaseAfter)
      : lock_(lock), releaseAfter_(releaseAfter) {}
  void SleepMs(uint32_t ms) override {
    ManualClock::SleepMs(ms);
    slept_ += ms;
    if (slept_ >= releaseAfter_) lock_.Release();
  }
  uint32_t slept() const { return slept_; }

 private:
  AdapterLock& lock_;
  uint32_t releaseAfter_;
  uint32_t slept_ = 0;
};

class QvrctlSharing : public Qvrctl {
 protected:
  QvrctlSharing() : other(SimulatedAdapterLockFile(state.path()), AdapterLock::Kind::kLockFile) {}
  // Another program has the adapter of this test's state folder.
  void OtherProgramTakesIt() { ASSERT_EQ(other.TryTake().outcome, Outcome_::kTaken); }

  // qvrctl by `clock`, its error stream a terminal or not.
  Outcome RunBy(Clock& by, std::vector<std::string> args, bool errorIsTerminal) {
    args.insert(args.begin(), {"qvrctl", "--simulator=" + state.path(), "--lang", "en"});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    std::istringstream in;
    std::ostringstream out, err;
    const cli::Terminal terminal{&in, false, errorIsTerminal, &by};
    const int status = cli::RunQvrctl(int(argv.size()), argv.data(), out, err, terminal);
    return {status, out.str(), err.str()};
  }

  AdapterLock other;
};

// A holder that never lets go: --wait 2 waits 2 s in all by the run's clock, sends nothing,
// and ends saying who has the adapter, in JSON too; without --wait only a poll's moment.
TEST_F(QvrctlSharing, AWaitLastsTheTimeGivenInAllThenNamesTheHolder) {
  OtherProgramTakesIt();
  uint32_t before = clock.NowMs();
  const Outcome waited = Run({"--log", "--wait", "2", "info", "mux-410"});
  const uint32_t spent = clock.NowMs() - before;
  EXPECT_EQ(waited.status, 1);
  EXPECT_GE(spent, 2000u);
  EXPECT_LT(spent, 2100u);
  EXPECT_FALSE(SentPackets(waited)) << waited.err;
  EXPECT_NE(waited.err.find(InUseText() + "\n"), std::string::npos) << waited.err;
  EXPECT_EQ(waited.out, "");

  before = clock.NowMs();
  const Outcome json = Run({"--json", "--wait", "2", "write", "mux-410", "-", "--yes"});
  EXPECT_LT(clock.NowMs() - before, 2100u);
  EXPECT_EQ(json.status, 1);
  const std::vector<nlohmann::json> objects = JsonLines(json.out);
  ASSERT_EQ(objects.size(), 1u) << json.out;
  EXPECT_EQ(objects[0]["status"], "failed");
  EXPECT_EQ(objects[0]["adapter"], "sim:1");
  EXPECT_EQ(objects[0]["message"], InUseText());

  before = clock.NowMs();
  const Outcome asked = Run({"diff", "mux-410", files.File("none.MUX")});
  EXPECT_LT(clock.NowMs() - before, 200u);
  EXPECT_EQ(asked.status, 2);
  EXPECT_NE(asked.err.find(InUseText()), std::string::npos) << asked.err;
}

// The other program lets go while the command waits: the command runs and says nothing of the
// wait, except on a terminal one line while it waits, which it wipes once it has the adapter.
TEST_F(QvrctlSharing, ARunThatGetsTheAdapterSaysNothingOfTheWait) {
  for (const bool terminal : {false, true}) {
    SCOPED_TRACE(terminal);
    OtherProgramTakesIt();
    ReleasingClock releasing(other, 500);
    const Outcome o = RunBy(releasing, {"--wait", "5", "info"}, terminal);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_GE(releasing.slept(), 500u);
    EXPECT_LT(releasing.slept(), 600u);
    EXPECT_EQ(o.err.find("in use"), std::string::npos) << o.err;
    const std::string line = "Waiting for the adapter (used by " + ThisProgram() + ")…";
    const size_t shown = o.err.find(line);
    EXPECT_EQ(shown != std::string::npos, terminal) << o.err;
    if (terminal && shown != std::string::npos) {
      // Wiped: blanks over each of its characters, back at the line's start.
      const std::string wipe = "\r" + std::string(line.size() - 2, ' ') + "\r";
      EXPECT_EQ(o.err.compare(shown + line.size(), wipe.size(), wipe), 0) << o.err;
    }
  }

  // Twenty writes, each after the other program let go: none says the adapter was in use.
  ASSERT_EQ(Run({"read", "mux-410", files.File("unit.MUX")}).status, 0);
  for (int write = 0; write < 20; ++write) {
    OtherProgramTakesIt();
    ReleasingClock releasing(other, 40);
    const Outcome o = RunBy(
        releasing,
        {"--wait", "3", "write", "mux-410", files.File("unit.MUX"), "--yes", "--no-backup"}, false);
    ASSERT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.err.find("in use"), std::string::npos) << o.err;
  }
}

// An adapter another program uses is present: listed as in use by it, and list succeeds.
TEST_F(QvrctlSharing, ListShowsABusyAdapterAsPresent) {
  OtherProgramTakesIt();
  const Outcome list = Run({"--simulated-adapters", "2", "list"});
  EXPECT_EQ(list.status, 0) << list.err;
  EXPECT_NE(list.out.find("sim:1  in use by " + ThisProgram() + "\n"), std::string::npos)
      << list.out;
  EXPECT_NE(list.out.find("sim:2  serial number 20230418"), std::string::npos) << list.out;

  const Outcome json = Run({"--json", "list"});
  EXPECT_EQ(json.status, 0) << json.err;
  const std::vector<nlohmann::json> objects = JsonLines(json.out);
  ASSERT_EQ(objects.size(), 1u) << json.out;
  EXPECT_EQ(objects[0]["reason"], "in-use");
  EXPECT_EQ(objects[0]["message"], "in use by " + ThisProgram());
#ifndef _WIN32
  EXPECT_EQ(objects[0]["holder"]["pid"], ::getpid());
#endif
}

// Each state folder, and each adapter position in one, is an adapter of its own: holding one
// keeps no other waiting. A simulator without a folder has no lock at all.
TEST_F(QvrctlSharing, TwoSimulatorFoldersNeverBlockEachOther) {
  OtherProgramTakesIt();
  test::TempDir second;
  EXPECT_EQ(RunPlain({"qvrctl", "--simulator=" + second.path(), "--lang", "en", "info"}).status, 0);
  EXPECT_EQ(RunPlain({"qvrctl", "--simulator", "--lang", "en", "info"}).status, 0);
  EXPECT_EQ(Run({"--simulated-adapters", "2", "--controller", "sim:2", "info"}).status, 0);
  const Outcome busy = Run({"--simulated-adapters", "2", "--controller", "sim:1", "info"});
  EXPECT_EQ(busy.status, 1);
  EXPECT_NE(busy.err.find(InUseText()), std::string::npos) << busy.err;

  // And two of our programs on two folders at once: each holds its own.
  AdapterLock secondHeld(SimulatedAdapterLockFile(second.path()), AdapterLock::Kind::kLockFile);
  EXPECT_EQ(secondHeld.TryTake().outcome, Outcome_::kTaken);
}

// What stands at the lock file's name and is no file (here a folder) stops the command before
// anything is sent, with the reason, in either language; nothing goes ahead unlocked.
TEST_F(QvrctlSharing, ALockThatCannotBeTakenStopsTheCommandWithItsReason) {
  std::filesystem::create_directories(SimulatedAdapterLockFile(state.path()));
  const Outcome o = Run({"--log", "--json", "info"});
  EXPECT_EQ(o.status, 1);
  EXPECT_FALSE(SentPackets(o)) << o.err;
  EXPECT_NE(o.err.find("The controller \"QVR-B\" could not be reserved for this program, so "
                       "nothing was sent to it"),
            std::string::npos)
      << o.err;
  EXPECT_NE(o.err.find("\nReason: "), std::string::npos) << o.err;
#ifndef _WIN32
  EXPECT_NE(o.err.find("Reason: \"" + SimulatedAdapterLockFile(state.path()) +
                       "\" is not a regular file"),
            std::string::npos)
      << o.err;
#endif
  const std::vector<nlohmann::json> objects = JsonLines(o.out);
  ASSERT_EQ(objects.size(), 1u) << o.out;
  EXPECT_NE(objects[0]["message"].get<std::string>().find("Reason: "), std::string::npos);

  const Outcome russian = Run({"info"}, nullptr, "ru");
  EXPECT_EQ(russian.status, 1);
  EXPECT_NE(russian.err.find("не удалось закрепить за этой программой"), std::string::npos)
      << russian.err;
  EXPECT_NE(russian.err.find("Причина: "), std::string::npos) << russian.err;
}

}  // namespace
}  // namespace qvr
