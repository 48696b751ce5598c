// read and write: a device's configuration to and from its *.MUX file. The two device kinds
// differ only in the functions named by their traits.
#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <vector>

#include "cli/cli_texts.h"
#include "cli/config_diff.h"
#include "cli/session.h"
#include "cli/temp_file.h"
#include "cli/value_changes.h"
#include "devices/backup/change_recorder.h"
#include "devices/common/config_file_io.h"
#include "devices/common/config_sections.h"
#include "devices/common/device_commands.h"
#include "devices/common/ini_file.h"
#include "devices/drivers/device_drivers.h"
#include "devices/drivers/other_devices_file.h"
#include "editors/conversions.h"
#include "i18n/added_texts.h"
#include "i18n/cp1251.h"
#include "i18n/save_failure_text.h"
#include "link/link_result.h"
#include "link/restart_wait.h"
#include "platform/file_names.h"
#include "platform/file_read.h"
#include "update/ldr_file.h"

namespace qvr::cli {

namespace {

constexpr const char* kConfigSection = "CONFIGFILE";

// A configuration file to work on: what the file or standard input held, read once and kept
// aside, so that the file's later edits never mix into what is checked and sent; `shown` is how
// messages name it. Empty `path`: standard input could not be taken (the reason is said).
struct ConfigSource {
  std::string path;
  std::string shown;        // the file as messages name it ("standard input" for "-")
  bool fromStdin = false;   // `path` holds what standard input held
  bool nameInFile = false;  // the name comes from NAME (standard input, a backup), not the path
  std::string namedBy;      // the file whose name names the configuration, when kept aside
};

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

// The unit's configuration, or none after saying why it could not be read.
template <typename Image>
std::unique_ptr<Image> ReadUnit(Session& s, const ConfigDriver<Image>& driver,
                                const DeviceModule& module) {
  auto image = std::make_unique<Image>();
  const TransferResult r = driver.readDevice(s.link, s.host, s.catalogue, module, *image);
  if (r == LinkOk) return image;
  s.host.Error(DeviceFailureText(s.catalogue, MessageId::kConfigurationReadFailed, module.name, r));
  return nullptr;
}

template <typename Image>
int ReadToFile(Session& s, const ConfigDriver<Image>& driver, const DeviceModule& module,
               const std::string& path) {
  auto image = ReadUnit(s, driver, module);
  if (!image) return kExitFailure;
  // The window's memo shows the device's name where there is no description and saves it as
  // one; the file keeps the name the same way.
  image->setDescription(image->shownDescription());
  // "-": the file is made aside and its bytes go to standard output.
  const bool toStdout = path == "-";
  const TempFile aside(".MUX");
  const std::string target = toStdout ? aside.path() : path;
  const SaveResult saved = driver.writeFile(target, *image);
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
    // The configuration is the command's result: losing it on the way out is a failure.
    if (std::string reason; !s.host.WriteStdout(aside.Read(), &reason)) {
      s.host.Error(
          s.catalogue.FormatText(Text(s.catalogue, AddedText::kOutputFailed), reason.c_str()));
      return kExitFailure;
    }
    return kExitOk;
  }
  s.host.Note(s.catalogue.FormatText(Text(s.catalogue, CliText::kFileSaved), path.c_str()));
  return kExitOk;
}

// The file as a device write would send it (loaded, masked, checked), or null when it cannot
// be: the reason has been printed. `missingSections` names the sections the file lacks, which
// load as their defaults ("" when it has them all).
// Says each value the unit will hold otherwise than the file (a warning; the values are still
// sent as the file format defines) and lists them in the JSON object; returns how many.
size_t SayValueChanges(Session& s, const ConfigSource& source, std::span<const ImageField> fields,
                       const EventTable& events, const std::vector<int>& eventSections) {
  const std::vector<ValueChange> changes =
      ValuesChangedOnTheWay(source.path, fields, events, eventSections);
  nlohmann::json listed = nlohmann::json::array();
  for (const ValueChange& change : changes) {
    s.host.Remark(ValueChangeText(s.catalogue, source.shown, change));
    listed.push_back({{"section", change.section},
                      {"key", change.key},
                      {"file", change.file},
                      {"unit", change.unit}});
  }
  s.host.fields()["changed"] = listed;
  return changes.size();
}

template <typename Image>
std::unique_ptr<Image> LoadForDevice(Session& s, const ConfigDriver<Image>& driver,
                                     const DeviceModule& module, const ConfigSource& source,
                                     std::string& missingSections, size_t& changedValues) {
  const std::string& path = source.path;
  // A file that cannot be read would load as the empty default configuration; never send that
  // in its place.
  if (!ReadableFile(path)) {
    std::string name = source.shown, extension;
    if (!source.fromStdin) SplitFileName(source.shown, name, extension);
    s.host.Error(s.catalogue.Format(MessageId::kFileOpenFailed, name.c_str(), extension.c_str()));
    return nullptr;
  }
  if (const DeviceModule* other = OtherDevicesFile(path, module)) {
    s.host.Error(s.catalogue.FormatText(Text(s.catalogue, AddedText::kFileOfOtherDevice),
                                        source.shown.c_str(), other->name, module.name));
    return nullptr;
  }
  auto image = std::make_unique<Image>();
  const ConfigSectionCheck sections =
      CheckConfigSections(s.catalogue, path, module.name, driver.fields(*image),
                          image->events.capacity(), source.shown);
  if (sections.refused()) {
    s.host.Error(sections.message);
    return nullptr;
  }
  missingSections = sections.message;
  std::vector<int> eventSections;
  driver.readFile(path, *image, &eventSections);
  // Standard input has no file name to name the configuration, and a backup keeps the unit's
  // name whatever its file is called: the name it was saved under stands in the file, kept to
  // what the window would send.
  if (source.nameInFile) {
    IniFile ini;
    (void)ini.Load(path);
    image->setConfigName(ConfigNameFromText(ini.GetString(kConfigSection, "NAME")));
  } else if (!source.namedBy.empty()) {
    image->setConfigName(ConfigNameFromPath(source.namedBy));
  }
  // The same preparation and checks as the window's before its device write.
  if (const ImageRefusal refusal = driver.prepareForDevice(*image)) {
    s.host.Error(RefusalText(s.catalogue, source, refusal, eventSections));
    return nullptr;
  }
  changedValues = SayValueChanges(s, source, driver.fields(*image), image->events, eventSections);
  return image;
}

// The differences between two images of one device kind, key by key.
template <typename Image>
std::vector<KeyDifference> Differences(const ConfigDriver<Image>& driver, Image& device,
                                       Image& file) {
  const std::vector<ImageField> deviceFields = driver.fields(device);
  const std::vector<ImageField> fileFields = driver.fields(file);
  return CompareImages({device, deviceFields, device.events}, {file, fileFields, file.events});
}

void ShowDifference(Session& s, const KeyDifference& d, bool toErrors) {
  const std::string line = "[" + d.section + "] " + d.key + ": " + d.device + " | " + d.file;
  if (toErrors) {
    s.host.Remark(line);
  } else {
    s.host.Note(line);
  }
}

// The JSON fields every write carries: whether it went through, whether its read-back showed
// the unit holding what was sent, and when not, why ("not-written", "skipped", "no-answer",
// "read-failed", "differs").
void SetWriteFields(Session& s, bool written, const char* verifyError) {
  nlohmann::json& fields = s.host.fields();
  fields["written"] = written;
  fields["verified"] = verifyError == nullptr;
  if (verifyError)
    fields["verify_error"] = verifyError;
  else
    fields.erase("verify_error");
}

// The write went through; only its check could not be made.
int NotChecked(Session& s, const DeviceModule& module, const char* verifyError,
               const std::string& reason) {
  SetWriteFields(s, true, verifyError);
  s.host.Error(s.catalogue.FormatText(Text(s.catalogue, AddedText::kWriteNotChecked), module.name) +
               "\n" + reason);
  return kExitFailure;
}

// Reads the configuration back after a write and compares what reaches the unit: a device
// that acknowledged every block but keeps something else must not pass as written. The write
// ended with the unit's restart, which keeps it silent for a while: only a silence beyond
// that leaves the write unchecked.
template <typename Image>
int VerifyWrite(Session& s, const ConfigDriver<Image>& driver, const DeviceModule& module,
                Image& sent) {
  DeviceInfo restarted;
  const LinkResult answer =
      AwaitIdentification(s.link, s.host, module.deviceAddress, kRestartAnswerWaitMs, restarted);
  if (answer == LinkAdapterBusy || answer == LinkAdapterNotReserved)
    return NotChecked(s, module, "no-answer", LinkResultText(s.catalogue, answer));
  if (answer != LinkOk)
    return NotChecked(s, module, "no-answer",
                      Text(s.catalogue, AddedText::kUnitSilentSinceRestart));
  auto back = std::make_unique<Image>();
  const TransferResult read = driver.readDevice(s.link, s.host, s.catalogue, module, *back);
  if (read != LinkOk)
    return NotChecked(
        s, module, "read-failed",
        WithTransferPlace(s.catalogue, LinkResultText(s.catalogue, read.code()), read));
  const bool same = driver.unitBytes(*back, sent) == driver.unitBytes(sent, sent);
  SetWriteFields(s, true, same ? nullptr : "differs");
  if (same) {
    s.host.Note(s.catalogue.FormatText(Text(s.catalogue, AddedText::kVerified), module.name));
    return kExitOk;
  }
  s.host.Error(s.catalogue.FormatText(Text(s.catalogue, AddedText::kVerifyFailed), module.name));
  for (const KeyDifference& d : Differences(driver, *back, sent))
    if (d.kind != DifferenceKind::kDescription) ShowDifference(s, d, true);
  return kExitFailure;
}

// The write's question, the backup of what the unit holds, the write and its read-back.
template <typename Image>
int SendImage(Session& s, const ConfigDriver<Image>& driver, const DeviceModule& module,
              Image& image) {
  const BoxAnswer answer = s.host.ShowMessageBox(BoxStyle{BoxKind::kQuestion, DefaultButton::kNo},
                                                 s.catalogue.Text(MessageId::kWriteQuestion));
  if (answer != BoxAnswer::kYes) return Declined(s);
  if (const int backup = BackupBeforeChange(s, module); backup != kExitOk) return backup;
  const WriteWatch watch(s.link);
  const TransferResult r = driver.writeDevice(s.link, s.host, s.catalogue, module, image);
  if (r != LinkOk) {
    std::string text =
        DeviceFailureText(s.catalogue, MessageId::kConfigurationWriteFailed, module.name, r);
    if (watch.deviceChanged())
      text = WithAddedText(s.catalogue, text,
                           OnlyRestartRefused(watch) ? AddedText::kRestartRefused
                                                     : AddedText::kConfigurationHalfWritten);
    s.host.Error(text);
    return kExitFailure;
  }
  s.host.Note(
      s.catalogue.FormatText(Text(s.catalogue, CliText::kConfigurationWritten), module.name));
  SetWriteFields(s, true, "skipped");
  if (s.options.noVerify) return kExitOk;
  return VerifyWrite(s, driver, module, image);
}

template <typename Image>
int WriteFromFile(Session& s, const ConfigDriver<Image>& driver, const DeviceModule& module,
                  const ConfigSource& source) {
  std::string missingSections;
  size_t changedValues = 0;
  auto image = LoadForDevice(s, driver, module, source, missingSections, changedValues);
  if (!image) return kExitFailure;
  if (changedValues > 0 && s.options.strict) {
    s.host.Error(Text(s.catalogue, AddedText::kStrictRefused));
    return kExitFailure;
  }
  // The missing sections would be sent as their defaults: asked first, declined without a
  // terminal.
  if (!missingSections.empty()) {
    const std::string question =
        missingSections + "\n" + Text(s.catalogue, AddedText::kWriteWithMissingSections);
    if (!s.prompter.AskOverride(question, s.options.allowMissingSections,
                                "--allow-missing-sections"))
      return Declined(s);
  }
  return SendImage(s, driver, module, *image);
}

// What a write of the file would change on the device, key by key; the name and the
// descriptions, which do not decide how the unit works, only with --all.
template <typename Image>
int DiffWithFile(Session& s, const ConfigDriver<Image>& driver, const DeviceModule& module,
                 const ConfigSource& source, const std::string& shownPath) {
  std::string missingSections;
  size_t changedValues = 0;
  auto fromFile = LoadForDevice(s, driver, module, source, missingSections, changedValues);
  if (!fromFile) return kExitDiffTrouble;
  if (!missingSections.empty()) s.host.Remark(missingSections);
  const auto fromDevice = ReadUnit(s, driver, module);
  if (!fromDevice) return kExitDiffTrouble;
  int counted = 0, apart = 0;
  nlohmann::json listed = nlohmann::json::array();
  for (const KeyDifference& d : Differences(driver, *fromDevice, *fromFile)) {
    const bool counts = d.kind == DifferenceKind::kParameter;
    counts ? ++counted : ++apart;
    if (!counts && !s.options.showAll) continue;
    listed.push_back({{"section", d.section},
                      {"key", d.key},
                      {"unit", d.device},
                      {"file", d.file},
                      {"counted", counts}});
    ShowDifference(s, d, false);
  }
  s.host.fields()["differences"] = listed;
  s.host.fields()["uncounted"] = apart;
  if (counted == 0)
    s.host.Note(s.catalogue.FormatText(Text(s.catalogue, CliText::kDiffSame), module.name,
                                       shownPath.c_str()));
  if (apart > 0 && !s.options.showAll)
    s.host.Remark(s.catalogue.FormatText(Text(s.catalogue, AddedText::kDiffApart), apart));
  return counted == 0 ? kExitOk : kExitFailure;
}

// "-": the configuration comes from standard input, kept aside while the command works on it;
// no more of it is taken than a configuration file may hold. A file is kept aside too, read
// once; one that cannot be read is left where it is, for the checks to say why.
ConfigSource SourceFile(Session& s, const std::string& path, const TempFile& aside,
                        bool nameInFile = false) {
  std::string bytes;
  if (path != "-") {
    bool tooLarge = false;
    if (!ReadRegularFile(path, kMaxIniFileSize, bytes, tooLarge) || !aside.Write(bytes))
      return {path, path, false, nameInFile, {}};
    if (s.change) s.change->SetFile(path, bytes);
    return {aside.path(), path, false, nameInFile, path};
  }
  const std::string shown = Text(s.catalogue, AddedText::kStandardInput);
  if (!ReadBounded(s.in, kMaxIniFileSize, bytes)) {
    s.host.Error(s.catalogue.FormatText(Text(s.catalogue, AddedText::kStandardInputTooLarge),
                                        unsigned(kMaxIniFileSize)));
    return {{}, shown, true, true, {}};
  }
  if (!aside.Write(bytes)) {
    s.host.Error(s.catalogue.Format(MessageId::kFileOpenFailed, shown.c_str(), ""));
    return {{}, shown, true, true, {}};
  }
  if (s.change) s.change->SetFile(path, bytes);
  return {aside.path(), shown, true, true, {}};
}

}  // namespace

