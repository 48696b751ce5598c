// read and write: a device's configuration to and from its *.MUX file. The two device kinds
// differ only in the functions named by their traits.
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "cli/cli_texts.h"
#include "cli/session.h"
#include "devices/common/config_file_io.h"
#include "devices/common/ini_file.h"
#include "devices/mux410/config_file.h"
#include "devices/mux410/transfer.h"
#include "devices/tpx520/config_file.h"
#include "devices/tpx520/transfer.h"
#include "i18n/added_texts.h"
#include "link/link_result.h"
#include "update/ldr_file.h"

namespace qvr::cli {

namespace {

constexpr int kMsgOpenFileError = 17;
constexpr int kMsgReadUnsupported = 56;
constexpr int kMsgWriteUnsupported = 57;
constexpr int kMsgReadConfigFailed = 67;
constexpr int kMsgWriteConfigFailed = 68;
constexpr int kMsgConfirmWrite = 72;

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
  static bool WriteFile(const std::string& p, Image& i, std::string* e) {
    return mux410::WriteConfigFile(p, i, e);
  }
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
  static bool WriteFile(const std::string& p, Image& i, std::string* e) {
    return tpx520::WriteConfigFile(p, i, e);
  }
  static ImageRefusal Prepare(Image& i) { return tpx520::PrepareForDevice(i); }
  static constexpr int kOtherPage = kPageMux410;
};

// A file of the other device shares some keys with this device's files (NAVI, MODE, the
// events); its own keys and the lack of this device's ones tell it apart.
bool OtherDevicesFile(const std::string& path, int otherPage) {
  auto mux = std::make_unique<mux410::ConfigImage>();
  auto tpx = std::make_unique<tpx520::ConfigImage>();
  const std::vector<ImageField> muxFields = mux410::ImageFields(*mux);
  const std::vector<ImageField> tpxFields = tpx520::ImageFields(*tpx);
  return otherPage == kPageTpx520 ? HoldsOtherDevicesKeys(path, muxFields, tpxFields)
                                  : HoldsOtherDevicesKeys(path, tpxFields, muxFields);
}

// "File "…", section […], key …=…: The value must be in the range from … to …", the value as
// the file holds it (the stored value when the key is missing or empty).
std::string RefusalText(const Catalogue& catalogue, const std::string& path,
                        const ImageRefusal& refusal, const std::vector<int>& eventSections) {
  const std::string section =
      refusal.section ? refusal.section
                      : "EVENT" + std::to_string(eventSections.at(size_t(refusal.slot)));
  IniFile ini;
  (void)ini.Load(path);
  std::string value = ini.GetString(section.c_str(), refusal.key);
  if (value.empty()) value = std::to_string(refusal.value);
  const std::string reason = RefusalRange(catalogue, refusal);
  return catalogue.FormatText(Text(catalogue, AddedText::kFileValueRefused), path.c_str(),
                              section.c_str(), refusal.key, value.c_str(), reason.c_str());
}

bool ReadableFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec) && std::ifstream(path).good();
}

template <typename Config>
int ReadToFile(Session& s, const DeviceModule& module, const std::string& path) {
  auto image = std::make_unique<typename Config::Image>();
  const LinkResult r = Config::ReadDevice(s.link, s.catalogue, module, *image);
  if (r != LinkOk) {
    s.host.Error(DeviceFailureText(s.catalogue, kMsgReadConfigFailed, module.name, r));
    return kExitFailure;
  }
  // The window's memo shows the device's name where there is no description and saves it as
  // one; the file keeps the name the same way.
  image->setDescription(image->shownDescription());
  std::string error;
  if (!Config::WriteFile(path, *image, &error)) {
    s.host.Error(s.catalogue.FormatText(Text(s.catalogue, CliText::kSaveFailed), path.c_str(),
                                        error.c_str()));
    return kExitFailure;
  }
  s.host.Note(s.catalogue.FormatText(Text(s.catalogue, CliText::kFileSaved), path.c_str()));
  return kExitOk;
}

template <typename Config>
int WriteFromFile(Session& s, const DeviceModule& module, const std::string& path) {
  // A file that cannot be read would load as the empty default configuration; never send that
  // in its place.
  if (!ReadableFile(path)) {
    std::string name, extension;
    SplitFileName(path, name, extension);
    s.host.Error(s.catalogue.Format(kMsgOpenFileError, name.c_str(), extension.c_str()));
    return kExitFailure;
  }
  if (OtherDevicesFile(path, Config::kOtherPage)) {
    s.host.Error(s.catalogue.FormatText(Text(s.catalogue, AddedText::kFileOfOtherDevice),
                                        path.c_str(), kDeviceModules[Config::kOtherPage].name,
                                        module.name));
    return kExitFailure;
  }
  auto image = std::make_unique<typename Config::Image>();
  std::vector<int> eventSections;
  Config::ReadFile(path, *image, &eventSections);
  // The same preparation and checks as the window's before its device write.
  if (const ImageRefusal refusal = Config::Prepare(*image)) {
    s.host.Error(RefusalText(s.catalogue, path, refusal, eventSections));
    return kExitFailure;
  }
  const int answer =
      s.host.ShowMessageBox(kBoxQuestion + kBoxDefaultNo, s.catalogue.Text(kMsgConfirmWrite));
  if (answer != kBoxResultYes) return Declined(s);
  const WriteWatch watch(s.link);
  const LinkResult r = Config::WriteDevice(s.link, s.catalogue, module, *image);
  if (r != LinkOk) {
    std::string text = DeviceFailureText(s.catalogue, kMsgWriteConfigFailed, module.name, r);
    if (watch.deviceChanged())
      text = WithAddedText(s.catalogue, text, AddedText::kConfigurationHalfWritten);
    s.host.Error(text);
    return kExitFailure;
  }
  s.host.Note(
      s.catalogue.FormatText(Text(s.catalogue, CliText::kConfigurationWritten), module.name));
  return kExitOk;
}

}  // namespace

int RunReadConfig(Session& s, const DeviceModule& module, const std::string& path) {
  if (&module == &kDeviceModules[kPageMux410]) return ReadToFile<Mux410Config>(s, module, path);
  if (&module == &kDeviceModules[kPageTpx520]) return ReadToFile<Tpx520Config>(s, module, path);
  s.host.Error(s.catalogue.Text(kMsgReadUnsupported));
  return kExitFailure;
}

int RunWriteConfig(Session& s, const DeviceModule& module, const std::string& path) {
  if (&module == &kDeviceModules[kPageMux410]) return WriteFromFile<Mux410Config>(s, module, path);
  if (&module == &kDeviceModules[kPageTpx520]) return WriteFromFile<Tpx520Config>(s, module, path);
  s.host.Error(s.catalogue.Text(kMsgWriteUnsupported));
  return kExitFailure;
}

}  // namespace qvr::cli
