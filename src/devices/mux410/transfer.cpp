#include "devices/mux410/transfer.h"

#include "devices/common/config_transfer.h"
#include "devices/common/device_commands.h"

namespace qvr::mux410 {

std::array<BlockRef, 5> ParameterBlocks(ConfigImage& image) {
  return {{{kCmdName, image.configName.data(), unsigned(image.configName.size())},
           {kCmdNavi, image.navi.data(), unsigned(image.navi.size())},
           {kCmdMode, image.mode.data(), unsigned(image.mode.size())},
           {kCmdInput, image.input.data(), unsigned(image.input.size())},
           {kCmdDpar, image.dpar.data(), unsigned(image.dpar.size())}}};
}

TransferResult ReadConfiguration(Link& link, Host& host, const Catalogue& catalogue,
                                 const DeviceModule& module, ConfigImage& image) {
  image.Clear();
  auto blocks = ParameterBlocks(image);
  return ReadDeviceConfiguration(link, host, catalogue, module,
                                 {kProgressTotal, blocks, kCmdEvents}, image.events);
}

std::vector<BlockRef> BlocksSent(ConfigImage& image, const ConfigImage& sent, int& skippedBytes) {
  const auto blocks = ParameterBlocks(image);
  const std::vector<uint8_t> leftOut =
      sent.naviKeptOnUnit ? std::vector<uint8_t>{kCmdNavi} : std::vector<uint8_t>{};
  return BlocksWithout(blocks, leftOut, skippedBytes);
}

TransferResult WriteConfiguration(Link& link, Host& host, const Catalogue& catalogue,
                                  const DeviceModule& module, const ConfigImage& image) {
  int skipped = 0;
  // WriteBlocks only reads through the block references.
  const auto blocks = BlocksSent(const_cast<ConfigImage&>(image), image, skipped);
  return WriteDeviceConfiguration(link, host, catalogue, module,
                                  {kProgressTotal, blocks, kCmdEvents, skipped}, image.events);
}

}  // namespace qvr::mux410
