#pragma once
// A TPX-520 page under test on the shared fake window (simulated controller behind a real
// link, scripted boxes), shown offscreen as page 2 at the page area's size.
#include <gtest/gtest.h>

#include <memory>

#include "devices/tpx520/ui/live_actions.h"
#include "devices/tpx520/ui/tpx520_page.h"
#include "fake_page_host.h"

namespace qvr::test {

class Tpx520PageHost : public FakePageHost {
 public:
  explicit Tpx520PageHost(Language language = kEnglish) : FakePageHost(language) {
    page = kPageTpx520;
    tpx = std::make_unique<tpx520::Page>(*this, nullptr);
    tpx->resize(776, 480);
    tpx->InitPage();
  }

  using FakePageHost::Writes;
  // Write requests of `command` to the TPX-520, oldest first.
  std::vector<WireWrite> Writes(uint8_t command) const { return Writes(kAddress, command); }
  // Requests of `command` to the TPX-520, reads and writes.
  int RequestCount(uint8_t command) const { return sim.CountRequests(kAddress, command); }

  std::unique_ptr<tpx520::Page> tpx;

 private:
  static constexpr uint8_t kAddress = tpx520::kModule.deviceAddress;
};

inline const DeviceModule& Tpx() {
  return tpx520::kModule;
}

// The page's control of component `name`; a missing one fails the test.
template <typename W>
W* Control(Tpx520PageHost& h, const char* name) {
  W* widget = h.tpx->findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

}  // namespace qvr::test
