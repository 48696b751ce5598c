// Linux file names are bytes; the programs' UTF-8 is taken as it is.
#include "platform/file_names.h"

namespace qvr {

std::filesystem::path NativePath(const std::string& path) {
  return std::filesystem::path(path);
}

std::string Utf8Path(const std::filesystem::path& path) {
  return path.string();
}

bool SameDevicePath(const std::string& a, const std::string& b) {
  return a == b;
}

bool SameFileName(const std::string& a, const std::string& b) {
  return a == b;
}

}  // namespace qvr
