// Reading a file piece by piece on Linux: opened with O_NONBLOCK, which lets the open of a FIFO
// without a writer return at once, and checked to be a regular file before anything is read.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_reader.h"

namespace qvr {

FileReader::FileReader(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    opened_ = ErrnoFailure(errno);
    return;
  }
  struct stat info {};
  const bool stated = ::fstat(fd, &info) == 0;
  if (!stated || !S_ISREG(info.st_mode)) {
    opened_ = stated ? SaveResult{SaveRefusal::kNotRegularFile, 0} : ErrnoFailure(errno);
    ::close(fd);
    return;
  }
  handle_ = fd;
}

FileReader::~FileReader() {
  if (handle_ >= 0) ::close(int(handle_));
}

long FileReader::Read(char* buffer, size_t capacity) {
  if (handle_ < 0) return -1;
  for (;;) {
    const ssize_t n = ::read(int(handle_), buffer, capacity);
    if (n < 0 && errno == EINTR) continue;
    return long(n);
  }
}

}  // namespace qvr
