#include "update/update_procedure.h"

#include <algorithm>
#include <vector>

#include "i18n/added_texts.h"
#include "i18n/catalogue.h"
#include "link/device_info.h"
#include "link/link_result.h"
#include "update/ldr_file.h"

namespace qvr {

namespace {

constexpr uint8_t kCmdFirmware = 2;
constexpr int kMsgDeviceReadError = 15;
constexpr int kMsgUpdateBanner = 21;
constexpr int kMsgUpdateFileLine = 22;
constexpr int kMsgVersionLine = 23;
constexpr int kMsgWrongDevice = 26;
constexpr int kMsgWrongType = 27;
constexpr int kMsgSameVersion = 28;
constexpr int kMsgOlderVersion = 29;
constexpr int kMsgProgress = 30;
constexpr int kMsgTransferFailed = 31;
constexpr int kMsgUpdated = 32;

// One run of the procedure: what the device said about itself and the file that passed.
class UpdateRun {
 public:
  UpdateRun(Link& link, Host& host, const Catalogue& catalogue, const DeviceModule& module)
      : link_(link), host_(host), catalogue_(catalogue), module_(module) {}

  int Run(const UpdateFileChooser& chooser) {
    if (!Identify()) return -1;
    const std::string path = chooser.choose ? chooser.choose() : std::string();
    if (path.empty()) return 0;
    if (chooser.remember) chooser.remember(path);
    if (!Load(path)) return -1;
    if (!Compatible()) return -1;
    if (!Transfer()) return -1;
    const uint16_t version = file_.header.applicationVersion;
    host_.ShowMessageBox(
        BoxKind::kInformation,
        catalogue_.Format(kMsgUpdated, unsigned(version / 100), unsigned(version % 100)));
    return 1;
  }

 private:
  bool Identify() {
    const LinkResult result = ReadDeviceInfo(link_, host_, catalogue_, module_, device_);
    if (result == LinkOk) return true;
    host_.ShowMessageBox(BoxKind::kError,
                         DeviceFailureText(catalogue_, kMsgDeviceReadError, module_.name, result));
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
    host_.LogLine(catalogue_.Text(kMsgUpdateBanner));
    host_.LogLine(catalogue_.Format(kMsgUpdateFileLine, name.c_str(), extension.c_str()));
    host_.LogLine(
        catalogue_.Format(kMsgVersionLine, unsigned(version / 100), unsigned(version % 100)));
    return true;
  }

  bool Compatible() {
    const UpdateHeader& header = file_.header;
    if (header.deviceVersion != device_.deviceVersion()) return Refuse(kMsgWrongDevice);
    if (header.deviceType != device_.deviceType()) return Refuse(kMsgWrongType);
    if (header.applicationVersion == device_.applicationVersion()) return Confirm(kMsgSameVersion);
    if (device_.applicationVersion() > header.applicationVersion) return Confirm(kMsgOlderVersion);
    return true;
  }

  bool Refuse(int id) {
    host_.ShowMessageBox(BoxKind::kError, catalogue_.Text(id));
    return false;
  }

  bool Confirm(int id) {
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

    host_.BeginProgress(int(payload), catalogue_.Format(kMsgProgress, module_.name));
    const WriteWatch watch(link_);
    LinkResult result =
        link_.DeviceWrite(module_.deviceAddress, kCmdFirmware, 0, image.data(), block);
    if (result == LinkOk)
      result = link_.WriteMemory(module_.deviceAddress, kCmdFirmware, 0, image.data(),
                                 unsigned(image.size()), int(block));
    if (result == LinkOk) return true;
    std::string text =
        catalogue_.Format(kMsgTransferFailed, LinkResultText(catalogue_, result).c_str());
    // Once the boot loader took a block the old application is gone; the same update run
    // again with the unit still attached is the way back.
    if (watch.deviceChanged())
      text = WithAddedText(catalogue_, text, AddedText::kFirmwareMayBeMissing);
    host_.ShowMessageBox(BoxKind::kError, text);
    return false;
  }

  Link& link_;
  Host& host_;
  const Catalogue& catalogue_;
  const DeviceModule& module_;
  DeviceInfo device_;
  UpdateFile file_;
};

}  // namespace

int UpdateFirmware(Link& link, Host& host, const Catalogue& catalogue, const DeviceModule& module,
                   const UpdateFileChooser& chooser) {
  return UpdateRun(link, host, catalogue, module).Run(chooser);
}

}  // namespace qvr
