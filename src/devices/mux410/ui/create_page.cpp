#include "devices/mux410/ui/create_page.h"

#include "devices/mux410/ui/mux410_page.h"

namespace qvr::mux410 {

DevicePage* CreatePage(PageHost& host, QWidget* parent) {
  return new Page(host, parent);
}

}  // namespace qvr::mux410
