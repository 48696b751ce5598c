// The window's name against another user of the computer (the tests run as root, the other
// user is "nobody"): the name lives where only the window's user reaches it, a name taken first
// in the shared temporary folder keeps no window from opening, and another user's program that
// reaches the window all the same is not obeyed.
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <optional>

#include "app/instance_place.h"
#include "app/single_instance.h"
#include "support/portable.h"

namespace qvr::test {
namespace {

constexpr uid_t kNobody = 65534;

// A child process running `step` as the other user; killed and waited for when it goes.
class OtherUser {
 public:
  explicit OtherUser(const std::function<int()>& step) : pid_(::fork()) {
    if (pid_ != 0) return;
    const bool dropped =
        ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
    ::_exit(dropped ? step() : 126);
  }
  ~OtherUser() {
    if (status_) return;
    ::kill(pid_, SIGKILL);
    (void)::waitpid(pid_, nullptr, 0);
  }
  // The child's exit status once it has ended; nothing while it runs.
  std::optional<int> Ended() {
    int status = 0;
    if (!status_ && ::waitpid(pid_, &status, WNOHANG) == pid_)
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return status_;
  }

 private:
  pid_t pid_;
  std::optional<int> status_;
};

int UnixSocket(const std::string& path, sockaddr_un& address) {
  address = {};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  return ::socket(AF_UNIX, SOCK_STREAM, 0);
}

// Listens at `path` and says so on `ready`, then waits to be killed.
int Squat(const std::string& path, int ready) {
  sockaddr_un address;
  const int fd = UnixSocket(path, address);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return 1;
  if (::listen(fd, 8) != 0 || ::write(ready, "+", 1) != 1) return 1;
  for (;;) ::pause();
}

// Sends what a second start sends and waits until the window has closed the connection.
int AskToFront(const std::string& path) {
  sockaddr_un address;
  const int fd = UnixSocket(path, address);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return 1;
  if (::write(fd, "front\n", 6) != 6) return 1;
  char answer;
  while (::read(fd, &answer, 1) > 0) {
  }
  return 0;
}

mode_t ModeOf(const QString& path, uid_t& owner) {
  struct stat info {};
  if (::lstat(QFile::encodeName(path).constData(), &info) != 0) return 0;
  owner = info.st_uid;
  return info.st_mode;
}

TEST(OneWindow, AnotherUserNeitherTakesTheNameFirstNorReachesTheWindow) {
  const QTemporaryDir dir;
  ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0711), 0);
  const QString settings = dir.filePath("qvr-service.ini");
  const QString runtime = dir.filePath("run");
  const QByteArray runtimePath = QFile::encodeName(runtime);
  ASSERT_EQ(::mkdir(runtimePath.constData(), 0700), 0);
  const QByteArray kept = qgetenv("XDG_RUNTIME_DIR");
  SetEnvironment("XDG_RUNTIME_DIR", runtime.toStdString());

  // The user's runtime folder holds the name; one that others may enter does not, nor does
  // none: the user's own folder, which nobody else may enter, does.
  const QString name = InstanceName(settings);
  EXPECT_EQ(QFileInfo(name).path(), runtime);
  ASSERT_EQ(::chmod(runtimePath.constData(), 0755), 0);
  const QString own = QFileInfo(InstanceName(settings)).path();
  uid_t owner = 0;
  EXPECT_EQ(ModeOf(own, owner), S_IFDIR | 0700) << own.toStdString();
  EXPECT_EQ(owner, ::geteuid());
  UnsetEnvironment("XDG_RUNTIME_DIR");
  EXPECT_EQ(QFileInfo(InstanceName(settings)).path(), own);
  ASSERT_EQ(::chmod(runtimePath.constData(), 0700), 0);
  SetEnvironment("XDG_RUNTIME_DIR", runtime.toStdString());

  // Another user listening first where windows once listened, in the shared temporary folder.
  QString user = qEnvironmentVariable("USER");
  if (user.isEmpty()) user = "user";
  const std::string taken =
      (QDir::tempPath() + "/qvr-service-" + user + "-" + SettingsKey(settings)).toStdString();
  (void)::unlink(taken.c_str());
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  OtherUser squatter([&] { return Squat(taken, ready[1]); });
  char listening = 0;
  ASSERT_EQ(::read(ready[0], &listening, 1), 1) << "the other user could not listen";
  ::close(ready[0]);
  ::close(ready[1]);
  SingleInstance window(name);
  EXPECT_FALSE(window.AskRunningWindow());
  int fronts = 0;
  ASSERT_TRUE(window.Listen([&fronts] { ++fronts; }));

  // The window's socket and folder opened to everyone: the other user's start reaches it and
  // is sent away unheard; this user's is heard.
  ASSERT_EQ(::chmod(runtimePath.constData(), 0711), 0);
  ASSERT_EQ(::chmod(QFile::encodeName(name).constData(), 0777), 0);
  OtherUser peer([&] { return AskToFront(name.toStdString()); });
  while (!peer.Ended()) QCoreApplication::processEvents();
  EXPECT_EQ(peer.Ended(), 0) << "the other user did not reach the window";
  EXPECT_EQ(fronts, 0);
  EXPECT_TRUE(SingleInstance(name).AskRunningWindow());
  while (fronts == 0) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  EXPECT_EQ(fronts, 1);

  (void)::unlink(taken.c_str());
  kept.isNull() ? UnsetEnvironment("XDG_RUNTIME_DIR")
                : SetEnvironment("XDG_RUNTIME_DIR", kept.toStdString());
}

}  // namespace
}  // namespace qvr::test
