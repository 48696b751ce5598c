#pragma once
// A link to the simulated controller with a recording host, and the requests that crossed the
// wire in a compact form for the transfer tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "i18n/catalogue.h"
#include "link/bytes.h"
#include "link/link.h"
#include "sim/sim_transport.h"
#include "support/test_host.h"

namespace qvr::test {

struct Request {
  uint8_t address;
  uint8_t command;  // with the write flag 0x80
  uint16_t offset;
  uint8_t length;
  std::vector<uint8_t> data;
  bool operator==(const Request&) const = default;
};

inline void PrintTo(const Request& r, std::ostream* os) {
  *os << "{a" << int(r.address) << " c" << int(r.command) << " @" << r.offset << " n"
      << int(r.length) << "}";
}

class SimFixture : public ::testing::Test {
 protected:
  SimFixture() {
    clock.stepPerRead = 1;
    catalogue.setLanguage(kEnglish);
  }

  // The requests sent so far, optionally only those of one command (write flag ignored).
  std::vector<Request> Requests(int command = -1) const {
    std::vector<Request> out;
    for (const auto& packet : sim.Wire()) {
      const auto& b = packet.bytes;
      if (!packet.request || (command >= 0 && (b[2] & 0x7F) != command)) continue;
      uint8_t length = b[5] & 0x80 ? 0 : b[5];  // requests only carry 0..65 bytes
      out.push_back(
          {b[0], b[2], GetU16(&b[3]), length,
           std::vector<uint8_t>(b.begin() + 6, b.begin() + 6 + (b[2] & 0x80 ? length : 0))});
    }
    return out;
  }

  // The commands of the requests in order, write flag included.
  std::vector<int> Commands() const {
    std::vector<int> out;
    for (const Request& r : Requests()) out.push_back(r.command);
    return out;
  }

  ManualClock clock;
  TestHost host{&clock};
  sim::SimController sim;
  sim::SimTransport transport{sim};
  Link link{transport, host, clock};
  Catalogue catalogue;
};

}  // namespace qvr::test
