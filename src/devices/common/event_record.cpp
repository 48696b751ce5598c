#include "devices/common/event_record.h"

#include "link/bytes.h"

namespace qvr {

std::array<uint8_t, kEventRecordSize> EventRecord::Encode() const {
  std::array<uint8_t, kEventRecordSize> bytes{};
  bytes[0] = input;
  bytes[1] = event;
  bytes[2] = outTypeFreq;
  bytes[3] = type;
  bytes[4] = replay;
  PutU16(&bytes[5], address);
  bytes[7] = command;
  return bytes;
}

EventRecord EventRecord::Decode(const uint8_t* bytes) {
  EventRecord record;
  record.input = bytes[0];
  record.event = bytes[1];
  record.outTypeFreq = bytes[2];
  record.type = bytes[3];
  record.replay = bytes[4];
  record.address = GetU16(&bytes[5]);
  record.command = bytes[7];
  return record;
}

}  // namespace qvr
