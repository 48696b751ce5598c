#pragma once
// The TPX-520 page: description, touch lines and corners, navigation, action timing, control
// types, input parameters and the shared event editor, with the row operations of the module
// table and the page's live actions.
#include <array>

#include "devices/common/ui/image_page.h"
#include "devices/tpx520/config_image.h"
#include "editors/ui/field_checks.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;

namespace qvr {
class DescriptionMemo;
}  // namespace qvr

namespace qvr::tpx520 {

class Page : public ImagePage<ConfigImage> {
 public:
  Page(PageHost& host, QWidget* parent);

  void InitPage() override;
  void AfterLanguageSwitch() override;
  void ImageToControls() override;
  int ControlsToImage() override;

  // Live actions of the page (the event buttons belong to the editor).
  int ReadCurrentInput() override;  // double click on the current-input caption
  void SelectCurrentInput();        // the user chose an input
  void RunNaviAutoSetup();          // question, command 20, navigator type back to "Unknown"
  void RunTouchLineSetup();         // question, command 19

  EventEditor& eventEditor() { return *editor_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  EventEditor& events() override { return *editor_; }

 private:
  void BuildPage();
  QWidget* BuildDescriptionGroup();
  QWidget* BuildLineCornerGroup();
  QWidget* BuildNaviGroup();
  QWidget* BuildActionGroup();
  QWidget* BuildInputGroup();

  void ShowTouchBlock();
  int StoreSelections();
  int StoreTimes();
  void StoreChecks();
  FieldContext Fields();
  const DeviceModule& Module() const;

  EventEditor* editor_ = nullptr;

  DescriptionMemo* memo_ = nullptr;
  std::array<QLabel*, 8> touchPanels_{};  // X+, X-, Y+, Y-, Xmin, Ymin, Xmax, Ymax
  QToolButton* touchAuto_ = nullptr;
  QCheckBox* onlyExtTouch_ = nullptr;
  QCheckBox* sendTo_ = nullptr;
  QComboBox* naviType_ = nullptr;
  QComboBox* naviInput_ = nullptr;
  QToolButton* naviAuto_ = nullptr;
  QLineEdit* powerOnTimeout_ = nullptr;
  QComboBox* onPowerOn_ = nullptr;
  QComboBox* outPulseMode_ = nullptr;
  QLineEdit* pulseTimeout_ = nullptr;
  QGroupBox* inpCtrType_ = nullptr;
  QGroupBox* outCtrType_ = nullptr;
  QGroupBox* muteType_ = nullptr;
  QListWidget* inputMask_ = nullptr;
  QLabel* currentInputCaption_ = nullptr;
  QComboBox* currentInput_ = nullptr;
};

}  // namespace qvr::tpx520
