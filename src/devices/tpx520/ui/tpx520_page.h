#pragma once
// The TPX-520 page: its configuration image, the controls that show it (description, touch
// lines and corners, navigation, action timing, control types, input parameters and the shared
// event editor), the transfers between them and the row operations the toolbar calls.
#include <memory>

#include "devices/common/ui/image_page.h"
#include "devices/tpx520/config_image.h"
#include "devices/tpx520/ui/page_widgets.h"
#include "editors/ui/field_checks.h"

namespace qvr::tpx520 {

class LiveActions;

class Page : public ImagePage<ConfigImage> {
 public:
  Page(PageHost& host, QWidget* parent);
  ~Page() override;

  void InitPage() override;
  void AfterLanguageSwitch() override;
  void ImageToControls() override;
  int ControlsToImage() override;
  LinkResult ReadCurrentInput() override;

  const PageWidgets& widgets() const { return w_; }
  LiveActions& actions() { return *actions_; }

 protected:
  EventEditor& events() override { return *w_.events; }
  std::vector<std::string> KeptOnUnitNotes() override;

 private:
  void ShowTouchBlock();
  void TouchSetupStarted();
  int StoreSelections();
  int StoreTimes();
  void StoreChecks();
  FieldContext Fields();

  PageWidgets w_;
  bool touchSetupRan_ = false;  // since the configuration was read or loaded
  std::unique_ptr<LiveActions> actions_;
};

}  // namespace qvr::tpx520
