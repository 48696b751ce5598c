#pragma once
// EventRecord: the 8-byte event entry of both devices, identical on the device, in the image
// and field by field in the configuration file.
#include <array>
#include <cstdint>

namespace qvr {

inline constexpr int kEventRecordSize = 8;

struct EventRecord {
  uint8_t input = 0;        // 0 none, 1..6 input, 7 any; 0xFF ends the device's table
  uint8_t event = 0;        // 0 not specified, 1 power-on, 2..10 zones, 11.. buttons
  uint8_t outTypeFreq = 0;  // IR output type / carrier
  uint8_t type = 0;         // reaction: 0 none, 1..9 IR protocol, 10 source selection
  uint8_t replay = 0;
  uint16_t address = 0;
  uint8_t command = 0;

  // Used events are the ones the device acts on; the rest are pruned before every write.
  bool used() const { return event != 0 && type != 0; }
  // A record read from the device that ends its table.
  bool endsTable() const { return input == 0xFF || event == 0 || type == 0; }

  std::array<uint8_t, kEventRecordSize> Encode() const;
  static EventRecord Decode(const uint8_t* bytes);
  bool operator==(const EventRecord&) const = default;
};

// Item counts of a device's event lists.
struct EventListSizes {
  int input, event, type, outTypeFreq, replay;
};

// An integer key of an event section of the configuration file, in file order ("Description"
// comes before them): its field (null for the 16-bit address) and, for a list, its item count.
struct EventFileKey {
  const char* key;
  uint8_t EventRecord::*field;
  int EventListSizes::*items;
};

inline constexpr EventFileKey kEventFileKeys[] = {
    {"Input", &EventRecord::input, &EventListSizes::input},
    {"Event", &EventRecord::event, &EventListSizes::event},
    {"OutTypeFreq", &EventRecord::outTypeFreq, &EventListSizes::outTypeFreq},
    {"type", &EventRecord::type, &EventListSizes::type},
    {"replay", &EventRecord::replay, &EventListSizes::replay},
    {"address", nullptr, nullptr},
    {"command", &EventRecord::command, nullptr},
};

}  // namespace qvr
