#include "app/device_pages.h"

#include "devices/mux410/ui/create_page.h"
#include "devices/tpx520/ui/create_page.h"

namespace qvr {

PageFactory DevicePageFactory() {
  return [](int page, PageHost& host, QWidget* parent) -> DevicePage* {
    if (page == kPageMux410) return mux410::CreatePage(host, parent);
    if (page == kPageTpx520) return tpx520::CreatePage(host, parent);
    return nullptr;
  };
}

}  // namespace qvr
