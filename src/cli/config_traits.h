#pragma once
// What differs between the two device kinds for the configuration commands: their image and
// the transfer, file and preparation functions of their module.
#include <string>
#include <vector>

#include "devices/common/image_checks.h"
#include "devices/mux410/config_file.h"
#include "devices/mux410/transfer.h"
#include "devices/tpx520/config_file.h"
#include "devices/tpx520/transfer.h"
#include "link/device_module.h"

namespace qvr::cli {

struct Mux410Config {
  using Image = mux410::ConfigImage;
  static LinkResult ReadDevice(Link& l, const Catalogue& c, const DeviceModule& m, Image& i) {
    return mux410::ReadConfiguration(l, c, m, i);
  }
  static LinkResult WriteDevice(Link& l, const Catalogue& c, const DeviceModule& m,
                                const Image& i) {
    return mux410::WriteConfiguration(l, c, m, i);
  }
  static void ReadFile(const std::string& p, Image& i, std::vector<int>* sections) {
    mux410::ReadConfigFile(p, i, sections);
  }
  static SaveResult WriteFile(const std::string& p, Image& i) {
    return mux410::WriteConfigFile(p, i);
  }
  static std::vector<ImageField> Fields(Image& i) { return mux410::ImageFields(i); }
  static ImageRefusal Prepare(Image& i) { return mux410::PrepareForDevice(i); }
  static constexpr int kOtherPage = kPageTpx520;
};

struct Tpx520Config {
  using Image = tpx520::ConfigImage;
  static LinkResult ReadDevice(Link& l, const Catalogue& c, const DeviceModule& m, Image& i) {
    return tpx520::ReadConfiguration(l, c, m, i);
  }
  static LinkResult WriteDevice(Link& l, const Catalogue& c, const DeviceModule& m,
                                const Image& i) {
    return tpx520::WriteConfiguration(l, c, m, i);
  }
  static void ReadFile(const std::string& p, Image& i, std::vector<int>* sections) {
    tpx520::ReadConfigFile(p, i, sections);
  }
  static SaveResult WriteFile(const std::string& p, Image& i) {
    return tpx520::WriteConfigFile(p, i);
  }
  static std::vector<ImageField> Fields(Image& i) { return tpx520::ImageFields(i); }
  static ImageRefusal Prepare(Image& i) { return tpx520::PrepareForDevice(i); }
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
