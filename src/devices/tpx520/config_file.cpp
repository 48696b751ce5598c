#include "devices/tpx520/config_file.h"

#include "devices/common/config_file_io.h"

namespace qvr::tpx520 {

SaveResult WriteConfigFile(const std::string& path, ConfigImage& image) {
  return WriteImageFile(path, image, ImageFields);
}

// A configuration from a file holds no touch block: the image's stays zero (Clear also leaves
// touchFromDevice false), so it is not sent to the device (see WriteConfiguration).
void ReadConfigFile(const std::string& path, ConfigImage& image, std::vector<int>* eventSections) {
  ReadImageFile(path, image, ImageFields, eventSections);
}

}  // namespace qvr::tpx520
