#include "app/device_pages.h"

#include "devices/drivers/device_drivers.h"
#include "devices/mux410/ui/create_page.h"
#include "devices/tpx520/ui/create_page.h"

namespace qvr {
namespace {

// The page of each device kind with a configuration. The widgets live in the ui layer, so the
// core's driver table cannot name them: the kinds are matched here instead.
struct PageOfKind {
  DeviceKind kind;
  DevicePage* (*create)(PageHost& host, QWidget* parent);
};

constexpr PageOfKind kPages[] = {
    {.kind = DeviceKind::kMux410, .create = mux410::CreatePage},
    {.kind = DeviceKind::kTpx520, .create = tpx520::CreatePage},
};

}  // namespace

PageFactory DevicePageFactory() {
  return [](int page, PageHost& host, QWidget* parent) -> DevicePage* {
    const std::span<const DeviceDriver> drivers = DeviceDrivers();
    if (page < 0 || size_t(page) >= drivers.size()) return nullptr;
    for (const PageOfKind& kind : kPages)
      if (kind.kind == drivers[size_t(page)].kind) return kind.create(host, parent);
    return nullptr;
  };
}

}  // namespace qvr
