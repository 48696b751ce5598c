#pragma once
// The row operations both device pages share, written once over each page's own image and its
// device functions: device read and write, file load and save, the language-switch hooks and
// the event menu. A page supplies the controls (ImageToControls, ControlsToImage), its event
// editor and its current-input read.
#include <QComboBox>
#include <QLineEdit>
#include <initializer_list>
#include <string>
#include <vector>

#include "devices/backup/raw_image.h"
#include "devices/common/config_driver.h"
#include "devices/common/config_sections.h"
#include "devices/common/image_compare.h"
#include "devices/common/ui/device_page.h"
#include "devices/common/ui/edit_watch.h"
#include "devices/common/ui/event_editor.h"
#include "devices/common/ui/page_host.h"
#include "devices/common/ui/page_writes.h"
#include "editors/ui/field_names.h"
#include "i18n/added_texts.h"
#include "link/host.h"
#include "link/link.h"
#include "link/restart_wait.h"

namespace qvr {

class Catalogue;

template <typename Image>
class ImagePage : public DevicePage {
 public:
  ImagePage(PageHost& host, const ConfigDriver<Image>& device, QWidget* parent)
      : DevicePage(parent), host_(host), device_(device) {
    SetHoldsConfiguration(false);
  }

  // Shows the whole image; the event tabs are rebuilt on the first event.
  virtual void ImageToControls() = 0;
  // Validates the controls into the image: 0 stored, 1 refused (its message shown).
  virtual int ControlsToImage() = 0;
  // Reads the device's current input into its list; a failure shows its own box.
  virtual LinkResult ReadCurrentInput() = 0;

  Image& image() { return image_; }

  // The switch retranslates check lists, which is no edit: the flag comes through it as it was.
  void BeforeLanguageSwitch() override {
    (void)events().SaveCurrentEvent();
    modifiedBeforeSwitch_ = modified();
  }
  void AfterLanguageSwitch() override {
    events().RebuildEventTabs(image_.events.currentEvent);
    SetModified(modifiedBeforeSwitch_);
    NameFields();
  }
  void EventMenuAction(EventMenuItem item) override { events().MenuAction(item); }

