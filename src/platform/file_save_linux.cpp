// The save routine on Linux and other POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/file_save.h"

namespace qvr {
namespace {

constexpr int kMaxLinkHops = 40;  // the kernel's own limit for one path

struct FileCloser {
  int fd;
  ~FileCloser() { ::close(fd); }
};

SaveResult SystemFailure() {
  return {SaveRefusal::kSystem, errno};
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ReadLink(const std::string& path, std::string& target) {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (n < 0) return false;
    if (size_t(n) < buffer.size()) {
      target.assign(buffer.data(), size_t(n));
      return true;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// The kernel's rule for links in shared folders, applied to every link a save follows: the
// link must be the user's own or its folder owner's. Anyone else's link could point a save by
// root (or any user) at a file its owner may not write.
bool TrustedLink(const std::string& link, const struct stat& info) {
  struct stat folder {};
  if (::stat(FolderOf(link).c_str(), &folder) != 0) return false;
  return info.st_uid == ::geteuid() || info.st_uid == folder.st_uid;
}

// The path's names one by one ("." and empty names left out).
std::vector<std::string> NamesOf(const std::string& path) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t slash = std::min(path.find('/', start), path.size());
    const std::string name = path.substr(start, slash - start);
    if (!name.empty() && name != ".") names.push_back(name);
    start = slash + 1;
  }
  return names;
}

std::string Joined(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

// Puts the names the link at `link` holds before the `names` still to walk (kept last first);
// an absolute one starts the walk again at the root.
bool TakeLinkedNames(const std::string& link, std::string& resolved,
                     std::vector<std::string>& names) {
  std::string linked;
  if (!ReadLink(link, linked)) return false;
  if (linked.starts_with('/')) resolved = "/";
  const std::vector<std::string> inLink = NamesOf(linked);
  names.insert(names.end(), inLink.rbegin(), inLink.rend());
  return true;
}

// Follows symbolic links to the file a save replaces, every link on the way (a folder's as
// much as the file's): a link planted in a shared folder on the path would move the save as
// surely as one at the file's name. A dangling link gives the path it names, so that the save
// creates the file the link points to. `foreign` is set (and false returned) at a link that is
// not trusted.
bool ResolveLinks(const std::string& path, std::string& target, bool& foreign) {
  foreign = false;
  target = path;
  if (path.empty()) return true;
  std::string resolved = path.starts_with('/') ? "/" : ".";
  std::vector<std::string> names = NamesOf(path);
  std::reverse(names.begin(), names.end());  // the next name at the back
  int hops = 0;
  while (!names.empty()) {
    const std::string name = std::move(names.back());
    names.pop_back();
    if (name == "..") {
      resolved = resolved == "." ? ".." : Joined(resolved, "..");
      continue;
    }
    const std::string next = Joined(resolved, name);
    struct stat info {};
    if (::lstat(next.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      resolved = next;  // a missing name fails at the save itself, with its own reason
      continue;
    }
    if (!TrustedLink(next, info)) {
      foreign = true;
      return false;
    }
    if (++hops > kMaxLinkHops) {
      errno = ELOOP;
      return false;
    }
    if (!TakeLinkedNames(next, resolved, names)) return false;
  }
  target = resolved;
  return true;
}

// A temporary whose save still runs is locked by it; an unlocked one was left by a save that
// was killed (kill -9, SIGXFSZ, power loss) and goes.
void RemoveStaleTemporaries(const std::string& folder, const std::string& prefix) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (!name.starts_with(prefix)) continue;
    const int fd = ::openat(::dirfd(dir), name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) (void)::unlinkat(::dirfd(dir), name.c_str(), 0);
    ::close(fd);
  }
  ::closedir(dir);
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    text.remove_prefix(size_t(n));
  }
  return true;
}

// A file system in memory (tmpfs, ramfs) has no disk to flush to: the flush is skipped there,
// where the fuzzers save thousands of times a second.
bool InMemory(int fd) {
  struct statfs info {};
  return ::fstatfs(fd, &info) == 0 && (info.f_type == TMPFS_MAGIC || info.f_type == RAMFS_MAGIC);
}

bool Flush(int fd) {
  return InMemory(fd) || ::fsync(fd) == 0;
}

// The process's umask read without changing it: setting it to learn it would, for a moment,
// give every file another thread creates meanwhile the wrong mode.
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("Umask:", 0) == 0) return mode_t(std::strtoul(line.c_str() + 6, nullptr, 8));
  }
  return 022;  // the usual mask, where the kernel does not tell (before Linux 4.7)
}

