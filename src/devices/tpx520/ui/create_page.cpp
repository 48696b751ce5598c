#include "devices/tpx520/ui/create_page.h"

#include "devices/tpx520/ui/tpx520_page.h"

namespace qvr::tpx520 {

DevicePage* CreatePage(PageHost& host, QWidget* parent) {
  return new Page(host, parent);
}

}  // namespace qvr::tpx520
