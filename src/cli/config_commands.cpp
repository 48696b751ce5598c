// read and write: a device's configuration to and from its *.MUX file. The two device kinds
// differ only in the functions named by their traits.
#include <filesystem>
#include <fstream>
#include <memory>

#include "cli/cli_texts.h"
#include "cli/session.h"
#include "devices/common/config_sections.h"
#include "devices/mux410/config_file.h"
#include "devices/mux410/transfer.h"
#include "devices/tpx520/config_file.h"
#include "devices/tpx520/transfer.h"
#include "i18n/added_texts.h"
#include "i18n/save_failure_text.h"
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
  static void ReadFile(const std::string& p, Image& i) { mux410::ReadConfigFile(p, i); }
  static SaveResult WriteFile(const std::string& p, Image& i) {
    return mux410::WriteConfigFile(p, i);
  }
  static std::string Check(const Catalogue& c, Image& i) { return mux410::CheckImage(c, i); }
  static std::vector<ImageField> Fields(Image& i) { return mux410::ImageFields(i); }
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
  static void ReadFile(const std::string& p, Image& i) { tpx520::ReadConfigFile(p, i); }
  static SaveResult WriteFile(const std::string& p, Image& i) {
    return tpx520::WriteConfigFile(p, i);
  }
  static std::string Check(const Catalogue& c, Image& i) { return tpx520::CheckImage(c, i); }
  static std::vector<ImageField> Fields(Image& i) { return tpx520::ImageFields(i); }
};

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
  const SaveResult saved = Config::WriteFile(path, *image);
  if (!saved.ok()) {
    const std::string reason = SaveFailureText(s.catalogue, saved);
    s.host.Error(s.catalogue.FormatText(Text(s.catalogue, CliText::kSaveFailed), path.c_str(),
                                        reason.c_str()));
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
  auto image = std::make_unique<typename Config::Image>();
  const ConfigSectionCheck sections = CheckConfigSections(
      s.catalogue, path, module.name, Config::Fields(*image), image->events.capacity());
  if (sections.refused()) {
    s.host.Error(sections.message);
    return kExitFailure;
  }
  Config::ReadFile(path, *image);
  const std::string refusal = Config::Check(s.catalogue, *image);
  if (!refusal.empty()) {
    s.host.Error(refusal);
    return kExitFailure;
  }
  // The missing sections would be sent as their defaults: asked first, declined without a
  // terminal.
  if (!sections.message.empty()) {
    const std::string question =
        sections.message + "\n" + Text(s.catalogue, AddedText::kWriteWithMissingSections);
    if (s.host.ShowMessageBox(kBoxQuestion + kBoxDefaultNo, question) != kBoxResultYes)
      return Declined(s);
  }
  const int answer =
      s.host.ShowMessageBox(kBoxQuestion + kBoxDefaultNo, s.catalogue.Text(kMsgConfirmWrite));
  if (answer != kBoxResultYes) return Declined(s);
  const LinkResult r = Config::WriteDevice(s.link, s.catalogue, module, *image);
  if (r != LinkOk) {
    s.host.Error(DeviceFailureText(s.catalogue, kMsgWriteConfigFailed, module.name, r));
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
