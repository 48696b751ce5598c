// The live side of a simulated device: IR learning, the IEBus stream, events, the debug dump.
#include <cstdio>
#include <cstring>

#include "link/bytes.h"
#include "link/packet_layout.h"
#include "sim/sim_device.h"

namespace qvr::sim {
namespace {

bool EndsTable(const uint8_t* record) {
  return record[0] == 0xFF || record[1] == 0 || record[3] == 0;
}

struct Traffic {
  bool broadcast;
  uint16_t master;
  uint16_t slave;
  uint8_t count;
  uint8_t data[6];
};

// A head unit talking to its display and amplifier: enough variety for the log to look real.
constexpr Traffic kTraffic[] = {
    {false, 0x100, 0x1F0, 3, {0x01, 0x02, 0x3A}},
    {true, 0x183, 0xFFF, 2, {0x00, 0x11}},
    {false, 0x1F0, 0x100, 2, {0x3A, 0x01}},
    {false, 0x131, 0x183, 5, {0x20, 0x00, 0x10, 0x7F, 0x02}},
};

}  // namespace

void SimDevice::SetIrLearning(int emptyPolls, std::array<uint8_t, 5> code) {
  irEmptyPolls_ = emptyPolls;
  irCode_ = code;
}

// Reads from the start count as polls; the code arrives after the configured empty polls and
// stays readable until the next start.
std::vector<uint8_t> SimDevice::ReadIrCode(bool advance) {
  if (irLearning_ && advance) {
    if (irPollsLeft_ == 0) {
      irLast_ = irCode_;
      irLearning_ = false;
    } else if (irPollsLeft_ > 0) {
      --irPollsLeft_;
    }
  }
  return {irLast_.begin(), irLast_.end()};
}

std::vector<uint8_t> SimDevice::ReadIebus(bool advance) {
  if (!advance) return iebusCurrent_;
  if (!iebusQueue_.empty()) {
    iebusCurrent_.assign(iebusQueue_.front().begin(), iebusQueue_.front().end());
    iebusQueue_.pop_front();
    return iebusCurrent_;
  }
  if (iebusIdle_) {
    iebusCurrent_.clear();
    return iebusCurrent_;
  }
  const Traffic& traffic = kTraffic[iebusCounter_ % std::size(kTraffic)];
  iebusTime_ = uint16_t(iebusTime_ + 37 + (iebusCounter_ % 5) * 11);
  ++iebusCounter_;
  iebusCurrent_.assign(43, 0);
  PutU16(&iebusCurrent_[1], iebusTime_);
  iebusCurrent_[3] = traffic.broadcast ? 1 : 0;
  PutU16(&iebusCurrent_[4], traffic.master);
  PutU16(&iebusCurrent_[6], traffic.slave);
  iebusCurrent_[8] = traffic.count;
  std::memcpy(&iebusCurrent_[9], traffic.data, traffic.count);
  return iebusCurrent_;
}

Answer SimDevice::IssueEvent(uint8_t index) {
  const std::vector<uint8_t>& table = memory_.at(profile_.eventCommand);
  if (size_t(index) * 8 >= table.size()) return Answer::Status(kStatusParameterError);
  // Only records before the end of the table are events the device knows.
  for (unsigned i = 0; i <= index; ++i) {
    if (EndsTable(&table[i * 8])) return Answer::Status(kStatusResultError);
  }
  const uint8_t* record = &table[size_t(index) * 8];
  lastEvent_ = {record[1], record[0]};
  return Answer::Status(kStatusOk);
}

uint8_t SimDevice::PaType() const {
  if (profile_.modeCommand == 0) return 0;
  uint8_t mode = memory_.at(profile_.modeCommand)[0];
  return mode == 1 || mode == 2 ? mode : 0;  // active or passive PA; otherwise unknown
}

// A short ASCII status line, as the firmware's debug dump starts.
std::vector<uint8_t> SimDevice::Description() const {
  unsigned events = 0;
  if (profile_.eventCommand != 0) {
    const std::vector<uint8_t>& table = memory_.at(profile_.eventCommand);
    while (events * 8 < table.size() && !EndsTable(&table[events * 8])) ++events;
  }
  char name[33] = {};
  auto nameBlock = memory_.find(5);
  if (nameBlock != memory_.end()) std::memcpy(name, nameBlock->second.data(), 32);
  char text[128];
  int length =
      std::snprintf(text, sizeof text, "%s %u.%02u IN%u PA%u EV%u %s", profile_.identity.name,
                    applicationVersion_ / 100u, applicationVersion_ % 100u, currentInput_ + 1u,
                    PaType(), events, name);
  length = std::min<int>(std::max(length, 0), int(kMaxPayload));
  return std::vector<uint8_t>(text, text + length);
}

}  // namespace qvr::sim
