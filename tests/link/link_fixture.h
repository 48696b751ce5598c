#pragma once
// A link over a scripted transport, a recording host and a clock that moves 1 ms on every
// read, so that reply time-outs pass without real waiting.
#include <gtest/gtest.h>

#include "i18n/catalogue.h"
#include "link/link.h"
#include "link/scripted_transport.h"
#include "support/test_host.h"

namespace qvr::test {

class LinkFixture : public ::testing::Test {
 protected:
  LinkFixture() {
    clock.stepPerRead = 1;
    catalogue.setLanguage(kEnglish);
  }

  ManualClock clock;
  TestHost host{&clock};
  ScriptedTransport transport;
  Link link{transport, host, clock};
  Catalogue catalogue;
};

}  // namespace qvr::test
