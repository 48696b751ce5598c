// Reports on the transport thread: the caller stays alive while one is in flight, a stuck one
// is abandoned at its deadline, and the controller is reopened afterwards.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "link/scripted_transport.h"
#include "link/threaded_transport.h"

namespace qvr::test {
namespace {

// A scripted controller whose receive can be made to hang until the test lets it go.
class StallingTransport : public ScriptedTransport {
 public:
  LinkResult ReceiveFeatureReport(PacketBytes& packet) override {
    std::unique_lock lock(mutex_);
    if (stallNext_) {
      stallNext_ = false;
      stalled_ = true;
      released_.notify_all();
      released_.wait(lock, [this] { return !stalled_; });
    }
    const LinkResult result = ScriptedTransport::ReceiveFeatureReport(packet);
    ++returns_;
    released_.notify_all();
    return result;
  }
  void CloseController() override {
    std::lock_guard lock(mutex_);
    ++closes_;
  }
  void StallNextReceive() {
    std::lock_guard lock(mutex_);
    stallNext_ = true;
  }
  void Release() {
    std::lock_guard lock(mutex_);
    stalled_ = false;
    released_.notify_all();
  }
  int closes() {
    std::lock_guard lock(mutex_);
    return closes_;
  }
  bool stalled() {
    std::lock_guard lock(mutex_);
    return stalled_;
  }
  // Wait (in real time, bounded) until a receive stalls, or `count` receives have returned.
  bool AwaitStall() {
    std::unique_lock lock(mutex_);
    return released_.wait_for(lock, std::chrono::seconds(10), [&] { return stalled_; });
  }
  bool AwaitReturns(int count) {
    std::unique_lock lock(mutex_);
    return released_.wait_for(lock, std::chrono::seconds(10), [&] { return returns_ >= count; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  bool stallNext_ = false;
  bool stalled_ = false;
  int closes_ = 0;
  int returns_ = 0;
};

TEST(TransportThread, AStuckReportIsAbandonedAtItsDeadlineAndTheNextExchangeReopens) {
  ManualClock clock;
  TestHost host(&clock);
  host.pumpAdvanceMs = 100;  // every look at the report in flight lets 100 ms pass
  auto owned = std::make_unique<StallingTransport>();
  StallingTransport& device = *owned;
  ThreadedTransport transport(std::move(owned), host, clock, 1500);
  Link link(transport, host, clock);
  uint8_t value[4] = {};
  unsigned count = 0;

  device.script = {Data(1, 17, 0, {5})};
  ASSERT_EQ(link.ReadPacket(1, 17, 0, value, 4, count), LinkOk);
  EXPECT_EQ(value[0], 5);

  device.StallNextReceive();
  device.script = {Data(1, 17, 0, {6})};
  const uint32_t before = clock.NowMs();
  EXPECT_EQ(link.ReadPacket(1, 17, 0, value, 4, count), LinkTimeout);
  EXPECT_GE(clock.NowMs() - before, 1500u);
  EXPECT_LT(clock.NowMs() - before, 1700u);
  EXPECT_GE(host.pumps, 15);  // the caller kept pumping while it waited
  EXPECT_EQ(device.closes(), 0);

  // The stuck call returns late: the controller is closed then, and the next exchange goes
  // through on a fresh open.
  device.Release();
  device.script = {Data(1, 17, 0, {7})};
  ASSERT_EQ(link.ReadPacket(1, 17, 0, value, 4, count), LinkOk);
  EXPECT_EQ(value[0], 7);
  EXPECT_EQ(device.closes(), 1);
  EXPECT_EQ(device.sent.size(), 3u);

  // Closing while nothing is in flight closes at once.
  transport.CloseController();
  EXPECT_EQ(device.closes(), 2);
}

// The deadline runs from the start of a call, whatever it waited for: a call that first waits
// for an abandoned one to return (here 700 ms into it) and then stalls itself still ends 1.5 s
// after it started, not 1.5 s after the thread became free.
TEST(TransportThread, TheNextCallKeepsItsDeadlineWhenAnAbandonedOneReturnsPartWayIntoIt) {
  ManualClock clock;
  struct ReleasingHost : TestHost {
    using TestHost::TestHost;
    void PumpMessages() override {
      TestHost::PumpMessages();
      if (releaseAtPump == 0 || pumps != releaseAtPump) return;
      // The abandoned receive returns now; the one the next call posts stalls in its turn.
      device->StallNextReceive();
      device->Release();
      EXPECT_TRUE(device->AwaitReturns(1));
    }
    StallingTransport* device = nullptr;
    int releaseAtPump = 0;
  } host(&clock);
  host.pumpAdvanceMs = 100;
  auto owned = std::make_unique<StallingTransport>();
  StallingTransport& device = *owned;
  host.device = &device;
  ThreadedTransport transport(std::move(owned), host, clock, 1500);
  PacketBytes packet{};

  device.StallNextReceive();
  EXPECT_EQ(transport.ReceiveFeatureReport(packet), LinkTimeout);
  ASSERT_TRUE(device.AwaitStall());

  host.releaseAtPump = host.pumps + 7;
  const uint32_t started = clock.NowMs();
  EXPECT_EQ(transport.ReceiveFeatureReport(packet), LinkTimeout);
  EXPECT_GE(clock.NowMs() - started, 1500u);
  EXPECT_LT(clock.NowMs() - started, 1700u);
  EXPECT_EQ(device.closes(), 1);  // after the first abandoned call returned

  // Once the second returns too, a call goes through again.
  ASSERT_TRUE(device.AwaitStall());
  device.Release();
  ASSERT_TRUE(device.AwaitReturns(2));
  device.script = {Data(1, 17, 0, {8})};
  ASSERT_EQ(transport.SendFeatureReport(packet), LinkOk);
  ASSERT_EQ(transport.ReceiveFeatureReport(packet), LinkOk);
  EXPECT_EQ(packet[kPacketPayload], 8);
  EXPECT_EQ(device.closes(), 2);
}

TEST(TransportThread, AReportThatTakesSixHundredMillisecondsIsWaitedFor) {
  ManualClock clock;
  // Each look at the report in flight lets 100 ms pass; the controller answers after six.
  struct SlowControllerHost : TestHost {
    using TestHost::TestHost;
    void PumpMessages() override {
      TestHost::PumpMessages();
      if (pumps >= 6 && device->stalled()) device->Release();
    }
    StallingTransport* device = nullptr;
  } host(&clock);
  host.pumpAdvanceMs = 100;
  auto owned = std::make_unique<StallingTransport>();
  host.device = owned.get();
  ThreadedTransport transport(std::move(owned), host, clock);
  Link link(transport, host, clock);
  host.device->StallNextReceive();
  host.device->script = {Data(1, 17, 0, {9})};
  uint8_t value[4] = {};
  unsigned count = 0;
  ASSERT_EQ(link.ReadPacket(1, 17, 0, value, 4, count), LinkOk);
  EXPECT_EQ(value[0], 9);
  EXPECT_EQ(host.device->closes(), 0);
}

}  // namespace
}  // namespace qvr::test
