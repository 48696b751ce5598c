#pragma once
// The MUX-410 page: its configuration image, the controls that show it, the transfers between
// them, the mode rules and the row operations the toolbar calls.
#include <memory>

#include "devices/common/ui/device_page.h"
#include "devices/mux410/config_image.h"
#include "devices/mux410/ui/page_widgets.h"

namespace qvr::mux410 {

class LiveActions;
}  // namespace qvr::mux410

namespace qvr {
struct PageWriters;
}

namespace qvr::mux410 {

class Page : public DevicePage {
 public:
  Page(PageHost& host, QWidget* parent);
  ~Page() override;

  void InitPage() override;
  void BeforeLanguageSwitch() override;
  void AfterLanguageSwitch() override;
  int ReadDevice(const DeviceModule& module) override;
  int WriteDevice(const DeviceModule* module) override;
  int ReadConfigFile(const DeviceModule& module, const std::string& path) override;
  int WriteConfigFile(const DeviceModule* module, const std::string& path) override;
  void EventMenuAction(EventMenuItem item) override;

  // Shows the whole image; rebuilds the event tabs on the first event.
  void ImageToControls();
  // Stores the controls in their fixed order: 0 all stored, 1 at the first refused control.
  int ControlsToImage();
  // Shows the controls the selected mode uses; without a mode none of them.
  void UpdateModeControls();

  ConfigImage& image() { return image_; }
  const PageWidgets& widgets() const { return w_; }
  LiveActions& actions() { return *actions_; }

 private:
  int StoreParameters();
  PageWriters Writers();

  PageHost& host_;
  ConfigImage image_;
  PageWidgets w_;
  std::unique_ptr<LiveActions> actions_;
};

}  // namespace qvr::mux410
