#pragma once
// The TPX-520 page's live actions: the current input and the device's own setups of the
// navigation and the touch lines. Each is one request to the TPX-520 through the command
// wrappers, which show their own error boxes.
#include <QObject>
#include <functional>

#include "devices/tpx520/ui/page_widgets.h"
#include "link/link_result.h"

namespace qvr::tpx520 {

class LiveActions : public QObject {
 public:
  LiveActions(PageHost& host, const PageWidgets& widgets);

  // The unit's own setups started (the page keeps their blocks on the unit).
  std::function<void()> naviSetupStarted;
  std::function<void()> touchSetupStarted;

  LinkResult ReadCurrentInput();  // into the current-input list; a double click on its caption
  void SendCurrentInput();        // the user chose an input
  void RunNaviAutoSetup();        // question, command 20, navigator type back to "Unknown"
  void RunTouchLineSetup();       // question, command 19

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  PageHost& host_;
  const PageWidgets& w_;
};

}  // namespace qvr::tpx520
