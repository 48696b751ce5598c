// The adapter lock between our programs: a flock on the adapter's own node (here a
// pseudo-terminal of the test's, a character device like /dev/hidrawN), one holder at a time,
// the holder named from the kernel's record, and a lock file that fails closed whatever is put
// in its place.
#include "platform/adapter_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string>

#include "devices/test_files.h"
#include "support/portable.h"

namespace qvr {
namespace {

using test::ReadFile;
using test::ScratchFolder;
using test::WriteFile;
using Outcome = AdapterLockAttempt::Outcome;
using Kind = AdapterLock::Kind;

constexpr uid_t kNobody = 65534;

// A character device of the test's own: the secondary side of a new pseudo-terminal.
class OwnNode {
 public:
  OwnNode() : primary_(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    if (primary_ >= 0 && ::grantpt(primary_) == 0 && ::unlockpt(primary_) == 0)
      path_ = ::ptsname(primary_);
  }
  ~OwnNode() {
    if (primary_ >= 0) ::close(primary_);
  }
  const std::string& path() const { return path_; }

 private:
  int primary_;
  std::string path_;
};

// A child process that takes `lock` under the name `name`, says whether it got it and waits to
// be killed.
class HoldingChild {
 public:
  HoldingChild(const std::string& path, Kind kind, const char* name) {
    int ready[2];
    if (::pipe(ready) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::prctl(PR_SET_NAME, name, 0, 0, 0);
      AdapterLock lock(path, kind);
      const char held = lock.TryTake().outcome == Outcome::kTaken ? 'y' : 'n';
      (void)!::write(ready[1], &held, 1);
      ::pause();
      ::_exit(0);
    }
    char held = 0;
    held_ = ::read(ready[0], &held, 1) == 1 && held == 'y';
    ::close(ready[0]);
    ::close(ready[1]);
  }
  ~HoldingChild() { End(); }
  void End() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  bool held() const { return held_; }
  unsigned long pid() const { return static_cast<unsigned long>(pid_); }

