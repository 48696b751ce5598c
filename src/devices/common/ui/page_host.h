#pragma once
// What a device page needs from the main window. The window implements it; pages never include
// application headers.
#include <memory>
#include <string>

class QMenu;
class QWidget;

namespace qvr {

class Catalogue;
class ConnectionMonitor;
class Host;
class Link;
struct DeviceModule;

// A running operation of the window, from EnterOperation() until this is destroyed: nothing else
// takes input meanwhile and the adapter stays the program's. A host that holds nothing gives an
// empty one.
class [[nodiscard]] Operation {
 public:
  class Scope {
   public:
    virtual ~Scope() = default;
  };
  Operation() = default;
  explicit Operation(std::unique_ptr<Scope> scope) : scope_(std::move(scope)) {}

 private:
  std::unique_ptr<Scope> scope_;
};

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
  // The monitoring page (the controller's), where the log shows, made active; and whether it is.
  virtual void ShowControllerPage() = 0;
  virtual bool controllerPageShown() const = 0;
  // The device row of the active page (null: none).
  virtual const DeviceModule* activeModule() const = 0;
  virtual bool closing() const = 0;
  virtual bool debugMode() const = 0;  // check mark of MenuItemDebug
  virtual void setStatusText(const std::string& text) = 0;
  // The window's shared event pop-up menu; its items call DevicePage::EventMenuAction of the
  // active page.
  virtual QMenu* eventMenu() = 0;
  // A live action or a wait of the core runs as the toolbar's commands do, for as long as the
  // returned operation lives.
  [[nodiscard]] virtual Operation EnterOperation() { return {}; }
};

}  // namespace qvr
