// Reading whole files on Linux: opened without blocking, so a FIFO or device is refused.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_read.h"

namespace qvr {

bool ReadRegularFile(const std::string& path, size_t maxSize, std::string& data, bool& tooLarge) {
  tooLarge = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  tooLarge = ok && size_t(info.st_size) > maxSize;
  if (ok && !tooLarge) {
    char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) ok = false;
      if (n <= 0) break;
      data.append(buffer, size_t(n));
      if (data.size() > maxSize) {  // grew while we read it
        tooLarge = true;
        break;
      }
    }
  }
  ::close(fd);
  if (tooLarge) data.clear();
  return ok;
}

}  // namespace qvr