 private:
  pid_t pid_ = -1;
  bool held_ = false;
};

// Two holders of one adapter exclude each other (also inside one process, as the window and a
// test bed are), each knowing the holder from the kernel; another adapter is not affected, and a
// release lets the other in.
TEST(AdapterLocks, OneHolderAtATimeOnTheAdaptersOwnNode) {
  OwnNode node, otherNode;
  ASSERT_FALSE(node.path().empty());
  AdapterLock first(node.path(), Kind::kDeviceNode), second(node.path(), Kind::kDeviceNode);
  AdapterLock other(otherNode.path(), Kind::kDeviceNode);
  ASSERT_EQ(first.TryTake().outcome, Outcome::kTaken);
  EXPECT_TRUE(first.held());
  EXPECT_EQ(first.TryTake().outcome, Outcome::kTaken) << "taking it again is no conflict";
  const AdapterLockAttempt refused = second.TryTake();
  EXPECT_EQ(refused.outcome, Outcome::kInUse);
  EXPECT_FALSE(second.held());
  EXPECT_EQ(refused.holder.processId, static_cast<unsigned long>(::getpid()));
  EXPECT_FALSE(refused.holder.program.empty());
  EXPECT_EQ(other.TryTake().outcome, Outcome::kTaken);

  first.Release();
  EXPECT_FALSE(first.held());
  EXPECT_EQ(second.TryTake().outcome, Outcome::kTaken);
  EXPECT_EQ(first.TryTake().outcome, Outcome::kInUse);
  second.Release();
  EXPECT_EQ(first.TryTake().outcome, Outcome::kTaken);
}

// Another program holds the adapter: its process id as the kernel records the lock, and its
// name without the control characters a program may give itself to write on the other user's
// terminal. A later holder that writes nothing anywhere is named as itself, never as an earlier
// one; ended in any way, it leaves the adapter free.
TEST(AdapterLocks, TheHolderIsNamedFromTheKernelsRecord) {
  OwnNode node;
  AdapterLock mine(node.path(), Kind::kDeviceNode);
  {
    HoldingChild earlier(node.path(), Kind::kDeviceNode, "ev\x1b[2Jil\a");
    ASSERT_TRUE(earlier.held());
    const AdapterLockAttempt refused = mine.TryTake();
    EXPECT_EQ(refused.outcome, Outcome::kInUse);
    EXPECT_EQ(refused.holder.processId, earlier.pid());
    EXPECT_EQ(refused.holder.program, "ev[2Jil");
  }
  HoldingChild later(node.path(), Kind::kDeviceNode, "later");
  ASSERT_TRUE(later.held());
  const AdapterLockAttempt refused = mine.TryTake();
  EXPECT_EQ(refused.outcome, Outcome::kInUse);
  EXPECT_EQ(refused.holder.processId, later.pid());
  EXPECT_EQ(refused.holder.program, "later");
  later.End();
  EXPECT_EQ(mine.TryTake().outcome, Outcome::kTaken);
}

// What is no adapter node is never locked in its place: a missing node is an adapter pulled, a
// file at its name is refused; nothing goes ahead unlocked.
TEST(AdapterLocks, WhatIsNoAdapterNodeIsRefused) {
  ScratchFolder folder;
  AdapterLock missing(folder.File("hidraw9"), Kind::kDeviceNode);
  const AdapterLockAttempt gone = missing.TryTake();
  EXPECT_EQ(gone.outcome, Outcome::kFailed);
  EXPECT_EQ(gone.problem.failure, AdapterLockFailure::kGone);
  EXPECT_FALSE(missing.held());

  WriteFile(folder.File("hidraw9"), "");
  const AdapterLockAttempt file = missing.TryTake();
  EXPECT_EQ(file.outcome, Outcome::kFailed);
  EXPECT_EQ(file.problem.failure, AdapterLockFailure::kNotLockable);
  EXPECT_EQ(file.problem.path, folder.File("hidraw9"));
  EXPECT_TRUE(file.problem.deviceNode);
  EXPECT_FALSE(missing.held());
}

// A simulated adapter's lock file in its state folder: made when missing, locked by one at a
// time; a link, a pipe or a folder put in its place is refused (without waiting for a pipe's
// writer, and with a link's target untouched), never passed over.
TEST(AdapterLocks, ALockFileFailsClosedWhateverIsPutInItsPlace) {
  ScratchFolder folder;
  const std::string file = SimulatedAdapterLockFile(folder.path());
  AdapterLock first(file, Kind::kLockFile), second(file, Kind::kLockFile);
  ASSERT_EQ(first.TryTake().outcome, Outcome::kTaken);
  struct stat info {};
  ASSERT_EQ(::lstat(file.c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  EXPECT_EQ(second.TryTake().outcome, Outcome::kInUse);
  first.Release();

  const std::string victim = folder.File("victim");
  WriteFile(victim, "precious");
  for (const char* planted : {"link", "pipe", "folder"}) {
    SCOPED_TRACE(planted);
    ASSERT_EQ(::unlink(file.c_str()), 0);
    const std::string kind = planted;
    const int made = kind == "link"   ? ::symlink(victim.c_str(), file.c_str())
                     : kind == "pipe" ? ::mkfifo(file.c_str(), 0666)
                                      : ::mkdir(file.c_str(), 0777);
    ASSERT_EQ(made, 0);
    const AdapterLockAttempt attempt = first.TryTake();
    EXPECT_EQ(attempt.outcome, Outcome::kFailed);
    EXPECT_EQ(attempt.problem.failure, AdapterLockFailure::kNotLockable);
    EXPECT_FALSE(attempt.problem.deviceNode);
    EXPECT_FALSE(first.held());
    if (kind == "folder") {
      ASSERT_EQ(::rmdir(file.c_str()), 0);
      WriteFile(file, "");
    }
  }
  EXPECT_EQ(ReadFile(victim), "precious");
}

// A lock file removed while it is held keeps no one out: the holder's next attempt finds its
// lock gone and takes the new file, or learns that another program has it now.
TEST(AdapterLocks, ALockFileRemovedWhileHeldIsTakenAgain) {
  ScratchFolder folder;
  const std::string file = SimulatedAdapterLockFile(folder.path());
  AdapterLock first(file, Kind::kLockFile), second(file, Kind::kLockFile);
  ASSERT_EQ(first.TryTake().outcome, Outcome::kTaken);
  ASSERT_EQ(::unlink(file.c_str()), 0);
  ASSERT_EQ(second.TryTake().outcome, Outcome::kTaken);
  EXPECT_EQ(first.TryTake().outcome, Outcome::kInUse);
  EXPECT_FALSE(first.held());
  second.Release();
  ASSERT_EQ(::unlink(file.c_str()), 0);
  ASSERT_EQ(first.TryTake().outcome, Outcome::kTaken);
  EXPECT_EQ(first.TryTake().outcome, Outcome::kTaken);
}

// A lock file another user made first, for themself alone (mode 0600): a user who may not open
// it is refused with that reason, never let through unlocked.
TEST(AdapterLocks, ALockFileTheUserMayNotOpenFailsClosed) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run a part as another user";
  ScratchFolder folder;
  ::chmod(folder.path().c_str(), 0777);
  const std::string file = SimulatedAdapterLockFile(folder.path());
  const int planted = ::open(file.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0600);
  ASSERT_GE(planted, 0);
  ::close(planted);
  int answer[2];
  ASSERT_EQ(::pipe(answer), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(1);
    AdapterLock lock(file, Kind::kLockFile);
    const AdapterLockAttempt attempt = lock.TryTake();
    const char said = attempt.outcome == Outcome::kFailed &&
                              attempt.problem.failure == AdapterLockFailure::kNoAccess
                          ? 'r'
                          : 'x';
    (void)!::write(answer[1], &said, 1);
    ::_exit(0);
  }
  char said = 0;
  EXPECT_EQ(::read(answer[0], &said, 1), 1);
  ::waitpid(child, nullptr, 0);
  ::close(answer[0]);
  ::close(answer[1]);
  EXPECT_EQ(said, 'r');
}

}  // namespace
}  // namespace qvr
