#include "update/update_procedure.h"

#include <algorithm>
#include <vector>

#include "i18n/added_texts.h"
#include "i18n/catalogue.h"
#include "link/device_info.h"
#include "link/link_result.h"
#include "link/restart_wait.h"
#include "update/ldr_file.h"

namespace qvr {

namespace {

constexpr uint8_t kCmdFirmware = 2;

// One run of the procedure: what the device said about itself and the file that passed.
class UpdateRun {
 public:
  UpdateRun(Link& link, Host& host, const Catalogue& catalogue, const DeviceModule& module)
      : link_(link), host_(host), catalogue_(catalogue), module_(module) {}

  UpdateOutcome Run(const UpdateFileChooser& chooser) {
    if (!Identify()) return UpdateOutcome::kFailed;
    const std::string path = chooser.choose ? chooser.choose() : std::string();
    if (path.empty()) return UpdateOutcome::kCancelled;
    if (chooser.remember) chooser.remember(path);
    if (!Load(path)) return UpdateOutcome::kFailed;
    if (!Compatible()) return UpdateOutcome::kFailed;
    if (chooser.loaded) chooser.loaded(path, file_.bytes);
    if (!Transfer()) return UpdateOutcome::kFailed;
    return AskTheUnit();
  }

 private:
  bool Identify() {
    const LinkResult result = ReadDeviceInfo(link_, host_, catalogue_, module_, device_);
    if (result == LinkOk) return true;
    host_.ShowMessageBox(BoxKind::kError,
                         DeviceFailureText(catalogue_, MessageId::kDeviceConfigurationReadFailed,
                                           module_.name, result));
    return false;
  }

  bool Load(const std::string& path) {
    // A file the 16-bit block offsets cannot cover would fail half-way through the transfer,
    // so it is refused as too large before anything is sent.
    const size_t maxSize = std::min(kUpdateFileMaxSize, MaxTransferableFileSize(module_.blockSize));
    const UpdateFileCheck check = LoadUpdateFile(path, catalogue_, file_, maxSize);
    if (!check.ok()) {
      host_.ShowMessageBox(BoxKind::kError, check.message);
      return false;
    }
    std::string name, extension;
    SplitFileName(path, name, extension);
    const uint16_t version = file_.header.applicationVersion;
    host_.LogLine(catalogue_.Text(MessageId::kUpdateBanner));
    host_.LogLine(catalogue_.Format(MessageId::kUpdateFileLine, name.c_str(), extension.c_str()));
    host_.LogLine(catalogue_.Format(MessageId::kUpdateVersionLine, unsigned(version / 100),
                                    unsigned(version % 100)));
    return true;
  }

  bool Compatible() {
    const UpdateHeader& header = file_.header;
    if (header.deviceVersion != device_.deviceVersion())
      return Refuse(MessageId::kUpdateNotForDevice);
    if (header.deviceType != device_.deviceType()) return Refuse(MessageId::kUpdateNotForType);
    if (header.applicationVersion == device_.applicationVersion())
      return Confirm(MessageId::kUpdateSameVersion);
    if (device_.applicationVersion() > header.applicationVersion)
      return Confirm(MessageId::kUpdateOlderVersion);
    return true;
  }

  bool Refuse(MessageId id) {
    host_.ShowMessageBox(BoxKind::kError, catalogue_.Text(id));
    return false;
  }

  bool Confirm(MessageId id) {
    return host_.ShowMessageBox(BoxKind::kWarning, catalogue_.Text(id)) == BoxAnswer::kYes;
  }

  // The leading block goes once on its own, then payload plus one block from offset 0: the
  // last blocks carry the checksum and zeros beyond the end of the file.
  bool Transfer() {
    const unsigned block = unsigned(std::max(module_.blockSize, 1));
    const size_t payload = file_.payloadSize();
    std::vector<uint8_t> image(payload + block, 0);
    const size_t tail = std::min(image.size(), payload + kUpdateChecksumSize);
    std::copy_n(file_.payload(), tail, image.begin());

    host_.BeginProgress(int(payload), catalogue_.Format(MessageId::kUpdateProgress, module_.name));
    const WriteWatch watch(link_);
    TransferResult result =
        link_.DeviceWrite(module_.deviceAddress, kCmdFirmware, 0, image.data(), block);
    if (result == LinkOk)
      result = link_.WriteMemory(module_.deviceAddress, kCmdFirmware, 0, image.data(),
                                 unsigned(image.size()), int(block));
    if (result == LinkOk) return true;
    // The box keeps its catalogue text; the log says where the transfer stopped.
    if (result.hasPlace()) host_.LogLine(TransferPlaceText(catalogue_, result));
    std::string text = catalogue_.Format(MessageId::kUpdateFailed,
                                         LinkResultText(catalogue_, result.code()).c_str());
    // Once the boot loader took a block the old application is gone; the same update run
    // again with the unit still attached is the way back.
    if (watch.deviceChanged())
      text = WithAddedText(catalogue_, text, AddedText::kFirmwareMayBeMissing);
    host_.ShowMessageBox(BoxKind::kError, text);
    return false;
  }

  // The unit restarts into the new firmware: only its own answer, as the same unit, says
  // which firmware it runs now. A reinstall of its version is confirmed alike: it runs it.
  UpdateOutcome AskTheUnit() {
    const unsigned version = file_.header.applicationVersion;
    DeviceInfo now;
    const LinkResult answer =
        AwaitIdentification(link_, host_, module_.deviceAddress, kUpdateAnswerWaitMs, now);
    if (answer != LinkOk || now.serialNumber() != device_.serialNumber()) {
      std::string text = Text(catalogue_, AddedText::kUpdateNotConfirmed);
      // Another program has the adapter now: that is why, not the unit's silence.
      if (answer == LinkAdapterBusy || answer == LinkAdapterNotReserved)
        text += "\n" + LinkResultText(catalogue_, answer);
      host_.ShowMessageBox(BoxKind::kError, text);
      return UpdateOutcome::kNotConfirmed;
    }
    const unsigned reported = now.applicationVersion();
    if (reported != version) return NotTaken(reported, version);
    host_.ShowMessageBox(BoxKind::kInformation,
                         catalogue_.Format(MessageId::kUpdateDone, version / 100, version % 100));
    host_.LogLine(catalogue_.FormatText(Text(catalogue_, AddedText::kUpdateConfirmed),
                                        reported / 100, reported % 100));
    return UpdateOutcome::kUpdated;
  }

  UpdateOutcome NotTaken(unsigned reported, unsigned version) {
    const std::string text =
        reported == device_.applicationVersion()
            ? catalogue_.FormatText(Text(catalogue_, AddedText::kUpdateNotTaken), reported / 100,
                                    reported % 100)
            : catalogue_.FormatText(Text(catalogue_, AddedText::kUpdateOtherVersion),
                                    reported / 100, reported % 100, version / 100, version % 100);
    host_.ShowMessageBox(BoxKind::kError, text);
    return UpdateOutcome::kNotTaken;
  }

  Link& link_;
  Host& host_;
  const Catalogue& catalogue_;
  const DeviceModule& module_;
  DeviceInfo device_;
  UpdateFile file_;
};

}  // namespace

UpdateOutcome UpdateFirmware(Link& link, Host& host, const Catalogue& catalogue,
                             const DeviceModule& module, const UpdateFileChooser& chooser) {
  return UpdateRun(link, host, catalogue, module).Run(chooser);
}

}  // namespace qvr
