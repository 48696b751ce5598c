// The folder lock on Linux: an advisory lock on the folder itself, so no lock file is left.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/folder_lock.h"

namespace qvr {

FolderLock::FolderLock(const std::string& folder) {
  if (folder.empty()) return;
  handle_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle_ < 0) return;
  int locked;
  while ((locked = ::flock(handle_, LOCK_EX)) != 0 && errno == EINTR) {
  }
  if (locked != 0) {
    ::close(handle_);
    handle_ = -1;
  }
}

FolderLock::~FolderLock() {
  if (handle_ >= 0) ::close(handle_);
}

}  // namespace qvr
