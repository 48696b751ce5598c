// info, reset, default and update: the commands that need no configuration image.
#include "link/device_commands.h"
#include "cli/cli_texts.h"
#include "cli/json_objects.h"
#include "cli/session.h"
#include "i18n/added_texts.h"
#include "link/device_info.h"
#include "link/link_result.h"
#include "update/update_procedure.h"

namespace qvr::cli {

namespace {

constexpr int kMsgConnectedBanner = 5;
constexpr int kMsgOpenFileError = 17;
constexpr int kMsgReadFromDeviceError = 48;
constexpr int kMsgDefaultUnsupported = 58;
constexpr int kMsgDefaultFailed = 65;
constexpr int kMsgResetFailed = 78;
constexpr int kMsgSameVersion = 28;
constexpr int kMsgOlderVersion = 29;

}  // namespace

int Declined(Session& s) {
  s.host.Error(Text(s.catalogue, CliText::kDeclinedNote));
  return kExitDeclined;
}

int RunInfo(Session& s, const DeviceModule& module) {
  DeviceInfo info;
  const bool controller = module.deviceAddress == kDeviceModules[kPageQvrb].deviceAddress;
  // The controller is shown as the connection monitor announces it.
  const LinkResult r = controller ? ReadInfoBlock(s.link, module.deviceAddress, info)
                                  : ReadDeviceInfo(s.link, s.host, s.catalogue, module, info);
  if (r != LinkOk) {
    s.host.Error(controller
                     ? LinkResultText(s.catalogue, r)
                     : DeviceFailureText(s.catalogue, kMsgReadFromDeviceError, module.name, r));
    return kExitFailure;
  }
  if (controller) {
    s.host.LogLine(s.catalogue.Text(kMsgConnectedBanner));
    ShowControllerInfo(s.host, s.catalogue, info);
  }
  s.host.fields()["identity"] = InfoObject(info);
  return kExitOk;
}

int RunReset(Session& s, const DeviceModule& module) {
  const LinkResult r = ResetDevice(s.link, module);
  if (r != LinkOk) {
    s.host.Error(DeviceFailureText(s.catalogue, kMsgResetFailed, module.name, r));
    return kExitFailure;
  }
  s.host.Note(s.catalogue.FormatText(Text(s.catalogue, CliText::kDeviceReset), module.name));
  return kExitOk;
}

int RunDefault(Session& s, const DeviceModule& module) {
  if (module.deviceAddress == kDeviceModules[kPageQvrb].deviceAddress) {
    s.host.Error(s.catalogue.Text(kMsgDefaultUnsupported));
    return kExitFailure;
  }
  int backup = kExitOk;
  const LinkResult r = ResetToDefault(s.link, s.host, s.catalogue, module, [&] {
    backup = BackupBeforeChange(s, module);
    return backup == kExitOk ? LinkOk : LinkExchangeFailed;
  });
  if (backup != kExitOk) return backup;  // said already, nothing sent
  if (r != LinkOk) {
    s.host.Error(DeviceFailureText(s.catalogue, kMsgDefaultFailed, module.name, r));
    return kExitFailure;
  }
  if (s.prompter.declined()) return Declined(s);
  s.host.Note(s.catalogue.FormatText(Text(s.catalogue, CliText::kDefaultsRestored), module.name));
  return kExitOk;
}

int RunUpdate(Session& s, const DeviceModule& module, const std::string& path) {
  // A newer file asks nothing in the procedure: a script still has to say --yes.
  const std::string question = s.catalogue.FormatText(Text(s.catalogue, AddedText::kConfirmUpdate),
                                                      module.name, path.c_str());
  if (!s.prompter.Ask(question)) return Declined(s);
  s.host.OverrideQuestion(s.catalogue.Text(kMsgSameVersion), s.options.allowReinstall,
                          "--allow-reinstall");
  s.host.OverrideQuestion(s.catalogue.Text(kMsgOlderVersion), s.options.allowOlder,
                          "--allow-older");
  const UpdateFileChooser chooser{[&path] { return path; }, nullptr};
  const int result = UpdateFirmware(s.link, s.host, s.catalogue, module, chooser);
  if (result == 1) return kExitOk;
  if (result == 0) {  // only an empty path cancels the choice
    s.host.Error(s.catalogue.Format(kMsgOpenFileError, "", ""));
    return kExitFailure;
  }
  // The procedure has shown its refusal or failure already; a No to its question is not one.
  if (s.prompter.declined()) return Declined(s);
  return kExitFailure;
}

}  // namespace qvr::cli
