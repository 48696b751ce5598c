#include "devices/mux410/config_file.h"

#include "devices/common/config_file_io.h"

namespace qvr::mux410 {

void ReadConfigFile(const std::string& path, ConfigImage& image, std::vector<int>* eventSections) {
  ReadImageFile(path, image, ImageFields, eventSections);
}

SaveResult WriteConfigFile(const std::string& path, ConfigImage& image) {
  return WriteImageFile(path, image, ImageFields);
}

}  // namespace qvr::mux410