  TransferResult ReadDevice(const DeviceModule& module) override {
    const TransferResult result = ReadKeepingShownImage(image_, [&](Image& image) {
      return Logged(
          device_.readDevice(host_.link(), host_.host(), host_.catalogue(), module, image));
    });
    if (!result.ok()) return result;
    ShowReadImage();
    return LinkOk;
  }
  PageOutcome CheckForDevice() override { return CheckPageForDevice(host_, events(), Writers()); }
  PageOutcome CheckForFile() override {
    return ControlsToImage() == 0 ? PageOutcome::kDone : PageOutcome::kRefused;
  }
  // What reaches the unit is no save: the page stays as modified as it was against its file.
  TransferResult WriteDevice(const DeviceModule& module) override {
    for (const std::string& note : KeptOnUnitNotes()) host_.host().LogLine(note);
    return WriteDeviceRow(events(), module, Writers());
  }
  // A file that is no configuration of this device is refused before it touches the image;
  // one that lacks some sections loads, then says which.
  PageOutcome ReadConfigFile(const DeviceModule& module, const std::string& path) override {
    const ConfigSectionCheck sections = CheckConfigSections(
        host_.catalogue(), path, module.name, device_.fields(image_), image_.events.capacity());
    if (sections.refused()) {
      host_.host().ShowMessageBox(BoxKind::kError, sections.message);
      return PageOutcome::kRefused;
    }
    device_.readFile(path, image_, nullptr);
    events().ForgetEventChanges();
    ImageToControls();
    SetModified(false);
    SetHoldsConfiguration(true);
    if (!sections.message.empty()) host_.host().ShowMessageBox(BoxKind::kWarning, sections.message);
    return PageOutcome::kDone;
  }
  PreviewResult PreviewWrite(const DeviceModule& module, std::string& changes) override {
    changes.clear();
    Image device;
    const TransferResult read =
        Logged(device_.readDevice(host_.link(), host_.host(), host_.catalogue(), module, device));
    if (!read.ok()) {
      host_.host().ShowMessageBox(BoxKind::kError, ResultTextWithPlace(read));
      return kPreviewReadFailed;
    }
    // A block the unit keeps is not sent: the unit's own values stand for it.
    Image sent = image_;
    if (sent.naviKeptOnUnit) sent.navi = device.navi;
    changes = ChangeLines(
        CompareImages(device_.fields(device), device.events, device_.fields(sent), sent.events));
    std::string notes;
    for (const std::string& note : KeptOnUnitNotes()) notes += note + "\n";
    changes =
        changes.empty() && !notes.empty() ? notes.substr(0, notes.size() - 1) : notes + changes;
    return kPreviewMade;
  }
  // The unit held these bytes: they go back as they are, without the checks a configuration
  // from the page or a file passes first.
  TransferResult WriteExactImage(const DeviceModule& module, const RawImage& raw) override {
    Image exact;
    if (!ImageFromUnitBytes(device_, raw, exact)) return LinkExchangeFailed;
    lastSent_ = exact;
    const TransferResult written =
        device_.writeDevice(host_.link(), host_.host(), host_.catalogue(), module, lastSent_);
    return Logged(written);
  }
  bool VerifyExactWrite(const DeviceModule& module) override {
    if (!AwaitRestart(module)) return false;
    Image back;
    const TransferResult read =
        Logged(device_.readDevice(host_.link(), host_.host(), host_.catalogue(), module, back));
    if (!read.ok()) {
      ShowNotChecked(module, ResultTextWithPlace(read));
      return false;
    }
    // Every block the unit holds is compared, the ones no file carries (and no page shows)
    // included: only they tell an exact restore from a load of the *.MUX beside it.
    const bool same = SentBytes(device_.unitBlocks(back), back.events) ==
                      SentBytes(device_.unitBlocks(lastSent_), lastSent_.events);
    const std::vector<ImageChange> changes = CompareImages(
        device_.fields(back), back.events, device_.fields(lastSent_), lastSent_.events);
    image_ = back;
    ShowReadImage();
    if (same) {
      SayVerified(module);
    } else {
      ShowNotVerified(module, changes.empty() ? std::string(Text(host_.catalogue(),
                                                                 AddedText::kUnitBytesDiffer))
                                              : ChangeLines(changes));
    }
    return true;
  }
  PageOutcome WriteConfigFile(const DeviceModule& module, const std::string& path) override {
    (void)module;
    const PageOutcome result = WriteFileRow(host_, events(), path, Writers());
    if (result == PageOutcome::kDone) SetModified(false);
    return result;
  }

 protected:
  virtual EventEditor& events() = 0;

  // Called once the page's controls exist: labels become their fields' buddies (names for
  // screen readers and messages), and the user's changes mark the page modified.
  void WatchEdits() {
    BuddyLabelsInLayoutOrder(this);
    events().commandEdit()->setProperty("qvrOwnName", true);
    NameFields();
    WatchUserEdits(this, [this] { SetModified(true); });
    QObject::connect(&events(), &EventEditor::edited, this, [this] { SetModified(true); });
  }

  // After the unit's navigation setup started: the unit keeps the block it finds, until a read
  // or the user's choice in one of `naviFields` (which then is sent as chosen).
  void KeepNaviOnUnitAfterSetup(std::initializer_list<QComboBox*> naviFields) {
    for (QComboBox* field : naviFields)
      QObject::connect(field, &QComboBox::activated, this,
                       [this] { image_.naviKeptOnUnit = false; });
  }
  void NaviSetupStarted() {
    image_.naviKeptOnUnit = true;
    host_.host().LogLine(Text(host_.catalogue(), AddedText::kNaviKeptOnUnit));
  }
  // What a write leaves on the unit, as the log and the preview say it.
  virtual std::vector<std::string> KeptOnUnitNotes() {
    if (!image_.naviKeptOnUnit) return {};
    return {Text(host_.catalogue(), AddedText::kNaviKeptOnUnit)};
  }

  PageHost& host_;
  Image image_;

 private:
  PageWriters Writers() {
    return {[this] { return ControlsToImage(); },
            [this] { return device_.prepareForDevice(image_); },
            [this](const DeviceModule& module) {
              // The write streams from a copy: nothing that happens while it pumps messages
              // can change what reaches the unit half-way.
              lastSent_ = image_;
              return Logged(device_.writeDevice(host_.link(), host_.host(), host_.catalogue(),
                                                module, lastSent_));
            },
            [this](const std::string& path) { return device_.writeFile(path, image_); }};
  }

