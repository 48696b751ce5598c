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

TransferResult WriteConfiguration(Link& link, Host& host, const Catalogue& catalogue,
                                  const DeviceModule& module, const ConfigImage& image) {
  // WriteBlocks only reads through the block references.
  auto blocks = ParameterBlocks(const_cast<ConfigImage&>(image));
  return WriteDeviceConfiguration(link, host, catalogue, module,
                                  {kProgressTotal, blocks, kCmdEvents}, image.events);
}

}  // namespace qvr::mux410
