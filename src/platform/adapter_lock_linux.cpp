// Adapter locks on Linux: an open-file-description lock on a file per adapter in /run/lock
// (every user may create and lock there); the holder writes its process id into the file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>

#include "platform/adapter_lock.h"

namespace qvr {

namespace {

std::string LockFileName(const std::string& adapterPath) {
  std::string name = "qvr-b";
  for (char c : adapterPath) name += (c == '/' || c == '\\' || c == ':') ? '_' : c;
  return name + ".lock";
}

// Opens the lock file without following a link another user planted, creating it for every
// user when it is not there yet.
int OpenLockFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0 || errno != ENOENT) return fd;
  fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd >= 0) ::fchmod(fd, 0666);  // the creator's umask must not shut the others out
  if (fd < 0 && errno == EEXIST) fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
  return fd;
}

}  // namespace

std::string AdapterLockFolder() {
  const char* own = std::getenv("QVR_ADAPTER_LOCK_DIR");
  if (own != nullptr && *own != '\0') return own;
  struct stat info {};
  if (::stat("/run/lock", &info) == 0 && S_ISDIR(info.st_mode)) return "/run/lock";
  return "/tmp";
}

AdapterLock::AdapterLock(std::string adapterPath)
    : file_(AdapterLockFolder() + "/" + LockFileName(adapterPath)) {}

AdapterLock::~AdapterLock() {
  Release();
  if (handle_ >= 0) ::close(int(handle_));
}

bool AdapterLock::TryOnce() {
  if (handle_ < 0) handle_ = OpenLockFile(file_);
  // A lock that cannot be had at all (a folder without room) never stands between the user
  // and the adapter.
  if (handle_ < 0) return true;
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  if (::fcntl(int(handle_), F_OFD_SETLK, &lock) == 0) {
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(int(handle_), 0) == 0) (void)!::pwrite(int(handle_), pid.data(), pid.size(), 0);
    return true;
  }
  return errno != EAGAIN && errno != EACCES && errno != EINTR;
}

void AdapterLock::Unlock() {
  if (handle_ < 0) return;
  struct flock lock {};
  lock.l_type = F_UNLCK;
  lock.l_whence = SEEK_SET;
  ::fcntl(int(handle_), F_OFD_SETLK, &lock);
}

AdapterHolder AdapterLock::ReadHolder() const {
  AdapterHolder holder;
  char text[32] = {};
  if (handle_ < 0 || ::pread(int(handle_), text, sizeof text - 1, 0) <= 0) return holder;
  holder.processId = std::strtoul(text, nullptr, 10);
  if (holder.processId == 0) return holder;
  std::ifstream comm("/proc/" + std::to_string(holder.processId) + "/comm");
  std::getline(comm, holder.program);
  // The name is another program's: only printable characters go further.
  std::erase_if(holder.program, [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  return holder;
}

}  // namespace qvr
