// Temporary files on Linux: mkstemps in the temporary folder ($TMPDIR or /tmp).
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
  const int fd = ::mkstemps(pattern.data(), int(suffix.size()));
  if (fd < 0) return {};
  ::close(fd);
  return pattern;
}

}  // namespace qvr