  // A failed transfer's place goes to the monitoring log too, which keeps it after the box.
  TransferResult Logged(const TransferResult& result) {
    if (result.hasPlace()) host_.host().LogLine(TransferPlaceText(host_.catalogue(), result));
    return result;
  }
  std::string ResultTextWithPlace(const TransferResult& result) const {
    return WithTransferPlace(host_.catalogue(), LinkResultText(host_.catalogue(), result.code()),
                             result);
  }

  void NameFields() {
    // The address and command share one label, which names the address.
    events().commandEdit()->setAccessibleName(
        QString::fromUtf8(Text(host_.catalogue(), AddedText::kCommandField)));
    NameFieldsFromLabels(this);
    NameButtonsByHints(this);
    AddMnemonics(this);
  }

  // Reads the unit back after a write: "verified" in the log and the status bar when it holds
  // what was sent, else a box that lists what differs. The write ended with the unit's restart,
  // which keeps it silent for a while: only a silence beyond that leaves the write unchecked.
  void VerifyWrite(const DeviceModule& module) override {
    Image& sent = lastSent_;
    // The unit may still be restarting; only a silence beyond the wait leaves the write unchecked.
    if (!AwaitRestart(module)) return;
    Image back;
    const TransferResult read =
        Logged(device_.readDevice(host_.link(), host_.host(), host_.catalogue(), module, back));
    if (!read.ok()) return ShowNotChecked(module, ResultTextWithPlace(read));
    if (sent.naviKeptOnUnit) sent.navi = back.navi;  // not sent: the unit's own
    const std::vector<ImageChange> changes =
        CompareImages(device_.fields(back), back.events, device_.fields(sent), sent.events);
    // Every block the write sent counts, those no field shows (the touch block) included.
    const bool same = device_.unitBytes(back, sent) == device_.unitBytes(sent, sent);
    if (changes.empty() && same) return SayVerified(module);
    ShowNotVerified(module, changes.empty()
                                ? std::string(Text(host_.catalogue(), AddedText::kUnitBytesDiffer))
                                : ChangeLines(changes));
  }
  // Whether the unit answers again after the restart that ends every write; else the box says
  // the write could not be checked.
  bool AwaitRestart(const DeviceModule& module) {
    DeviceInfo restarted;
    const LinkResult answer = AwaitIdentification(host_.link(), host_.host(), module.deviceAddress,
                                                  kRestartAnswerWaitMs, restarted);
    if (answer == LinkOk) return true;
    // Another program took the adapter as the unit came back: that is why, not its silence.
    const bool taken = answer == LinkAdapterBusy || answer == LinkAdapterNotReserved;
    ShowNotChecked(module, taken ? LinkResultText(host_.catalogue(), answer)
                                 : Text(host_.catalogue(), AddedText::kUnitSilentSinceRestart));
    return false;
  }
  void SayVerified(const DeviceModule& module) {
    const Catalogue& text = host_.catalogue();
    const std::string done = text.FormatText(Text(text, AddedText::kWriteVerified), module.name);
    host_.host().LogLine(done);
    host_.setStatusText(done);
  }
  // The box of a read-back that differs: `detail` says how.
  void ShowNotVerified(const DeviceModule& module, const std::string& detail) {
    const Catalogue& text = host_.catalogue();
    host_.host().ShowMessageBox(
        BoxKind::kError,
        text.FormatText(Text(text, AddedText::kWriteNotVerified), module.name) + "\n" + detail);
  }

  // The image just read from the unit, shown as its own configuration.
  void ShowReadImage() {
    events().ForgetEventChanges();
    ImageToControls();
    SetModified(false);
    SetHoldsConfiguration(true);
    // A failed current-input read shows its own box; the configuration was read all the same.
    (void)ReadCurrentInput();
  }
  // The write went through; only its check could not be made.
  void ShowNotChecked(const DeviceModule& module, const std::string& reason) {
    const Catalogue& text = host_.catalogue();
    host_.host().ShowMessageBox(
        BoxKind::kError,
        text.FormatText(Text(text, AddedText::kWriteNotChecked), module.name) + "\n" + reason);
  }

  const ConfigDriver<Image>& device_;
  Image lastSent_;  // what the last device write sent, for its read-back
  bool modifiedBeforeSwitch_ = false;
};

}  // namespace qvr
