#include "devices/backup/restore_source.h"

#include <filesystem>

#include "devices/drivers/device_drivers.h"
#include "platform/file_names.h"

namespace qvr {

std::string RawImageBeside(const std::string& path) {
  const std::filesystem::path file = NativePath(path);
  if (Utf8Path(file.filename()) == kRawImageFileName) return path;
  std::error_code ec;
  const std::filesystem::path beside = file.parent_path() / kRawImageFileName;
  return std::filesystem::is_regular_file(beside, ec) ? Utf8Path(beside) : std::string();
}

bool ExactImageFits(const DeviceModule& module, const RawImage& image) {
  if (image.device != module.name) return false;
  return WithConfigDriver(
      module,
      [&](const auto& driver) {
        typename std::decay_t<decltype(driver)>::Image probe;
        return ImageFromUnitBytes(driver, image, probe);
      },
      [] { return false; });
}

}  // namespace qvr
