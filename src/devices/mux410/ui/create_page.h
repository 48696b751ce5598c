#pragma once
#include "devices/common/ui/device_page.h"
#include "devices/common/ui/page_host.h"

namespace qvr::mux410 {

// The MUX-410 page, owned by `parent`.
DevicePage* CreatePage(PageHost& host, QWidget* parent);

}  // namespace qvr::mux410
