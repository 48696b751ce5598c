#pragma once
// The MUX-410 page's live actions: current input, PA type, navigation auto-setup, the debug
// test commands, the description dump and the IEBus packet log. Each is one or a few requests
// to the MUX-410 through the command wrappers, which show their own error boxes.
#include <QObject>
#include <functional>

#include "devices/mux410/ui/page_widgets.h"
#include "link/link_result.h"

namespace qvr::mux410 {

class LiveActions : public QObject {
 public:
  LiveActions(PageHost& host, const PageWidgets& widgets);

  // The unit's own setups started (the page keeps their blocks on the unit).
  std::function<void()> naviSetupStarted;

  LinkResult ReadCurrentInput();  // into the current-input list, no command sent back
  void SendCurrentInput();
  void AskPaType();  // information box by the reply 0..2; other values nothing
  void RunNaviAutoSetup();
  void CamOn();
  void CamOff();
  void Map();
  void Raw();  // the power-on edit's text as hex: exactly 2 bytes go as command 31
  void Set();
  void ShowDescriptionDump();
  // The TPX-520 page's description box answers a double click with the same dump (of the
  // MUX-410, into this page's memo); bound once both pages exist.
  void BindDescriptionDumpTo(QObject* otherDescriptionGroup);
  // Shows the monitoring page and logs the device's IEBus packets until that page is left or
  // the window closes, then returns to the page it started on.
  void RunIebusLog();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Send(uint8_t command, const uint8_t* data, unsigned length);

  PageHost& host_;
  const PageWidgets& w_;
  bool logRunning_ = false;
  QObject* otherDescriptionGroup_ = nullptr;
};

}  // namespace qvr::mux410
