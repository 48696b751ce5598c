#include "cli/temp_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/file_names.h"
#include "platform/temporary_file.h"

namespace qvr::cli {

TempFile::TempFile(const std::string& suffix) {
  path_ = CreateTemporaryFile(suffix);
}

TempFile::~TempFile() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove(NativePath(path_), ec);
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

}  // namespace qvr::cli
