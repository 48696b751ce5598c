// The one save routine against every kind of thing that can stand at a path.
#include "platform/file_save.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>

#include "devices/test_files.h"
#include "platform/new_file.h"

namespace qvr {
namespace {

using test::ReadFile;
using test::ScratchFolder;
using test::WriteFile;

struct stat StatOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info;
}

int TemporariesOf(const ScratchFolder& folder, const std::string& name) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
    if (entry.path().filename().string().starts_with(TemporaryFilePrefix(name))) ++count;
  return count;
}

TEST(SaveFile, ReplacesARegularFileKeepingItsModeAndCreatesNewOnesWithTheUsualMode) {
  ScratchFolder folder;
  const std::string path = folder.File("garage.MUX");
  WriteFile(path, "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);

  ASSERT_TRUE(SaveFile(path, "new").ok());
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_EQ(StatOf(path).st_mode & 07777, 0640u);

  const mode_t mask = ::umask(022);
  ASSERT_TRUE(SaveFile(folder.File("fresh.MUX"), "x").ok());
  ::umask(mask);
  EXPECT_EQ(StatOf(folder.File("fresh.MUX")).st_mode & 07777, 0644u);
  EXPECT_EQ(folder.EntryCount(), 2);  // no temporary left beside them
}

TEST(SaveFile, SavesThroughSymbolicLinksAndKeepsThem) {
  ScratchFolder folder;
  std::filesystem::create_directory(folder.File("real"));
  const std::string target = folder.File("real/garage.MUX");
  WriteFile(target, "old");
  ASSERT_EQ(::symlink("real/garage.MUX", folder.File("relative.MUX").c_str()), 0);
  ASSERT_EQ(::symlink(folder.File("relative.MUX").c_str(), folder.File("chain.MUX").c_str()), 0);

  ASSERT_TRUE(SaveFile(folder.File("chain.MUX"), "through two links").ok());
  EXPECT_EQ(ReadFile(target), "through two links");
  EXPECT_TRUE(S_ISLNK(StatOf(folder.File("chain.MUX")).st_mode));
  EXPECT_TRUE(S_ISLNK(StatOf(folder.File("relative.MUX")).st_mode));

  // A dangling link is saved through as well: the file it names comes into being.
  ASSERT_EQ(::symlink("real/new.MUX", folder.File("dangling.MUX").c_str()), 0);
  ASSERT_TRUE(SaveFile(folder.File("dangling.MUX"), "created").ok());
  EXPECT_EQ(ReadFile(folder.File("real/new.MUX")), "created");
  EXPECT_TRUE(S_ISLNK(StatOf(folder.File("dangling.MUX")).st_mode));

  ASSERT_EQ(::symlink("loop.MUX", folder.File("loop.MUX").c_str()), 0);
  const SaveResult loop = SaveFile(folder.File("loop.MUX"), "x");
  EXPECT_EQ(loop.refusal, SaveRefusal::kSystem);
  EXPECT_EQ(loop.systemError, ELOOP);
  EXPECT_EQ(folder.EntryCount(), 5);  // real/, four links: nothing else
}

TEST(SaveFile, RefusesFoldersPipesDevicesAndReadOnlyFilesLeavingThemAsTheyWere) {
  ScratchFolder folder;
  ASSERT_EQ(::mkfifo(folder.File("fifo").c_str(), 0600), 0);
  std::filesystem::create_directory(folder.File("folder.MUX"));
  // As root a device node of our own (the null device); otherwise a link to the real one,
  // which nobody but root could replace anyway.
  const std::string device = folder.File("null");
  if (::geteuid() == 0) {
    ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
  } else {
    ASSERT_EQ(::symlink("/dev/null", device.c_str()), 0);
  }
  for (const char* name : {"fifo", "folder.MUX", "null"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(SaveFile(folder.File(name), "x").refusal, SaveRefusal::kNotRegularFile);
    // An append (the history's) neither writes there nor waits for a pipe's reader.
    EXPECT_EQ(AppendLine(folder.File(name), "x\n").refusal, SaveRefusal::kNotRegularFile);
  }
  EXPECT_TRUE(S_ISFIFO(StatOf(folder.File("fifo")).st_mode));
  EXPECT_TRUE(std::filesystem::is_directory(folder.File("folder.MUX")));
  EXPECT_TRUE(std::filesystem::is_character_file(device));

  // Refused even for root, whom the system would let replace it.
  const std::string readOnly = folder.File("kept.MUX");
  WriteFile(readOnly, "keep me");
  ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
  EXPECT_EQ(SaveFile(readOnly, "x").refusal, SaveRefusal::kReadOnly);
  EXPECT_EQ(ReadFile(readOnly), "keep me");
  EXPECT_EQ(folder.EntryCount(), 4);
}

TEST(SaveFile, AnotherUsersFileKeepsItsOwnerGroupAndMode) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  ScratchFolder folder;
  const std::string path = folder.File("theirs.ini");
  WriteFile(path, "old");
  ASSERT_EQ(::chown(path.c_str(), 12345, 23456), 0);
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);

  ASSERT_TRUE(SaveFile(path, "new").ok());
  const struct stat info = StatOf(path);
  EXPECT_EQ(info.st_uid, 12345u);
  EXPECT_EQ(info.st_gid, 23456u);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  EXPECT_EQ(ReadFile(path), "new");
}

