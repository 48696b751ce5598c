// Arbitrary reply bytes through the packet protocol: whatever a device sends, the link must
// end with a known LinkResult and never touch memory outside its packets and buffers.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/link.h"
#include "link/packet_layout.h"

namespace {

using namespace qvr;

// Hands out the input as consecutive 72-byte replies; an exhausted input is an unplugged
// controller, so that no exchange waits for a time-out in real time.
class FuzzTransport : public Transport {
 public:
  FuzzTransport(const uint8_t* data, size_t size, bool seal)
      : data_(data), size_(size), seal_(seal) {}

  LinkResult SendFeatureReport(const PacketBytes&) override {
    return position_ < size_ ? LinkOk : LinkDisconnected;
  }
  LinkResult ReceiveFeatureReport(PacketBytes& packet) override {
    if (position_ >= size_) return LinkExchangeFailed;
    packet.fill(0);
    const size_t n = std::min(packet.size(), size_ - position_);
    std::copy_n(data_ + position_, n, packet.begin());
    position_ += n;
    if (seal_) packet[kPacketChecksum] = PacketChecksum(packet.data(), kPacketChecksum);
    return LinkOk;
  }
  void CloseController() override {}

 private:
  const uint8_t* data_;
  size_t size_;
  bool seal_;  // most replies should get past the checksum to reach the later checks
  size_t position_ = 0;
};

class FuzzHost : public Host {
 public:
  explicit FuzzHost(bool log) : log_(log) {}
  void PumpMessages() override {}
  void LogLine(const std::string& line) override {
    if (line.size() >= 1000) std::abort();
  }
  void ClearLog() override {}
  void BeginProgress(int, const std::string&) override {}
  void AdvanceProgress(int count) override {
    if (count < 0) std::abort();
    progress += count;
  }
  bool PacketLogEnabled() const override { return log_; }
  BoxAnswer ShowMessageBox(BoxStyle, const std::string&) override { return BoxAnswer::kOk; }

  long progress = 0;

 private:
  bool log_;
};

// Time moves on every read, so an all-zero reply stream times out after a few polls.
class FuzzClock : public Clock {
 public:
  uint32_t NowMs() override { return now_ += 97; }

 private:
  uint32_t now_ = 0;
};

bool KnownResult(LinkResult r) {
  return (r >= LinkOk && r <= LinkTimeout) ||
         (r >= DeviceParameterError && r <= DeviceUpdateFileError);
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kHeader = 7;
  if (size < kHeader) return 0;
  const uint8_t operation = data[0] % 5;
  const bool seal = (data[1] & 1) != 0;
  const bool log = (data[1] & 2) != 0;
  const uint8_t address = data[2] % 3;
  const uint8_t command = data[3];
  const uint32_t offset =
      uint32_t(data[4]) | (uint32_t(data[5]) << 8) | (data[1] & 4 ? 0x10000u : 0);
  const unsigned amount = data[6];

  FuzzTransport transport(data + kHeader, size - kHeader, seal);
  FuzzHost host(log);
  FuzzClock clock;
  Link link(transport, host, clock);

  // Exactly the bytes asked for, on the heap, so that any write past them is caught.
  std::vector<uint8_t> buffer(amount);
  unsigned count = 0;
  LinkResult result = LinkOk;
  switch (operation) {
    case 0:
      result = link.ReadPacket(address, command, offset, buffer.data(), amount, count);
      Check(count <= kMaxPayload);
      break;
    case 1:
      result = link.DeviceRead(address, command, offset, buffer.data(), amount, count);
      Check(count <= kMaxPayload);
      break;
    case 2:
      result = link.WritePacket(address, command, offset, buffer.data(), amount);
      Check(amount <= kMaxPayload || (result == DeviceParameterError));
      break;
    case 3:
      result = link.ReadMemory(address, command, offset, buffer.data(), amount).code();
      Check(host.progress <= long(amount));
      break;
    case 4:
      result =
          link.WriteMemory(address, command, offset, buffer.data(), amount, int(data[1] >> 3) + 1)
              .code();
      Check(host.progress <= long(amount));
      break;
  }
  Check(KnownResult(result));
  Check(!link.exchangeBusy());
  return 0;
}
