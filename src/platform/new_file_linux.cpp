// New files on Linux: O_CREAT|O_EXCL, which never follows a link at the last name, and
// O_NOFOLLOW to say so.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/new_file.h"

namespace qvr {

SaveResult CreateNewFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return {SaveRefusal::kSystem, errno};
  ::close(fd);
  return {};
}

bool NameTaken(const SaveResult& result) {
  return result.refusal == SaveRefusal::kSystem && result.systemError == EEXIST;
}

}  // namespace qvr
