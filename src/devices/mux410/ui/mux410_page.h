#pragma once
// The MUX-410 page: its configuration image, the controls that show it, the transfers between
// them, the mode rules and the row operations the toolbar calls.
#include <memory>

#include "devices/common/ui/image_page.h"
#include "devices/mux410/config_image.h"
#include "devices/mux410/ui/page_widgets.h"

namespace qvr::mux410 {

class LiveActions;

class Page : public ImagePage<ConfigImage> {
 public:
  Page(PageHost& host, QWidget* parent);
  ~Page() override;

  void InitPage() override;
  void AfterLanguageSwitch() override;
  void ImageToControls() override;
  // Stores the controls in their fixed order: 0 all stored, 1 at the first refused control.
  int ControlsToImage() override;
  LinkResult ReadCurrentInput() override;
  // Shows the controls the selected mode uses; without a mode none of them.
  void UpdateModeControls();

  const PageWidgets& widgets() const { return w_; }
  LiveActions& actions() { return *actions_; }

 protected:
  EventEditor& events() override { return *w_.events; }

 private:
  int StoreParameters();

  PageWidgets w_;
  std::unique_ptr<LiveActions> actions_;
};

}  // namespace qvr::mux410
