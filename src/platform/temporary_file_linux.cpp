// Temporary files on Linux: mkstemps in the temporary folder ($TMPDIR or /tmp), listed for
// removal at once.
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include "platform/temporary_file.h"
#include "platform/temporary_removal.h"

namespace qvr {

std::string CreateTemporaryFile(const std::string& suffix) {
  std::error_code ec;
  std::string pattern = (std::filesystem::temp_directory_path(ec) /
                         (kTemporaryFilePrefix + std::string("XXXXXX") + suffix))
                            .string();
  // A termination signal between making the file and listing it would leave it behind.
  sigset_t termination, previous;
  sigemptyset(&termination);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&termination, signal);
  ::pthread_sigmask(SIG_BLOCK, &termination, &previous);
  const int fd = ::mkstemps(pattern.data(), int(suffix.size()));
  if (fd >= 0) {
    ::close(fd);
    TrackTemporaryFile(pattern);
  }
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return fd >= 0 ? pattern : std::string();
}

}  // namespace qvr
