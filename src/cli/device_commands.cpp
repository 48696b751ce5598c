// info, reset, default and update: the commands that need no configuration image.
#include "devices/common/device_commands.h"
#include "cli/cli_texts.h"
#include "cli/json_objects.h"
#include "cli/session.h"
#include "devices/backup/change_recorder.h"
#include "i18n/added_texts.h"
#include "link/device_info.h"
#include "link/link_result.h"
#include "update/update_procedure.h"

namespace qvr::cli {

int Declined(Session& s) {
  s.host.Error(Text(s.catalogue, CliText::kDeclinedNote));
  return kExitDeclined;
}

int RunInfo(Session& s, const DeviceModule& module) {
  DeviceInfo info;
  const bool controller = module.IsController();
  // The controller is shown as the connection monitor announces it.
  const LinkResult r = controller ? ReadInfoBlock(s.link, module.deviceAddress, info)
                                  : ReadDeviceInfo(s.link, s.host, s.catalogue, module, info);
  if (r != LinkOk) {
    s.host.Error(
        controller ? LinkResultText(s.catalogue, r)
                   : DeviceFailureText(s.catalogue, MessageId::kDeviceReadFailed, module.name, r));
    return kExitFailure;
  }
  if (controller) {
    s.host.LogLine(s.catalogue.Text(MessageId::kConnectedBanner));
    ShowControllerInfo(s.host, s.catalogue, info);
  }
  s.host.fields()["identity"] = InfoObject(info);
  return kExitOk;
}

int RunReset(Session& s, const DeviceModule& module) {
  const LinkResult r = ResetDevice(s.link, module);
  if (r != LinkOk) {
    s.host.Error(DeviceFailureText(s.catalogue, MessageId::kResetFailed, module.name, r));
    return kExitFailure;
  }
  s.host.Note(s.catalogue.FormatText(Text(s.catalogue, CliText::kDeviceReset), module.name));
  return kExitOk;
}

int RunDefault(Session& s, const DeviceModule& module) {
  if (module.IsController()) {
    s.host.Error(s.catalogue.Text(MessageId::kDefaultNotSupported));
    return kExitFailure;
  }
  int backup = kExitOk;
  const LinkResult r = ResetToDefault(s.link, s.host, s.catalogue, module, [&] {
    backup = BackupBeforeChange(s, module);
    return backup == kExitOk ? LinkOk : LinkExchangeFailed;
  });
  if (backup != kExitOk) return backup;  // said already, nothing sent
  if (r != LinkOk) {
    s.host.Error(DeviceFailureText(s.catalogue, MessageId::kDefaultFailed, module.name, r));
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
  s.host.OverrideQuestion(s.catalogue.Text(MessageId::kUpdateSameVersion), s.options.allowReinstall,
                          "--allow-reinstall");
  s.host.OverrideQuestion(s.catalogue.Text(MessageId::kUpdateOlderVersion), s.options.allowOlder,
                          "--allow-older");
  const UpdateFileChooser chooser{
      [&path] { return path; }, nullptr,
      [&s](const std::string& file, const std::vector<uint8_t>& bytes) {
        if (s.change)
          s.change->SetFile(
              file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
      }};
  const UpdateOutcome result = UpdateFirmware(s.link, s.host, s.catalogue, module, chooser);
  // Every block went: whether the unit runs the file's version now is the script's answer.
  const bool sent = result == UpdateOutcome::kUpdated || result == UpdateOutcome::kNotTaken ||
                    result == UpdateOutcome::kNotConfirmed;
  if (sent) s.host.fields()["confirmed"] = result == UpdateOutcome::kUpdated;
  if (s.change && result == UpdateOutcome::kNotConfirmed)
    s.change->Finish(ChangeResult::kNotConfirmed);
  if (result == UpdateOutcome::kUpdated) return kExitOk;
  if (sent) return kExitFailure;
  if (result == UpdateOutcome::kCancelled) {  // only an empty path cancels the choice
    s.host.Error(s.catalogue.Format(MessageId::kFileOpenFailed, "", ""));
    return kExitFailure;
  }
  // The procedure has shown its refusal or failure already; a No to its question is not one.
  if (s.prompter.declined()) return Declined(s);
  return kExitFailure;
}

}  // namespace qvr::cli
