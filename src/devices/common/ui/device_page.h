#pragma once
// A device page as the main window sees it: the operations of its row of the module table, the
// language-switch hooks and the shared event menu.
#include <QWidget>
#include <functional>
#include <string>

#include "link/device_module.h"
#include "link/link_result.h"

namespace qvr {

struct RawImage;

enum class EventMenuItem { AddAtEnd, Insert, DeleteCurrent, DeleteAll, DeleteUnused };

// How a page operation that is no transfer ended: done, or refused with its reason already
// shown (a field's value, a file that is no configuration of the device, a failed save).
enum class [[nodiscard]] PageOutcome{kDone, kRefused};

class DevicePage : public QWidget {
 public:
  using QWidget::QWidget;

  // Start-up: zero image, event lists at item 0, mode rules, event area refreshed.
  virtual void InitPage() = 0;
  // Before the window is translated: store the event being edited (a failed check is ignored).
  virtual void BeforeLanguageSwitch() = 0;
  // After the translation: rebuild the event tabs on the current event.
  virtual void AfterLanguageSwitch() = 0;

  // Row operations: a transfer's failure says where it stopped.
  virtual TransferResult ReadDevice(const DeviceModule& module) = 0;
  virtual TransferResult WriteDevice(const DeviceModule& module) = 0;
  virtual PageOutcome ReadConfigFile(const DeviceModule& module, const std::string& path) = 0;
  virtual PageOutcome WriteConfigFile(const DeviceModule& module, const std::string& path) = 0;
  // The checks before a write, which store the controls into the image (a refusal has shown
  // its message). A device write also needs what the device accepts.
  virtual PageOutcome CheckForDevice() = 0;
  virtual PageOutcome CheckForFile() = 0;

  // What a device write of the validated page would change on the unit, one line per key or
  // event ("" when nothing), read from the device first: kPreviewMade, kPreviewReadFailed (its
  // box shown) or kNoPreview for a page that cannot tell.
  enum PreviewResult { kPreviewMade, kPreviewReadFailed, kNoPreview };
  virtual PreviewResult PreviewWrite(const DeviceModule& module, std::string& changes) {
    (void)module;
    changes.clear();
    return kNoPreview;
  }
  // After a successful device write: waits for the unit to answer after its restart, reads it
  // back and says "verified" in the log and the status bar when it holds what was sent, else
  // shows what differs or that the write could not be checked.
  virtual void VerifyWrite(const DeviceModule& module) { (void)module; }
  // A backup's exact image sent back as the unit held it: every block, those no file carries
  // included, without the page's checks. The page's own configuration stays as it is.
  virtual TransferResult WriteExactImage(const DeviceModule& module, const RawImage& image) {
    (void)module;
    (void)image;
    return LinkExchangeFailed;
  }
  // After it: reads the unit back comparing every byte, says "verified" as VerifyWrite does or
  // shows what differs. True when the page then shows what the unit holds, as after a read.
  virtual bool VerifyExactWrite(const DeviceModule& module) {
    (void)module;
    return false;
  }

  // The shared event pop-up menu, acting on this page's event list.
  virtual void EventMenuAction(EventMenuItem item) = 0;

  // Whether the user changed the configuration since the last read, load, save or write.
  bool modified() const { return modified_; }
  void SetModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    if (modifiedChanged_) modifiedChanged_();
  }
  // Whether the page shows a configuration at all (read from the device or loaded), so that
  // saving or writing it means something.
  bool holdsConfiguration() const { return holdsConfiguration_; }
  void SetHoldsConfiguration(bool holds) { holdsConfiguration_ = holds; }
  // Called whenever modified() changes (the window's title follows it).
  void OnModifiedChanged(std::function<void()> changed) { modifiedChanged_ = std::move(changed); }

 private:
  bool modified_ = false;
  bool holdsConfiguration_ = true;
  std::function<void()> modifiedChanged_;
};

}  // namespace qvr
