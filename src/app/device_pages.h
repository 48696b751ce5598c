#pragma once
// The window's registry of device kinds: for each kind of the driver registry, the tab sheet it
// gets, its page (none for the controller, whose sheet holds the monitoring log) and the controls
// only debug mode shows. A new kind is added here and in the driver registry.
#include <span>

#include "devices/drivers/device_drivers.h"

class QWidget;

namespace qvr {

class DevicePage;
class PageHost;

struct PageKind {
  const char* kind;       // the driver's commandName
  const char* sheetName;  // the object name of its tab sheet
  // The sheet's caption from the design's table; null: the device's name.
  const char* designCaption = nullptr;
  DevicePage* (*create)(PageHost& host, QWidget* parent) = nullptr;  // null: no device page
  std::span<const char* const> debugControls = {};
  bool activeAtDesign = false;  // the page shown before the settings choose one
};

// The built-in kinds' pages.
std::span<const PageKind> PageKinds();

// The page entry of `driver` in `kinds`, or null when the window has none for it.
const PageKind* PageKindOf(const DeviceDriver& driver,
                           std::span<const PageKind> kinds = PageKinds());

// The shared event pop-up menu's object name and its items' (in menu order), as the design names
// them.
const char* EventMenuName();
std::span<const char* const> EventMenuItemNames();

}  // namespace qvr