// The file as a write would send it, without a device: 0 when it reaches the unit as it is,
// 1 when a value would change (or the file is refused).
template <typename Image>
int CheckFile(Session& s, const ConfigDriver<Image>& driver, const DeviceModule& module,
              const ConfigSource& source) {
  std::string missingSections;
  size_t changedValues = 0;
  auto image = LoadForDevice(s, driver, module, source, missingSections, changedValues);
  if (!image) return kExitFailure;
  if (!missingSections.empty()) s.host.Remark(missingSections);
  if (changedValues > 0) return kExitFailure;
  s.host.Note(s.catalogue.FormatText(Text(s.catalogue, AddedText::kCheckClean),
                                     source.shown.c_str(), module.name));
  return kExitOk;
}

int RunCheck(Session& s, const std::string& device, const std::string& path) {
  const TempFile aside(".MUX");
  const ConfigSource source = SourceFile(s, path, aside);
  if (source.path.empty()) return kExitFailure;
  // Without a device named, the file's own keys tell which device it is for: the first
  // configured kind's unless they are another's.
  const DeviceModule& first = *FirstConfiguredDriver().module;
  const DeviceDriver* named = DriverNamed(device);
  const DeviceModule* other =
      !named && ReadableFile(source.path) ? OtherDevicesFile(source.path, first) : nullptr;
  const DeviceModule& module = named ? *named->module : other ? *other : first;
  s.host.fields()["target"] = module.name;
  return WithConfigDriver(
      module, [&](const auto& driver) { return CheckFile(s, driver, module, source); },
      [] { return kExitFailure; });
}

