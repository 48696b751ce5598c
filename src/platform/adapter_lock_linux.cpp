// Adapter locks on Linux: a flock on the adapter's device node, opened for that alone as hidapi
// opens it (so only a user allowed to use the adapter can take it), or on a simulated adapter's
// lock file in its state folder. The holder is the kernel's record of the lock (/proc/locks),
// which no other program can write.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/adapter_lock.h"

namespace qvr {

namespace {

using Outcome = AdapterLockAttempt::Outcome;

// The node as hidapi opens it (read and write: only a user who may use the adapter opens it so),
// without becoming its controlling terminal; a lock file is made when missing and opened only
// for reading (a lock needs no more), never through a link, and without waiting when a pipe was
// put in its place.
int OpenTarget(const std::string& path, AdapterLock::Kind kind, bool create) {
  if (kind == AdapterLock::Kind::kDeviceNode)
    return ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  const int flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  return create ? ::open(path.c_str(), flags | O_CREAT, 0644) : ::open(path.c_str(), flags);
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

AdapterLockAttempt Failed(const AdapterLock& lock, AdapterLockFailure failure, int error) {
  AdapterLockAttempt attempt;
  attempt.outcome = Outcome::kFailed;
  attempt.problem = {failure, error, lock.path(), lock.kind() == AdapterLock::Kind::kDeviceNode};
  return attempt;
}

AdapterLockFailure OpenFailure(int error, AdapterLock::Kind kind) {
  switch (error) {
    case EACCES:
    case EPERM:
      return AdapterLockFailure::kNoAccess;
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return kind == AdapterLock::Kind::kDeviceNode ? AdapterLockFailure::kGone
                                                    : AdapterLockFailure::kSystem;
    case ELOOP:   // a link where the lock file belongs
    case EISDIR:  // a folder there
      return AdapterLockFailure::kNotLockable;
    default:
      return AdapterLockFailure::kSystem;
  }
}

// The program's name as the kernel keeps it, printable characters only: it is another
// program's, and it may have chosen one that would write on our user's terminal.
std::string ProgramName(unsigned long processId) {
  std::ifstream comm("/proc/" + std::to_string(processId) + "/comm");
  std::string name;
  std::getline(comm, name);
  std::erase_if(name, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
  return name;
}

// The process that holds the flock on the file open at `fd`, from the kernel's list of locks:
// "1: FLOCK  ADVISORY  WRITE 4242 00:05:1234 0 EOF" (a waiter's line has "->" after the number).
// The file is known by the device and inode of our own descriptor, which is what the kernel
// lists whatever name it was opened by.
AdapterHolder HolderOf(int fd) {
  AdapterHolder holder;
  struct stat own {};
  if (::fstat(fd, &own) != 0) return holder;
  std::ifstream locks("/proc/locks");
  for (std::string line; std::getline(locks, line);) {
    std::istringstream fields(line);
    std::vector<std::string> words;
    for (std::string word; fields >> word && words.size() < 6;) words.push_back(word);
    if (words.size() < 6 || words[1] != "FLOCK") continue;
    unsigned deviceMajor = 0, deviceMinor = 0;
    unsigned long inode = 0;
    char end = 0;
    if (std::sscanf(words[5].c_str(), "%x:%x:%lu%c", &deviceMajor, &deviceMinor, &inode, &end) != 3)
      continue;
    if (deviceMajor != major(own.st_dev) || deviceMinor != minor(own.st_dev) || inode != own.st_ino)
      continue;
    // 0 or -1: a process the kernel does not show us (another pid namespace).
    const long processId = std::strtol(words[4].c_str(), nullptr, 10);
    if (processId <= 0) return holder;
    holder.processId = static_cast<unsigned long>(processId);
    holder.program = ProgramName(holder.processId);
    return holder;
  }
  return holder;
}

}  // namespace

AdapterLock::AdapterLock(std::string path, Kind kind) : path_(std::move(path)), kind_(kind) {}

AdapterLock::~AdapterLock() {
  Release();
  Close();
}

void AdapterLock::Close() {
  if (handle_ >= 0) ::close(int(handle_));
  handle_ = -1;
}

AdapterLockAttempt AdapterLock::TryTake() {
  // A lock file deleted or replaced while held no longer keeps anyone out: taken afresh.
  if (held_ && kind_ == Kind::kLockFile && !StillAtPath()) Release();
  if (held_) return {Outcome::kTaken, {}, {}};
  // A lock file removed between our open and our lock keeps no one out either: whoever comes
  // next makes a new one. The lock counts only while the name still stands for the file locked.
  for (int round = 0; round < 3; ++round) {
    AdapterLockAttempt attempt = TakeOnce();
    if (attempt.outcome != Outcome::kTaken || kind_ != Kind::kLockFile || StillAtPath())
      return attempt;
    Release();
  }
  return Failed(*this, AdapterLockFailure::kNotLockable, 0);
}

AdapterLockAttempt AdapterLock::TakeOnce() {
  // Opened afresh every time: the name may stand for another node or file since the last one.
  Close();
  handle_ = OpenTarget(path_, kind_, true);
  if (handle_ < 0) {
    const int error = errno;
    return Failed(*this, OpenFailure(error, kind_), error);
  }
  const int fd = int(handle_);
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int error = errno;
    Close();
    return Failed(*this, AdapterLockFailure::kSystem, error);
  }
  const bool rightKind = kind_ == Kind::kDeviceNode ? S_ISCHR(info.st_mode) : S_ISREG(info.st_mode);
  if (!rightKind) {
    Close();
    return Failed(*this, AdapterLockFailure::kNotLockable, 0);
  }
  int locked;
  while ((locked = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (locked != 0) {
    const int error = errno;
    if (error == EWOULDBLOCK) {
      AdapterLockAttempt attempt{Outcome::kInUse, HolderOf(fd), {}};
      Close();
      return attempt;
    }
    Close();
    return Failed(*this, AdapterLockFailure::kSystem, error);
  }
  held_ = true;
  return {Outcome::kTaken, {}, {}};
}

void AdapterLock::Release() {
  if (!held_) return;
  held_ = false;
  // Let go of the lock itself, not only of our descriptor: a child started meanwhile may
  // still share the open file.
  if (handle_ >= 0) ::flock(int(handle_), LOCK_UN);
  Close();
}

bool AdapterLock::StillAtPath() const {
  if (handle_ < 0) return false;
  struct stat locked {};
  struct stat named {};
  if (::fstat(int(handle_), &locked) != 0) return false;
  const int fd = OpenTarget(path_, kind_, false);
  if (fd < 0) return false;
  const bool same = ::fstat(fd, &named) == 0 && SameFile(locked, named);
  ::close(fd);
  return same;
}

}  // namespace qvr
