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
  // A live action or a wait of the core runs as the toolbar's commands do: nothing else takes
  // input, and the adapter stays the program's, from Begin to the matching End.
  virtual void BeginOperation() {}
  virtual void EndOperation() {}
};

// Runs a live action inside the window's operation scope for as long as it lives.
class PageOperation {
 public:
  explicit PageOperation(PageHost& host) : host_(host) { host_.BeginOperation(); }
  ~PageOperation() { host_.EndOperation(); }
  PageOperation(const PageOperation&) = delete;
  PageOperation& operator=(const PageOperation&) = delete;

 private:
  PageHost& host_;
};

}  // namespace qvr
