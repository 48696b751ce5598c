#include "devices/tpx520/transfer.h"

#include <vector>

#include "devices/common/config_transfer.h"
#include "devices/common/device_commands.h"

namespace qvr::tpx520 {

namespace {

BlockRef Ref(uint8_t command, uint8_t* data, size_t size) {
  return {command, data, unsigned(size)};
}

}  // namespace

std::vector<BlockRef> ParameterBlocks(ConfigImage& image, bool withTouch) {
  std::vector<BlockRef> blocks{Ref(kCmdName, image.configName.data(), image.configName.size())};
  if (withTouch) blocks.push_back(Ref(kCmdTouch, image.touch.data(), image.touch.size()));
  blocks.push_back(Ref(kCmdNavi, image.navi.data(), image.navi.size()));
  blocks.push_back(Ref(kCmdMode, image.mode.data(), image.mode.size()));
  return blocks;
}

TransferResult ReadConfiguration(Link& link, Host& host, const Catalogue& catalogue,
                                 const DeviceModule& module, ConfigImage& image) {
  image.Clear();
  auto blocks = ParameterBlocks(image, true);
  const TransferResult result = ReadDeviceConfiguration(
      link, host, catalogue, module, {kProgressTotal, blocks, kCmdEvents}, image.events);
  image.touchFromDevice = result == LinkOk;
  return result;
}

std::vector<BlockRef> BlocksSent(ConfigImage& image, const ConfigImage& sent, int& skippedBytes) {
  std::vector<uint8_t> leftOut;
  if (!sent.touchFromDevice) leftOut.push_back(kCmdTouch);
  if (sent.naviKeptOnUnit) leftOut.push_back(kCmdNavi);
  return BlocksWithout(ParameterBlocks(image, true), leftOut, skippedBytes);
}

TransferResult WriteConfiguration(Link& link, Host& host, const Catalogue& catalogue,
                                  const DeviceModule& module, const ConfigImage& image) {
  int skipped = 0;
  // WriteBlocks only reads through the block references.
  const auto blocks = BlocksSent(const_cast<ConfigImage&>(image), image, skipped);
  return WriteDeviceConfiguration(link, host, catalogue, module,
                                  {kProgressTotal, blocks, kCmdEvents, skipped}, image.events);
}

}  // namespace qvr::tpx520
