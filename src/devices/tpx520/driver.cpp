#include "devices/tpx520/driver.h"

#include "devices/tpx520/config_file.h"
#include "devices/tpx520/transfer.h"

namespace qvr::tpx520 {
namespace {

// The touch and navigation blocks reach the unit only when the write sent them.
std::vector<uint8_t> UnitBytes(const ConfigImage& image, const ConfigImage& sent) {
  int skipped = 0;
  // The blocks are only read through.
  return SentBytes(BlocksSent(const_cast<ConfigImage&>(image), sent, skipped), image.events);
}

std::vector<BlockRef> UnitBlocks(ConfigImage& image) {
  return ParameterBlocks(image, true);
}

// The touch block is sent only for an image that came from a unit; all of it is sent.
void TakeAsRead(ConfigImage& image) {
  image.touchFromDevice = true;
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
    .fileLacks = AddedText::kTpx520FileLacks,
};

}  // namespace qvr::tpx520
