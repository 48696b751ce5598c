// The adapter lock between our programs: one holder at a time, the holder named to the others,
// a lock file every user can take, and a link planted at its name never followed.
#include "platform/adapter_lock.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <thread>

#include "devices/test_files.h"
#include "support/portable.h"

namespace qvr {
namespace {

using test::ReadFile;
using test::ScratchFolder;
using test::WriteFile;

constexpr const char* kNode = "/dev/hidraw7";

class AdapterLocks : public ::testing::Test {
 protected:
  AdapterLocks() { test::SetEnvironment("QVR_ADAPTER_LOCK_DIR", folder.path()); }
  ~AdapterLocks() override { test::UnsetEnvironment("QVR_ADAPTER_LOCK_DIR"); }
  std::string LockFile() const { return folder.File("qvr-b_dev_hidraw7.lock"); }
  ScratchFolder folder;
};

// Two holders of one adapter exclude each other (also inside one process, as the window and
// a test bed are); another adapter is not affected, and a release lets the other in.
TEST_F(AdapterLocks, OneHolderAtATimeAndTheOthersLearnWho) {
  AdapterLock first(kNode), second(kNode), other("/dev/hidraw8");
  ASSERT_TRUE(first.Acquire(0));
  EXPECT_TRUE(first.held());
  EXPECT_TRUE(first.Acquire(0)) << "taking it again is no conflict with oneself";
  EXPECT_FALSE(second.Acquire(20));
  EXPECT_FALSE(second.held());
  EXPECT_EQ(second.holder().processId, static_cast<unsigned long>(::getpid()));
  EXPECT_FALSE(second.holder().program.empty());
  EXPECT_EQ(ReadFile(LockFile()), std::to_string(::getpid()) + "\n");
  EXPECT_TRUE(other.Acquire(0));

  // A holder that lets go while another waits: the waiting one gets it within its wait.
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    first.Release();
  });
  EXPECT_TRUE(second.Acquire(60000));
  releaser.join();
  EXPECT_FALSE(first.held());
  EXPECT_FALSE(first.Acquire(0));
  second.Release();
  EXPECT_TRUE(first.Acquire(0));
}

// Another program holds the adapter: its process id, and its name without the control
// characters a program may give itself to write on the other user's terminal.
TEST_F(AdapterLocks, TheHolderIsAnotherProgramNamedHarmlessly) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    ::prctl(PR_SET_NAME, "ev\x1b[2Jil\a", 0, 0, 0);
    AdapterLock lock(kNode);
    const char held = lock.Acquire(0) ? 'y' : 'n';
    (void)!::write(ready[1], &held, 1);
    ::pause();
    ::_exit(0);
  }
  char held = 0;
  ASSERT_EQ(::read(ready[0], &held, 1), 1);
  ASSERT_EQ(held, 'y');
  AdapterLock mine(kNode);
  EXPECT_FALSE(mine.Acquire(0));
  EXPECT_EQ(mine.holder().processId, static_cast<unsigned long>(child));
  EXPECT_EQ(mine.holder().program, "ev[2Jil");

  // Ended in any way, it leaves the adapter free.
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_TRUE(mine.Acquire(0));
  ::close(ready[0]);
  ::close(ready[1]);
}

// The lock file is made for every user whatever the creator's umask, and a link planted at
// its name (in a folder every user writes) is never followed: its target stays untouched,
// and the adapter is not kept from the user either.
TEST_F(AdapterLocks, TheLockFileIsEveryonesAndAPlantedLinkIsNotFollowed) {
  const mode_t umask = ::umask(077);
  {
    AdapterLock lock(kNode);
    EXPECT_TRUE(lock.Acquire(0));
  }
  ::umask(umask);
  struct stat info {};
  ASSERT_EQ(::stat(LockFile().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0666u);

  ASSERT_EQ(::unlink(LockFile().c_str()), 0);
  const std::string victim = folder.File("victim");
  WriteFile(victim, "precious");
  ASSERT_EQ(::symlink(victim.c_str(), LockFile().c_str()), 0);
  AdapterLock lock(kNode);
  EXPECT_TRUE(lock.Acquire(0));
  EXPECT_EQ(ReadFile(victim), "precious");
}

}  // namespace
}  // namespace qvr
