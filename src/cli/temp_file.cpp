#include "cli/temp_file.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace qvr::cli {

TempFile::TempFile(const std::string& suffix) {
  std::error_code ec;
  std::string pattern =
      (std::filesystem::temp_directory_path(ec) / ("qvrctl-XXXXXX" + suffix)).string();
  const int fd = ::mkstemps(pattern.data(), int(suffix.size()));
  if (fd < 0) return;
  ::close(fd);
  path_ = pattern;
}

TempFile::~TempFile() {
  if (!path_.empty()) ::unlink(path_.c_str());
}

std::string TempFile::Read() const {
  std::ifstream in(path_, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TempFile::Write(const std::string& bytes) const {
  std::ofstream out(path_, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out.flush());
}

}  // namespace qvr::cli
