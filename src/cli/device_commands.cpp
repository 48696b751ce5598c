// info, reset, default and update: the commands that need no configuration image.
#include "link/device_commands.h"
#include "cli/cli_texts.h"
#include "cli/session.h"
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

}  // namespace

int Declined(Session& s) {
  s.host.Error(Text(s.catalogue, CliText::kDeclinedNote));
  return kExitOk;
}

int RunInfo(Session& s, const DeviceModule& module) {
  DeviceInfo info;
  if (module.deviceAddress == kDeviceModules[kPageQvrb].deviceAddress) {
    // The controller is shown as the connection monitor announces it.
    const LinkResult r = ReadInfoBlock(s.link, module.deviceAddress, info);
    if (r != LinkOk) {
      s.host.Error(LinkResultText(s.catalogue, r));
      return kExitFailure;
    }
    s.host.LogLine(s.catalogue.Text(kMsgConnectedBanner));
    ShowControllerInfo(s.host, s.catalogue, info);
    return kExitOk;
  }
  const LinkResult r = ReadDeviceInfo(s.link, s.catalogue, module, info);
  if (r == LinkOk) return kExitOk;
  s.host.Error(DeviceFailureText(s.catalogue, kMsgReadFromDeviceError, module.name, r));
  return kExitFailure;
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
  const LinkResult r = ResetToDefault(s.link, s.catalogue, module);
  if (r != LinkOk) {
    s.host.Error(DeviceFailureText(s.catalogue, kMsgDefaultFailed, module.name, r));
    return kExitFailure;
  }
  if (s.prompter.declined()) return Declined(s);
  s.host.Note(s.catalogue.FormatText(Text(s.catalogue, CliText::kDefaultsRestored), module.name));
  return kExitOk;
}

int RunUpdate(Session& s, const DeviceModule& module, const std::string& path) {
  const UpdateFileChooser chooser{[&path] { return path; }, nullptr};
  const int result = UpdateFirmware(s.link, s.catalogue, module, chooser);
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
