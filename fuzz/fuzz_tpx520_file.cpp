// Reads arbitrary bytes as a TPX-520 configuration file: it must neither crash nor hang, and
// a configuration from a file never claims a touch block from the device.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "devices/tpx520/config_file.h"
#include "fuzz_scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = qvr::fuzz::Scratch().Write("input.MUX", data, size);
  qvr::tpx520::ConfigImage image;
  qvr::tpx520::ReadConfigFile(path, image);
  bool sound = !image.touchFromDevice && image.events.count() <= qvr::tpx520::kEventCapacity &&
               image.configNameText().size() < 32 && image.description[999] == 0;
  if (!sound) std::abort();
  return 0;
}