TEST(SaveFile, ASaveKilledMidwayLeavesTheOldFileAndTheNextSaveRemovesItsTemporary) {
  ScratchFolder folder;
  const std::string path = folder.File("state.ini");
  WriteFile(path, "old");
  // The child dies of SIGXFSZ in the middle of writing, as a process over its file size limit
  // does; kill -9 leaves the same temporary behind.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
    const rlimit small{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &small);
    (void)SaveFile(path, std::string(100000, 'x'));
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
  EXPECT_EQ(ReadFile(path), "old");
  ASSERT_EQ(TemporariesOf(folder, "state.ini"), 1);

  // A temporary whose save still runs (locked) is left alone.
  const std::string live = folder.File(TemporaryFilePrefix("state.ini") + "live00");
  const int liveFd = ::open(live.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
  ASSERT_GE(liveFd, 0);
  ASSERT_EQ(::flock(liveFd, LOCK_EX), 0);

  ASSERT_TRUE(SaveFile(path, "new").ok());
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_EQ(TemporariesOf(folder, "state.ini"), 1);
  EXPECT_TRUE(std::filesystem::exists(live));
  ::close(liveFd);
}

// Runs `step` in a child process as the unprivileged user "nobody"; true when it succeeded.
bool AsNobody(const std::function<bool()>& step) {
  const passwd* nobody = ::getpwnam("nobody");
  if (nobody == nullptr) return false;
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(nobody->pw_gid) == 0 &&
                         ::setuid(nobody->pw_uid) == 0;
    ::_exit(dropped && step() ? 0 : 1);
  }
  int status = 0;
  return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A user plants links in a folder others write to; root (who runs the save) meets them, at the
// file's name or as a folder on the way to it.
struct PlantedLink {
  const char* scenario;
  bool folderIsTheirs;  // their own folder: the kernel, too, follows their links there
  bool dangling;        // the link names a file that does not exist yet
  bool followed;
  bool ours = false;      // root's own link, in the other user's folder
  bool onTheWay = false;  // the link stands for the folder the file is saved in
};

class OtherUsersLink : public ::testing::TestWithParam<PlantedLink> {};

TEST_P(OtherUsersLink, IsFollowedOnlyInTheirOwnFolder) {
  if (::geteuid() != 0) GTEST_SKIP() << "root saves while another user plants the link";
  const PlantedLink& c = GetParam();
  ScratchFolder folder;
  const std::string shared = folder.File("shared");
  std::filesystem::create_directory(shared);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);  // like /tmp
  if (c.folderIsTheirs) {
    ASSERT_EQ(::chown(shared.c_str(), ::getpwnam("nobody")->pw_uid, 0), 0);
  }
  // A file only root may write, which the link points at.
  const std::string secret = folder.File(c.dangling ? "created-by-root" : "root-only");
  if (!c.dangling) {
    WriteFile(secret, "root's own");
    ASSERT_EQ(::chmod(secret.c_str(), 0600), 0);
  }
  const std::string link = shared + "/car.MUX";
  const std::string pointed = c.onTheWay ? folder.path() : secret;
  if (c.ours) {
    ASSERT_EQ(::symlink(pointed.c_str(), link.c_str()), 0);
  } else {
    ASSERT_TRUE(AsNobody([&] { return ::symlink(pointed.c_str(), link.c_str()) == 0; }));
  }
  const std::string saveAt =
      c.onTheWay ? link + "/" + std::filesystem::path(secret).filename().string() : link;

  const SaveResult saved = SaveFile(saveAt, "configuration");
  EXPECT_EQ(saved.ok(), c.followed);
  // An append follows the same links, and no others; it starts on a line of its own.
  EXPECT_EQ(AppendLine(saveAt, "appended\n").ok(), c.followed);
  if (c.followed) {
    EXPECT_EQ(ReadFile(secret), "configuration\nappended\n");
    return;
  }
  EXPECT_EQ(saved.refusal, SaveRefusal::kForeignLink);
  EXPECT_EQ(std::filesystem::exists(secret), !c.dangling);
  if (!c.dangling) {
    EXPECT_EQ(ReadFile(secret), "root's own");
  }
  EXPECT_TRUE(S_ISLNK(StatOf(link).st_mode));
}

INSTANTIATE_TEST_SUITE_P(
    SaveFile, OtherUsersLink,
    ::testing::Values(PlantedLink{"SharedFolderToRootsFile", false, false, false},
                      PlantedLink{"SharedFolderDangling", false, true, false},
                      PlantedLink{"TheirFolderToRootsFile", true, false, true},
                      PlantedLink{"OwnLinkInTheirFolder", true, false, true, true},
                      PlantedLink{"SharedFolderLinkOnTheWay", false, false, false, false, true},
                      PlantedLink{"OwnLinkOnTheWayInASharedFolder", false, false, true, true,
                                  true}),
    [](const auto& info) { return std::string(info.param.scenario); });

TEST(CreateNewFile, TakesOnlyAFreeNameAndNeverFollowsALinkThere) {
  ScratchFolder folder;
  const std::string target = folder.File("elsewhere.MUX");
  const std::string name = folder.File("backup.MUX");
  ASSERT_EQ(::symlink(target.c_str(), name.c_str()), 0);  // dangling
  EXPECT_TRUE(NameTaken(CreateNewFile(name)));
  EXPECT_FALSE(std::filesystem::exists(target));

  WriteFile(target, "kept");
  EXPECT_TRUE(NameTaken(CreateNewFile(target)));
  EXPECT_EQ(ReadFile(target), "kept");

  const std::string fresh = folder.File("fresh.MUX");
  ASSERT_TRUE(CreateNewFile(fresh).ok());
  EXPECT_TRUE(std::filesystem::is_regular_file(fresh));
  EXPECT_EQ(std::filesystem::file_size(fresh), 0u);
}

}  // namespace
}  // namespace qvr
