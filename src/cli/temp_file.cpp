#include "cli/temp_file.h"

#include <fstream>
#include <iterator>

#include "platform/file_names.h"
#include "platform/temporary_file.h"
#include "platform/temporary_removal.h"

namespace qvr::cli {

TempFile::TempFile(const std::string& suffix) {
  path_ = CreateTemporaryFile(suffix);
  TrackTemporaryFile(path_);
}

TempFile::~TempFile() {
  if (!path_.empty()) RemoveTemporaryFile(path_);
}

std::string TempFile::Read() const {
  std::ifstream in(NativePath(path_), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TempFile::Write(const std::string& bytes) const {
  std::ofstream out(NativePath(path_), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(out.flush());
}

bool ReadBounded(std::istream& in, size_t maxSize, std::string& bytes) {
  bytes.clear();
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.append(buffer, size_t(in.gcount()));
    // Stops at once: a stream without end (/dev/zero) never fills the memory.
    if (bytes.size() > maxSize) {
      bytes.clear();
      return false;
    }
  }
  return true;
}

}  // namespace qvr::cli
