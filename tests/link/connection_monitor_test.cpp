// The 200 ms connection monitor: banners, status texts with liveness dots, hold-off.
#include <string>
#include <vector>

#include "link/connection_monitor.h"
#include "link/link_fixture.h"

namespace qvr::test {
namespace {

// Identification block as a device sends it (65 bytes: everything but the last name byte).
std::vector<uint8_t> InfoPayload(uint16_t application, uint32_t serial, uint16_t boot,
                                 const std::string& name) {
  std::vector<uint8_t> payload(65, 0);
  PutU16(&payload[0], application);
  PutU32(&payload[2], serial);
  PutU16(&payload[6], boot);
  for (size_t i = 0; i < name.size(); ++i) payload[10 + i] = uint8_t(name[i]);
  return payload;
}

class RecordingListener : public ConnectionMonitor::Listener {
 public:
  void SetStatusText(const std::string& text) override { statuses.push_back(text); }
  void ConnectedChanged(bool connected) override { changes.push_back(connected); }
  void HideProgress() override { ++hides; }
  void SetPollTimerEnabled(bool enabled) override { timer.push_back(enabled); }

  std::vector<std::string> statuses;
  std::vector<bool> changes;
  std::vector<bool> timer;
  int hides = 0;
};

class Monitor : public LinkFixture {
 protected:
  Monitor() {
    transport.responder = [this](const PacketBytes& request) -> std::optional<Answer> {
      if (!present || request[kPacketDestination] != 0 || request[kPacketCommand] != 1) {
        return std::nullopt;
      }
      return DataReply(0, 1, 0, InfoPayload(105, 305419896, 1234, "QVR-B"));
    };
  }

  RecordingListener listener;
  ConnectionMonitor monitor{link, catalogue, listener};
  bool present = true;
};

TEST_F(Monitor, FirstSuccessfulPollAnnouncesTheController) {
  monitor.Tick();
  const std::vector<std::string> expected = {
      "******** Controller \"QVR-B\" is connected *************",
      "Controller                \"QVR-B\"",
      "The serial number         305419896",
      "Boot version              12.34",
      "Application version       1.05",
  };
  EXPECT_EQ(host.log, expected);
  EXPECT_EQ(listener.statuses, std::vector<std::string>{"Controller \"QVR-B\" is connected"});
  EXPECT_EQ(listener.changes, std::vector<bool>{true});
  EXPECT_EQ(listener.timer, (std::vector<bool>{false, true}));
  EXPECT_EQ(listener.hides, 1);
  EXPECT_TRUE(monitor.connected());
  EXPECT_EQ(monitor.controllerInfo().name(), "QVR-B");
}

TEST_F(Monitor, LivenessDotsGrowToTenThenStartAgain) {
  monitor.Tick();
  for (int i = 0; i < 12; ++i) monitor.Tick();
  ASSERT_EQ(listener.statuses.size(), 13u);
  for (int dots = 1; dots <= 10; ++dots) {
    EXPECT_EQ(listener.statuses[dots],
              "Controller \"QVR-B\" is connected" + std::string(dots, '.'));
  }
  EXPECT_EQ(listener.statuses[11], "Controller \"QVR-B\" is connected");
  EXPECT_EQ(listener.statuses[12], "Controller \"QVR-B\" is connected.");
  EXPECT_EQ(host.log.size(), 5u);  // only the first poll writes to the log
  EXPECT_EQ(listener.changes.size(), 1u);
}

TEST_F(Monitor, UnplugIsAnnouncedOnceAndReplugAgain) {
  monitor.Tick();
  host.log.clear();
  transport.sendFailure = LinkDisconnected;
  monitor.Tick();
  monitor.Tick();
  EXPECT_EQ(host.log,
            std::vector<std::string>{"******** Controller \"QVR-B\" is disconnected **********"});
  EXPECT_EQ(listener.statuses.back(), "Controller \"QVR-B\" is disconnected");
  EXPECT_EQ(listener.changes, (std::vector<bool>{true, false}));
  EXPECT_FALSE(monitor.connected());

  transport.sendFailure = LinkOk;
  monitor.Tick();
  EXPECT_EQ(listener.changes, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(listener.statuses.back(), "Controller \"QVR-B\" is connected");
}

TEST_F(Monitor, AbsentControllerOnlyRenewsTheStatusText) {
  present = false;
  monitor.Tick();
  EXPECT_TRUE(host.log.empty());
  EXPECT_EQ(listener.statuses, std::vector<std::string>{"Out of the timeout response"});
  EXPECT_TRUE(listener.changes.empty());
  EXPECT_EQ(transport.sent.size(), 2u);  // the poll is retried once
  EXPECT_EQ(link.pollHoldOff(), 0);
}

TEST_F(Monitor, PageTrafficHoldsThePollOffForTwoTicks) {
  monitor.Tick();
  transport.script = {StatusReply(1, kStatusOk)};
  ASSERT_EQ(link.DeviceWrite(1, 3, 0, nullptr, 0), LinkOk);
  const size_t sentBefore = transport.sent.size();
  const int hidesBefore = listener.hides;

  monitor.Tick();
  monitor.Tick();
  EXPECT_EQ(transport.sent.size(), sentBefore);
  EXPECT_EQ(listener.hides, hidesBefore);  // the gauge stays up while held off

  monitor.Tick();
  EXPECT_EQ(transport.sent.size(), sentBefore + 1);
  EXPECT_EQ(listener.hides, hidesBefore + 1);
}

// A host whose message pump delivers timer ticks, as the window's would; enough of them to
// run out any hold-off.
class TickingHost : public TestHost {
 public:
  using TestHost::TestHost;
  void PumpMessages() override {
    TestHost::PumpMessages();
    for (int i = 0; i < 3 && monitor != nullptr; ++i) monitor->Tick();
  }
  ConnectionMonitor* monitor = nullptr;
};

TEST(MonitorReentry, TickDuringAPollDoesNothing) {
  ManualClock clock;
  clock.stepPerRead = 1;
  TickingHost host(&clock);
  ScriptedTransport transport;
  Link link(transport, host, clock);
  Catalogue catalogue;
  RecordingListener listener;
  ConnectionMonitor monitor(link, catalogue, listener);
  host.monitor = &monitor;

  // Both attempts of the poll fail in the receive, which pumps messages.
  transport.script = {ReceiveFails(LinkExchangeFailed), ReceiveFails(LinkExchangeFailed)};
  (void)monitor.PollController();
  EXPECT_EQ(host.pumps, 2);
  EXPECT_EQ(transport.sent.size(), 2u);
  EXPECT_EQ(listener.statuses.size(), 1u);
  EXPECT_EQ(listener.hides, 0);
}

}  // namespace
}  // namespace qvr::test