int RunDiff(Session& s, const DeviceModule& module, const std::string& path) {
  const TempFile aside(".MUX");
  const ConfigSource source = SourceFile(s, path, aside);
  if (source.path.empty()) return kExitDiffTrouble;
  return WithConfigDriver(
      module,
      [&](const auto& driver) { return DiffWithFile(s, driver, module, source, source.shown); },
      [&] {
        s.host.Error(s.catalogue.Text(MessageId::kReadDeviceNotSupported));
        return kExitDiffTrouble;
      });
}

int RunReadConfig(Session& s, const DeviceModule& module, const std::string& path) {
  return WithConfigDriver(
      module, [&](const auto& driver) { return ReadToFile(s, driver, module, path); },
      [&] {
        s.host.Error(s.catalogue.Text(MessageId::kReadDeviceNotSupported));
        return kExitFailure;
      });
}

int RunRestoreFile(Session& s, const DeviceModule& module, const std::string& path) {
  SetWriteFields(s, false, "not-written");
  const TempFile aside(".MUX");
  const ConfigSource source = SourceFile(s, path, aside, true);
  return WithConfigDriver(
      module, [&](const auto& driver) { return WriteFromFile(s, driver, module, source); },
      [&] {
        s.host.Error(s.catalogue.Text(MessageId::kWriteDeviceNotSupported));
        return kExitFailure;
      });
}

