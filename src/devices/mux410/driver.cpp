#include "devices/mux410/driver.h"

#include "devices/mux410/config_file.h"
#include "devices/mux410/transfer.h"

namespace qvr::mux410 {
namespace {

std::vector<uint8_t> UnitBytes(const ConfigImage& image, const ConfigImage& sent) {
  int skipped = 0;
  // The blocks are only read through.
  return SentBytes(BlocksSent(const_cast<ConfigImage&>(image), sent, skipped), image.events);
}

std::vector<BlockRef> UnitBlocks(ConfigImage& image) {
  const auto blocks = ParameterBlocks(image);
  return {blocks.begin(), blocks.end()};
}

// Every block of the MUX-410 is sent by a write of what a unit held.
void TakeAsRead(ConfigImage& image) {
  image.naviKeptOnUnit = false;
}

}  // namespace

const ConfigDriver<ConfigImage> kConfigDriver = {
    .readDevice = ReadConfiguration,
    .writeDevice = WriteConfiguration,
    .readFile = ReadConfigFile,
    .writeFile = WriteConfigFile,
    .fields = ImageFields,
    .prepareForDevice = PrepareForDevice,
    .unitBytes = UnitBytes,
    .unitBlocks = UnitBlocks,
    .takeAsRead = TakeAsRead,
    .fileLacks = AddedText::kMux410FileLacks,
};

}  // namespace qvr::mux410
