#pragma once
#include "devices/common/ui/device_page.h"
#include "devices/common/ui/page_host.h"

namespace qvr::tpx520 {

// The TPX-520 page, owned by `parent`.
DevicePage* CreatePage(PageHost& host, QWidget* parent);

}  // namespace qvr::tpx520