int RunRestoreRawImage(Session& s, const DeviceModule& module, const RawImage& raw,
                       const std::string& shownPath) {
  SetWriteFields(s, false, "not-written");
  return WithConfigDriver(
      module,
      [&](const auto& driver) {
        // The unit held these bytes: they go back as they are, without the file's checks.
        auto image = std::make_unique<typename std::decay_t<decltype(driver)>::Image>();
        if (raw.device != module.name || !ImageFromUnitBytes(driver, raw, *image)) {
          s.host.Error(s.catalogue.FormatText(Text(s.catalogue, AddedText::kRawImageDamaged),
                                              shownPath.c_str()));
          return kExitFailure;
        }
        return SendImage(s, driver, module, *image);
      },
      [&] {
        s.host.Error(s.catalogue.Text(MessageId::kWriteDeviceNotSupported));
        return kExitFailure;
      });
}

int RunWriteConfig(Session& s, const DeviceModule& module, const std::string& path) {
  SetWriteFields(s, false, "not-written");
  const TempFile aside(".MUX");
  const ConfigSource source = SourceFile(s, path, aside);
  if (source.path.empty()) return kExitFailure;
  return WithConfigDriver(
      module, [&](const auto& driver) { return WriteFromFile(s, driver, module, source); },
      [&] {
        s.host.Error(s.catalogue.Text(MessageId::kWriteDeviceNotSupported));
        return kExitFailure;
      });
}

}  // namespace qvr::cli