mode_t NewFileMode() {
  return 0666 & ~CurrentUmask();
}

// Gives the temporary the owner, group and mode the replaced file had (a new file: the user's
// usual mode). Owner first: changing it clears set-id bits the mode then restores.
SaveResult KeepAttributes(int fd, const struct stat* existing) {
  struct stat temp {};
  if (::fstat(fd, &temp) != 0) return SystemFailure();
  if (existing == nullptr) {
    (void)::fchmod(fd, NewFileMode());  // some file systems keep no modes
    return {};
  }
  const bool sameOwner = temp.st_uid == existing->st_uid && temp.st_gid == existing->st_gid;
  if (!sameOwner && ::fchown(fd, existing->st_uid, existing->st_gid) != 0)
    return {SaveRefusal::kOwnerNotKept, errno};
  const mode_t mode = existing->st_mode & 07777;
  if (::fchmod(fd, mode) != 0 && (::fstat(fd, &temp) != 0 || (temp.st_mode & 07777) != mode))
    return {SaveRefusal::kOwnerNotKept, errno};
  return {};
}

SaveResult WriteTemporaryAndRename(const std::string& target, const struct stat* existing,
                                   std::string_view contents) {
  std::string temp = FolderOf(target) + "/" + TemporaryFilePrefix(NameOf(target)) + "XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return SystemFailure();
  // Held until the rename, so that another save never takes this file for a stale one.
  (void)::flock(fd, LOCK_EX);
  SaveResult result = KeepAttributes(fd, existing);
  if (result.ok() && !(WriteAll(fd, contents) && Flush(fd))) result = SystemFailure();
  if (result.ok() && ::rename(temp.c_str(), target.c_str()) != 0) result = SystemFailure();
  if (!result.ok()) (void)::unlink(temp.c_str());
  ::close(fd);
  return result;
}

}  // namespace

std::string SystemErrorText(int systemError) {
  return std::strerror(systemError);
}

std::string TemporaryFilePrefix(const std::string& fileName) {
  return "." + fileName + ".qvr-save-";
}

SaveResult SaveFile(const std::string& path, std::string_view contents) {
  std::string target;
  bool foreign = false;
  if (!ResolveLinks(path, target, foreign))
    return foreign ? SaveResult{SaveRefusal::kForeignLink, 0} : SystemFailure();
  struct stat info {};
  const bool exists = ::stat(target.c_str(), &info) == 0;
  if (!exists && errno != ENOENT) return SystemFailure();
  if (exists && !S_ISREG(info.st_mode)) return {SaveRefusal::kNotRegularFile, 0};
  // Like the editors: no write bit, or no write access for this user, is read-only even for
  // a user (root) whom the system would let replace it.
  if (exists && ((info.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0))
    return {SaveRefusal::kReadOnly, 0};

  const std::string folder = FolderOf(target);
  RemoveStaleTemporaries(folder, TemporaryFilePrefix(NameOf(target)));
  SaveResult result = WriteTemporaryAndRename(target, exists ? &info : nullptr, contents);
  // Another save's cleanup can take a temporary in the instant before it is locked: once more.
  if (result.refusal == SaveRefusal::kSystem && result.systemError == ENOENT)
    result = WriteTemporaryAndRename(target, exists ? &info : nullptr, contents);
  if (!result.ok()) return result;
  // Make the rename itself durable; a failure here no longer endangers either file.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    (void)Flush(dir);
    ::close(dir);
  }
  return result;
}

SaveResult AppendLine(const std::string& path, std::string_view text) {
  std::string target;
  bool foreign = false;
  if (!ResolveLinks(path, target, foreign))
    return foreign ? SaveResult{SaveRefusal::kForeignLink, 0} : SystemFailure();
  // Not blocking: a pipe planted at the name must not hold the program until a reader comes.
  // Read access tells whether the file ends with a line break.
  const int fd = ::open(target.c_str(),
                        O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0)
    return errno == EISDIR ? SaveResult{SaveRefusal::kNotRegularFile, 0} : SystemFailure();
  const FileCloser closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) return SystemFailure();
  if (!S_ISREG(info.st_mode)) return {SaveRefusal::kNotRegularFile, 0};
  char last = '\n';
  if (info.st_size > 0 && ::pread(fd, &last, 1, info.st_size - 1) != 1) return SystemFailure();
  // One write, so that lines of other programs appending at once never come inside it.
  std::string line(last == '\n' ? 0 : 1, '\n');
  line += text;
  if (!WriteAll(fd, line)) return SystemFailure();
  return {};
}

}  // namespace qvr
