#pragma once
// What a device page needs from the main window. The window implements it; pages never include
// application headers.
#include <string>

class QMenu;
class QWidget;

namespace qvr {

class Catalogue;
class ConnectionMonitor;
class Host;
class Link;

class PageHost {
 public:
  virtual ~PageHost() = default;
  virtual Link& link() = 0;
  virtual const Catalogue& catalogue() const = 0;
  virtual Host& host() = 0;                  // log, progress, message boxes, message pump
  virtual ConnectionMonitor& monitor() = 0;  // `connected`, liveness dots

  virtual int activePage() const = 0;
  // A program-made page change: bypasses the busy rule and runs no page-change handler.
  virtual void setActivePage(int page) = 0;
  virtual bool closing() const = 0;
  virtual bool debugMode() const = 0;  // check mark of MenuItemDebug
  virtual void setStatusText(const std::string& text) = 0;
  // The window's shared event pop-up menu (PopupMenuEvent_MUX410); its items call
  // DevicePage::EventMenuAction of the active page.
  virtual QMenu* eventMenu() = 0;
};

}  // namespace qvr
