#include "app/device_pages.h"

#include <string_view>

#include "devices/mux410/ui/create_page.h"
#include "devices/tpx520/ui/create_page.h"

namespace qvr {
namespace {

constexpr const char* kMux410DebugControls[] = {
    "SpeedButtonCamOn_MUX410x",     "SpeedButtonCamOff_MUX410x", "SpeedButtonMap_MUX410x",
    "SpeedButtonMakeEvent_MUX410x", "SpeedButtonLog_MUX410x",    "SpeedButtonRaw_MUX410x",
    "SpeedButtonSet_MUX410x",
};
constexpr const char* kTpx520DebugControls[] = {"SpeedButtonMakeEvent_TPX520x"};

constexpr PageKind kPageKinds[] = {
    {
        .kind = "qvr-b",
        .sheetName = "TabSheetMonitoring",
        .designCaption = "TabSheetMonitoring",
    },
    {
        .kind = "mux-410",
        .sheetName = "TabSheetMUX410x",
        .create = mux410::CreatePage,
        .debugControls = kMux410DebugControls,
    },
    {
        .kind = "tpx-520",
        .sheetName = "TabSheetTPX520x",
        .create = tpx520::CreatePage,
        .debugControls = kTpx520DebugControls,
        .activeAtDesign = true,
    },
};

// The menu serves every page's event list; the design named it after the first page's.
constexpr const char* kEventMenuItems[] = {
    "EventAddInLast_MUX410", "EventInsert_MUX410",     "EventDelCurrent_MUX410",
    "EventDelAll_MUX410",    "EventDelNotUsed_MUX410",
};

}  // namespace

std::span<const PageKind> PageKinds() {
  return kPageKinds;
}

const PageKind* PageKindOf(const DeviceDriver& driver, std::span<const PageKind> kinds) {
  for (const PageKind& kind : kinds)
    if (std::string_view(kind.kind) == driver.commandName) return &kind;
  return nullptr;
}

const char* EventMenuName() {
  return "PopupMenuEvent_MUX410";
}

std::span<const char* const> EventMenuItemNames() {
  return kEventMenuItems;
}

}  // namespace qvr
