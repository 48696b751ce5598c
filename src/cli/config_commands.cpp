// read and write: a device's configuration to and from its *.MUX file. The two device kinds
// differ only in the functions named by their traits.
#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <vector>

#include "cli/cli_texts.h"
#include "cli/config_diff.h"
#include "cli/config_traits.h"
#include "cli/json_text.h"
#include "cli/session.h"
#include "cli/temp_file.h"
#include "devices/common/config_file_io.h"
#include "devices/common/config_sections.h"
#include "devices/common/ini_file.h"
#include "editors/conversions.h"
#include "i18n/added_texts.h"
#include "i18n/cp1251.h"
#include "i18n/save_failure_text.h"
#include "link/link_result.h"
#include "platform/file_names.h"
#include "update/ldr_file.h"

namespace qvr::cli {

namespace {

constexpr int kMsgOpenFileError = 17;
constexpr int kMsgReadUnsupported = 56;
constexpr int kMsgWriteUnsupported = 57;
constexpr int kMsgReadConfigFailed = 67;
constexpr int kMsgWriteConfigFailed = 68;
constexpr int kMsgConfirmWrite = 72;
constexpr int kExitDiffTrouble = 2;  // as diff(1): 0 same, 1 different, 2 trouble
constexpr const char* kConfigSection = "CONFIGFILE";

// A configuration file to work on: a path, or what standard input held, kept aside; `shown` is
// how messages name it. Empty `path`: standard input could not be taken (the reason is said).
struct ConfigSource {
  std::string path;
  std::string shown;
  bool fromStdin = false;
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
std::string RefusalText(const Catalogue& catalogue, const ConfigSource& source,
                        const ImageRefusal& refusal, const std::vector<int>& eventSections) {
  const std::string section =
      refusal.section ? refusal.section
                      : "EVENT" + std::to_string(eventSections.at(size_t(refusal.slot)));
  IniFile ini;
  (void)ini.Load(source.path);
  std::string value = Cp1251ToUtf8(ini.GetString(section.c_str(), refusal.key));
  if (value.empty()) value = std::to_string(refusal.value);
  const std::string reason = RefusalRange(catalogue, refusal);
  return catalogue.FormatText(Text(catalogue, AddedText::kFileValueRefused), source.shown.c_str(),
                              section.c_str(), refusal.key, value.c_str(), reason.c_str());
}

bool ReadableFile(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path name = NativePath(path);
  return std::filesystem::is_regular_file(name, ec) && std::ifstream(name).good();
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
  // "-": the file is made aside and its bytes go to standard output.
  const bool toStdout = path == "-";
  const TempFile aside(".MUX");
  const std::string target = toStdout ? aside.path() : path;
  const SaveResult saved = Config::WriteFile(target, *image);
  if (!saved.ok()) {
    const std::string reason = SaveFailureText(s.catalogue, saved);
    s.host.Error(s.catalogue.FormatText(Text(s.catalogue, CliText::kSaveFailed), path.c_str(),
                                        reason.c_str()));
    return kExitFailure;
  }
  if (toStdout) {
    // The file's NAME comes from its own name, here a temporary one: the configuration's own
    // name stands there instead, as a write from standard input reads it back.
    IniFile ini;
    (void)ini.Load(aside.path());
    ini.SetString(kConfigSection, "NAME", image->configNameText());
    (void)ini.SaveAtomically(aside.path());
    s.host.WriteStdout(aside.Read());
    return kExitOk;
  }
  s.host.Note(s.catalogue.FormatText(Text(s.catalogue, CliText::kFileSaved), path.c_str()));
  return kExitOk;
}

// The file as a device write would send it (loaded, masked, checked), or null when it cannot
// be: the reason has been printed. `missingSections` names the sections the file lacks, which
// load as their defaults ("" when it has them all).
template <typename Config>
std::unique_ptr<typename Config::Image> LoadForDevice(Session& s, const DeviceModule& module,
                                                      const ConfigSource& source,
                                                      std::string& missingSections) {
  const std::string& path = source.path;
  // A file that cannot be read would load as the empty default configuration; never send that
  // in its place.
  if (!ReadableFile(path)) {
    std::string name = source.shown, extension;
    if (!source.fromStdin) SplitFileName(path, name, extension);
    s.host.Error(s.catalogue.Format(kMsgOpenFileError, name.c_str(), extension.c_str()));
    return nullptr;
  }
  if (OtherDevicesFile(path, Config::kOtherPage)) {
    s.host.Error(s.catalogue.FormatText(Text(s.catalogue, AddedText::kFileOfOtherDevice),
                                        source.shown.c_str(),
                                        kDeviceModules[Config::kOtherPage].name, module.name));
    return nullptr;
  }
  auto image = std::make_unique<typename Config::Image>();
  const ConfigSectionCheck sections =
      CheckConfigSections(s.catalogue, path, module.name, Config::Fields(*image),
                          image->events.capacity(), source.shown);
  if (sections.refused()) {
    s.host.Error(sections.message);
    return nullptr;
  }
  missingSections = sections.message;
  std::vector<int> eventSections;
  Config::ReadFile(path, *image, &eventSections);
  // Standard input has no file name to name the configuration: the name it was saved under
  // stands in the file, kept to what the window would send.
  if (source.fromStdin) {
    IniFile ini;
    (void)ini.Load(path);
    image->setConfigName(ConfigNameFromText(ini.GetString(kConfigSection, "NAME")));
  }
  // The same preparation and checks as the window's before its device write.
  if (const ImageRefusal refusal = Config::Prepare(*image)) {
    s.host.Error(RefusalText(s.catalogue, source, refusal, eventSections));
    return nullptr;
  }
  return image;
}

template <typename Config>
int WriteFromFile(Session& s, const DeviceModule& module, const ConfigSource& source) {
  std::string missingSections;
  auto image = LoadForDevice<Config>(s, module, source, missingSections);
  if (!image) return kExitFailure;
  // The missing sections would be sent as their defaults: asked first, declined without a
  // terminal.
  if (!missingSections.empty()) {
    const std::string question =
        missingSections + "\n" + Text(s.catalogue, AddedText::kWriteWithMissingSections);
    if (s.host.ShowMessageBox(kBoxQuestion + kBoxDefaultNo, question) != kBoxResultYes)
      return Declined(s);
  }
  const int answer =
      s.host.ShowMessageBox(kBoxQuestion + kBoxDefaultNo, s.catalogue.Text(kMsgConfirmWrite));
  if (answer != kBoxResultYes) return Declined(s);
  if (const int backup = BackupBeforeChange(s, module); backup != kExitOk) return backup;
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

// The device's configuration and the file's, both as the program writes them, key by key.
template <typename Config>
int DiffWithFile(Session& s, const DeviceModule& module, const ConfigSource& source,
                 const std::string& shownPath) {
  std::string missingSections;
  auto fromFile = LoadForDevice<Config>(s, module, source, missingSections);
  if (!fromFile) return kExitDiffTrouble;
  if (!missingSections.empty()) s.host.Remark(missingSections);
  auto fromDevice = std::make_unique<typename Config::Image>();
  const LinkResult r = Config::ReadDevice(s.link, s.catalogue, module, *fromDevice);
  if (r != LinkOk) {
    s.host.Error(DeviceFailureText(s.catalogue, kMsgReadConfigFailed, module.name, r));
    return kExitDiffTrouble;
  }
  fromDevice->setDescription(fromDevice->shownDescription());
  const TempFile deviceText(".MUX"), fileText(".MUX");
  for (const auto& [text, image] :
       {std::pair{&deviceText, fromDevice.get()}, std::pair{&fileText, fromFile.get()}}) {
    const SaveResult saved = Config::WriteFile(text->path(), *image);
    if (!saved.ok()) {
      s.host.Error(SaveFailureText(s.catalogue, saved));
      return kExitDiffTrouble;
    }
  }
  // The files' NAME comes from their own (temporary) names; the names that count are the
  // device's and the one a write of the file would give it.
  std::vector<KeyDifference> differences = CompareConfigTexts(deviceText.Read(), fileText.Read());
  std::erase_if(differences, [](const KeyDifference& d) {
    return d.section == kConfigSection && d.key == "NAME";
  });
  if (fromDevice->configNameText() != fromFile->configNameText())
    differences.insert(differences.begin(), {kConfigSection, "NAME", fromDevice->configNameText(),
                                             fromFile->configNameText()});
  for (const KeyDifference& d : differences) {
    const std::string device = Cp1251ToUtf8(d.device), file = Cp1251ToUtf8(d.file);
    s.host.Json(JsonText(nlohmann::json{
        {"section", d.section}, {"key", d.key}, {"device", device}, {"file", file}}));
    s.host.Note("[" + d.section + "] " + d.key + ": " + device + " | " + file);
  }
  if (differences.empty())
    s.host.Note(s.catalogue.FormatText(Text(s.catalogue, CliText::kDiffSame), module.name,
                                       shownPath.c_str()));
  return differences.empty() ? kExitOk : kExitFailure;
}

// "-": the configuration comes from standard input, kept aside while the command works on it;
// no more of it is taken than a configuration file may hold.
ConfigSource SourceFile(Session& s, const std::string& path, const TempFile& aside) {
  if (path != "-") return {path, path, false};
  const std::string shown = Text(s.catalogue, AddedText::kStandardInput);
  std::string bytes;
  if (!ReadBounded(s.in, kMaxIniFileSize, bytes)) {
    s.host.Error(s.catalogue.FormatText(Text(s.catalogue, AddedText::kStandardInputTooLarge),
                                        unsigned(kMaxIniFileSize)));
    return {{}, shown, true};
  }
  if (!aside.Write(bytes)) {
    s.host.Error(s.catalogue.Format(kMsgOpenFileError, shown.c_str(), ""));
    return {{}, shown, true};
  }
  return {aside.path(), shown, true};
}

}  // namespace

int RunDiff(Session& s, const DeviceModule& module, const std::string& path) {
  const TempFile aside(".MUX");
  const ConfigSource source = SourceFile(s, path, aside);
  if (source.path.empty()) return kExitDiffTrouble;
  return WithConfigTraits(
      module,
      [&]<typename Config>() { return DiffWithFile<Config>(s, module, source, source.shown); },
      [&] {
        s.host.Error(s.catalogue.Text(kMsgReadUnsupported));
        return kExitDiffTrouble;
      });
}

int RunReadConfig(Session& s, const DeviceModule& module, const std::string& path) {
  return WithConfigTraits(
      module, [&]<typename Config>() { return ReadToFile<Config>(s, module, path); },
      [&] {
        s.host.Error(s.catalogue.Text(kMsgReadUnsupported));
        return kExitFailure;
      });
}

int RunWriteConfig(Session& s, const DeviceModule& module, const std::string& path) {
  const TempFile aside(".MUX");
  const ConfigSource source = SourceFile(s, path, aside);
  if (source.path.empty()) return kExitFailure;
  return WithConfigTraits(
      module, [&]<typename Config>() { return WriteFromFile<Config>(s, module, source); },
      [&] {
        s.host.Error(s.catalogue.Text(kMsgWriteUnsupported));
        return kExitFailure;
      });
}

}  // namespace qvr::cli
