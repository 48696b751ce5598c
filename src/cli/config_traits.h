#pragma once
// What differs between the two device kinds for the configuration commands: their image and
// the transfer, file and preparation functions of their module.
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "cli/config_diff.h"
#include "devices/common/image_checks.h"
#include "devices/mux410/config_file.h"
#include "devices/mux410/transfer.h"
#include "devices/tpx520/config_file.h"
#include "devices/tpx520/transfer.h"
#include "link/device_module.h"

namespace qvr::cli {

// The bytes a device write sends: `blocks` in transfer order, then the used event records.
inline std::vector<uint8_t> SentBytes(std::initializer_list<std::span<const uint8_t>> blocks,
                                      const EventTable& events) {
  std::vector<uint8_t> bytes;
  for (std::span<const uint8_t> block : blocks)
    bytes.insert(bytes.end(), block.begin(), block.end());
  for (int slot = 0; slot < events.count(); ++slot) {
    const auto record = events.record(slot).Encode();
    bytes.insert(bytes.end(), record.begin(), record.end());
  }
  return bytes;
}

struct Mux410Config {
  using Image = mux410::ConfigImage;
  static LinkResult ReadDevice(Link& l, Host& h, const Catalogue& c, const DeviceModule& m,
                               Image& i) {
    return mux410::ReadConfiguration(l, h, c, m, i);
  }
  static LinkResult WriteDevice(Link& l, Host& h, const Catalogue& c, const DeviceModule& m,
                                const Image& i) {
    return mux410::WriteConfiguration(l, h, c, m, i);
  }
  static void ReadFile(const std::string& p, Image& i, std::vector<int>* sections) {
    mux410::ReadConfigFile(p, i, sections);
  }
  static SaveResult WriteFile(const std::string& p, Image& i) {
    return mux410::WriteConfigFile(p, i);
  }
  static std::vector<ImageField> Fields(Image& i) { return mux410::ImageFields(i); }
  static ImageRefusal Prepare(Image& i) { return mux410::PrepareForDevice(i); }
  // What a write of `sent` puts on the unit, taken from `image` (the same bytes in a read-back).
  static std::vector<uint8_t> UnitBytes(const Image& image, const Image&) {
    return SentBytes({image.configName, image.navi, image.mode, image.input, image.dpar},
                     image.events);
  }
  static constexpr int kOtherPage = kPageTpx520;
};

struct Tpx520Config {
  using Image = tpx520::ConfigImage;
  static LinkResult ReadDevice(Link& l, Host& h, const Catalogue& c, const DeviceModule& m,
                               Image& i) {
    return tpx520::ReadConfiguration(l, h, c, m, i);
  }
  static LinkResult WriteDevice(Link& l, Host& h, const Catalogue& c, const DeviceModule& m,
                                const Image& i) {
    return tpx520::WriteConfiguration(l, h, c, m, i);
  }
  static void ReadFile(const std::string& p, Image& i, std::vector<int>* sections) {
    tpx520::ReadConfigFile(p, i, sections);
  }
  static SaveResult WriteFile(const std::string& p, Image& i) {
    return tpx520::WriteConfigFile(p, i);
  }
  static std::vector<ImageField> Fields(Image& i) { return tpx520::ImageFields(i); }
  static ImageRefusal Prepare(Image& i) { return tpx520::PrepareForDevice(i); }
  // The touch block counts only when the write sent it.
  static std::vector<uint8_t> UnitBytes(const Image& image, const Image& sent) {
    if (sent.touchFromDevice)
      return SentBytes({image.configName, image.touch, image.navi, image.mode}, image.events);
    return SentBytes({image.configName, image.navi, image.mode}, image.events);
  }
  static constexpr int kOtherPage = kPageMux410;
};

// Calls `run.template operator()<Traits>()` with the traits of `module`'s kind; `unsupported`
// for the controller, which has no configuration.
template <typename Run, typename Otherwise>
auto WithConfigTraits(const DeviceModule& module, Run run, Otherwise unsupported) {
  if (&module == &kDeviceModules[kPageMux410]) return run.template operator()<Mux410Config>();
  if (&module == &kDeviceModules[kPageTpx520]) return run.template operator()<Tpx520Config>();
  return unsupported();
}

}  // namespace qvr::cli
