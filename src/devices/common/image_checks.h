#pragma once
// The checks a device page makes on its controls before a write, applied to an image alone
// (qvrctl writes images it never showed): list values within their lists, times within their
// ranges, and used events whose list values all lie within their lists.
#include <cstdint>
#include <span>
#include <string>

#include "devices/common/event_table.h"

namespace qvr {

class Catalogue;

struct FieldCheck {
  enum Kind { kList, kRadioGroup, kSeconds } kind;
  uint32_t value;
  int32_t minimum;
  int32_t maximum;
};

inline FieldCheck ListCheck(uint8_t value, int items) {
  return {FieldCheck::kList, value, 0, items - 1};
}
inline FieldCheck RadioGroupCheck(uint8_t value, int items) {
  return {FieldCheck::kRadioGroup, value, 0, items - 1};
}
// The power-on time-out is stored as milliseconds - 125 and accepted from 0.125 to 50 s.
FieldCheck PowerOnTimeoutCheck(uint16_t stored);
// The pulse time-out is accepted from 0.010 to 5 s.
FieldCheck PulseTimeoutCheck(uint16_t milliseconds);

// Item counts of the event lists of a device.
struct EventListSizes {
  int input, event, type, outTypeFreq, replay;
};

// The message of the first field that fails, in the catalogue's language, then of the first
// used event with a value beyond its list; empty when everything is valid.
std::string CheckImageFields(const Catalogue& catalogue, std::span<const FieldCheck> fields,
                             const EventTable& events, const EventListSizes& lists);

}  // namespace qvr
