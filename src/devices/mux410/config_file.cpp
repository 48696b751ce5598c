#include "devices/mux410/config_file.h"

#include "devices/common/config_file_io.h"

namespace qvr::mux410 {

void ReadConfigFile(const std::string& path, ConfigImage& image, std::vector<int>* eventSections) {
  ReadImageFile(path, image, ImageFields, eventSections);
}

bool WriteConfigFile(const std::string& path, ConfigImage& image, std::string* error) {
  return WriteImageFile(path, image, ImageFields, error);
}

}  // namespace qvr::mux410
