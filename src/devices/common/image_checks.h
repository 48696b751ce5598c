#pragma once
// What a device write sends, made from an image in one way for the window and qvrctl alike:
// bit fields cut to the bits the page's controls hold, check boxes 0 or 1, and the checks the
// page makes on its controls (lists, radio groups, time-out ranges) applied to every parameter
// and to the lists of every used event.
#include <span>
#include <string>

#include "devices/common/event_table.h"
#include "devices/common/image_field.h"

namespace qvr {

class Catalogue;

// The first value a device write must not send.
struct ImageRefusal {
  const char* section = nullptr;  // the parameter's file section; null for an event
  const char* key = nullptr;      // its file key; null when nothing is refused
  int slot = -1;                  // the event's slot
  uint8_t EventRecord::*eventField = nullptr;
  FieldRule rule = FieldRule::kList;
  uint32_t value = 0;          // as stored
  uint32_t low = 0, high = 0;  // the stored values accepted

  explicit operator bool() const { return key != nullptr; }
};

// Cuts the bit fields and check boxes among `fields` to what the controls hold, then answers
// the first parameter outside its list or range, else the first used event (in slot order)
// with a value outside its list; an empty refusal when the image may be sent.
ImageRefusal PrepareImageForDevice(std::span<const ImageField> fields, const EventTable& events,
                                   const EventListSizes& lists);

// The page's text for a refusal: the drop-down or radio-group message, or the time-out's range
// in seconds.
std::string RefusalMessage(const Catalogue& catalogue, const ImageRefusal& refusal);
// The range of the values a file may hold there, for a command line: "The value must be in the
// range from %u to %u".
std::string RefusalRange(const Catalogue& catalogue, const ImageRefusal& refusal);

}  // namespace qvr
