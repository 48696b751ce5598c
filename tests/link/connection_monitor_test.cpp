// The 200 ms connection monitor: banners, status texts with liveness dots, hold-off.
#include "link/connection_monitor.h"
#include "link/scripted_transport.h"

namespace qvr::test {
namespace {

class RecordingListener : public ConnectionMonitor::Listener {
 public:
  void SetStatusText(const std::string& text) override { statuses.push_back(text); }
  void ConnectedChanged(bool connected) override { changes.push_back(connected); }
  void HideProgress() override { ++hides; }
  void SetPollTimerEnabled(bool enabled) override { timer.push_back(enabled); }
  std::vector<std::string> statuses;
  std::vector<bool> changes, timer;
  int hides = 0;
};

const std::string kConnected = "Controller \"QVR-B\" is connected";

class Monitor : public LinkFixture {
 protected:
  Monitor() {
    std::vector<uint8_t> info(65, 0);
    PutU16(&info[0], 105);
    PutU32(&info[2], 305419896);
    PutU16(&info[6], 1234);
    std::copy_n("QVR-B", 5, info.begin() + 10);
    transport.responder = [info](const PacketBytes&) { return Data(0, 1, 0, info); };
  }
  RecordingListener listener;
  ConnectionMonitor monitor{link, host, catalogue, listener};
};

TEST_F(Monitor, ConnectionIsAnnouncedOnceThenDotsCountToTen) {
  for (int i = 0; i < 13; ++i) monitor.Tick();
  const std::vector<std::string> announced = {
      "******** Controller \"QVR-B\" is connected *************",
      "Controller                \"QVR-B\"",
      "The serial number         305419896",
      "Boot version              12.34",
      "Application version       1.05",
  };
  EXPECT_EQ(host.log, announced);
  EXPECT_EQ(listener.changes, std::vector<bool>{true});
  ASSERT_EQ(listener.statuses.size(), 13u);
  for (int dots = 0; dots <= 10; ++dots) {
    EXPECT_EQ(listener.statuses[dots], kConnected + std::string(dots, '.'));
  }
  EXPECT_EQ(listener.statuses[11], kConnected);
  EXPECT_EQ(listener.statuses[12], kConnected + ".");
  EXPECT_EQ(listener.timer.front(), false);
  EXPECT_EQ(listener.timer.back(), true);
}

TEST_F(Monitor, UnplugIsAnnouncedOnceAndEveryFailedPollRenewsTheStatus) {
  monitor.Tick();
  host.log.clear();
  transport.sendFailure = LinkDisconnected;
  monitor.Tick();
  monitor.Tick();
  EXPECT_EQ(host.log,
            std::vector<std::string>{"******** Controller \"QVR-B\" is disconnected **********"});
  EXPECT_EQ(listener.statuses.back(), "Controller \"QVR-B\" is disconnected");
  EXPECT_EQ(listener.statuses.size(), 3u);
  EXPECT_EQ(listener.changes, (std::vector<bool>{true, false}));

  transport.sendFailure = LinkOk;
  monitor.Tick();
  EXPECT_EQ(listener.changes, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(host.log.size(), 6u);

  // Another of our programs has the adapter: not gone (no banner), only not this one's for
  // now, so device commands wait until it is free.
  transport.sendFailure = LinkAdapterBusy;
  monitor.Tick();
  EXPECT_TRUE(monitor.adapterBusy());
  EXPECT_FALSE(monitor.connected());
  EXPECT_EQ(listener.changes.back(), false);
  EXPECT_NE(listener.statuses.back().find("in use by another program"), std::string::npos)
      << listener.statuses.back();
  EXPECT_EQ(host.log.size(), 6u);
  // Named as the system names it.
  transport.busyHolder = {4242, "qvrctl"};
  monitor.Tick();
  EXPECT_EQ(listener.statuses.back(),
            "The controller \"QVR-B\" is in use by qvrctl (4242): wait until its operation ends.");
  transport.sendFailure = LinkOk;
  monitor.Tick();
  EXPECT_FALSE(monitor.adapterBusy());
  EXPECT_TRUE(monitor.connected());
  EXPECT_EQ(listener.changes.back(), true);
}

TEST_F(Monitor, RefusedOrHalfAnsweringControllersAreNeverTakenForConnected) {
  // No permission: the status bar gives the short form, the log the fix, once per spell.
  transport.sendFailure = LinkNoPermission;
  monitor.Tick();
  monitor.Tick();
  EXPECT_EQ(listener.statuses.back(),
            "No permission to open the controller \"QVR-B\": it is connected but cannot be "
            "opened.\nInstalled from the package qvr-service (rule "
            "/usr/lib/udev/rules.d/70-qvr-b.rules): unplug and plug in the adapter (or run: "
            "sudo udevadm trigger).\nRun from a build: install the udev rule from the source "
            "tree's packaging folder, then unplug and plug in the adapter:\nsudo cp "
            "SOURCE_TREE/packaging/70-qvr-b.rules /etc/udev/rules.d/\n"
            "sudo udevadm control --reload-rules && sudo udevadm trigger");
  EXPECT_EQ(host.log, std::vector<std::string>{listener.statuses.back()});
  EXPECT_TRUE(listener.changes.empty());

  // A lock that cannot be taken: the status bar says so, the log also why, once per spell.
  transport.sendFailure = LinkAdapterNotReserved;
  transport.lockProblem = {AdapterLockFailure::kNotLockable, 0, "/dev/hidraw3", true};
  host.log.clear();
  monitor.Tick();
  monitor.Tick();
  EXPECT_EQ(listener.statuses.back(),
            "The controller \"QVR-B\" could not be reserved for this program, so nothing was sent "
            "to it: another program could otherwise send it its own data at the same time.");
  EXPECT_EQ(host.log, std::vector<std::string>{listener.statuses.back() +
                                               "\nReason: \"/dev/hidraw3\" is not the adapter's "
                                               "device node."});
  EXPECT_TRUE(listener.changes.empty());

  // Identification replies too short to hold the whole block are failed exchanges.
  transport.sendFailure = LinkOk;
  for (size_t length : {0u, 9u, 64u}) {
    transport.responder = [length](const PacketBytes&) {
      return Data(0, 1, 0, std::vector<uint8_t>(length, 0x51));
    };
    monitor.Tick();
    EXPECT_EQ(listener.statuses.back(), "Failed to communicate with the controller");
    EXPECT_TRUE(listener.changes.empty());
  }
}

TEST_F(Monitor, PageTrafficHoldsThePollOffForTwoTicks) {
  ASSERT_EQ(link.DeviceWrite(1, 3, 0, nullptr, 0), LinkExchangeFailed);
  transport.sent.clear();
  monitor.Tick();
  monitor.Tick();
  EXPECT_TRUE(transport.sent.empty());
  EXPECT_EQ(listener.hides, 0);  // the gauge stays up while held off
  monitor.Tick();
  EXPECT_EQ(transport.sent.size(), 1u);
  EXPECT_EQ(listener.hides, 1);
  EXPECT_EQ(link.pollHoldOff(), 0);
}

TEST_F(Monitor, TicksDeliveredWhileAPollOrAPageReportPumpsDoNothing) {
  struct TickingHost : TestHost {
    // A late pump (also the one beneath a report in flight): enough ticks to run out the
    // hold-off.
    void PumpMessages() override {
      for (int i = 0; i < 3; ++i) monitor->Tick();
    }
    ConnectionMonitor* monitor = nullptr;
  } ticking;
  Link pumpingLink(transport, ticking, clock);
  ConnectionMonitor pumped(pumpingLink, ticking, catalogue, listener);
  ticking.monitor = &pumped;
  transport.script = {Answer{{}, LinkExchangeFailed}, Answer{{}, LinkExchangeFailed}};
  (void)pumped.PollController();
  EXPECT_EQ(transport.sent.size(), 2u);
  EXPECT_EQ(listener.statuses.size(), 1u);

  // A page's read that waits through a silent first attempt: no poll slips in, and the hold-off
  // still stands when the read is done.
  transport.sent.clear();
  transport.script = {Answer{}, Data(1, 17, 0, {1})};
  ASSERT_EQ(pumpingLink.DeviceRead(1, 17, 0, buffer.data(), 4, count), LinkOk);
  EXPECT_EQ(transport.sent.size(), 2u);
  EXPECT_EQ(pumpingLink.pollHoldOff(), 2);
}

}  // namespace
}  // namespace qvr::test
