// Reads arbitrary bytes as a TPX-520 configuration file: it must neither crash nor hang, and
// a configuration from a file never claims a touch block from the device.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "devices/tpx520/config_file.h"

namespace {

struct ScratchFile {
  // In memory where possible: rewriting a file on disk is flushed each time and slow.
  std::filesystem::path path =
      (::access("/dev/shm", W_OK) == 0 ? std::filesystem::path("/dev/shm")
                                       : std::filesystem::temp_directory_path()) /
      ("fuzz-tpx520-" + std::to_string(::getpid()) + ".MUX");
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ScratchFile scratch;
  {
    std::ofstream out(scratch.path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  }
  qvr::tpx520::ConfigImage image;
  qvr::tpx520::ReadConfigFile(scratch.path.string(), image);
  bool sound = !image.touchFromDevice && image.events.count() <= qvr::tpx520::kEventCapacity &&
               image.configNameText().size() < 32 && image.description[999] == 0;
  if (!sound) std::abort();
  return 0;
}
