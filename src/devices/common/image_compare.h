#pragma once
// What differs between two configuration images of one device, key by key as the file names
// the parameters, then event by event: what a write would change on the unit, and whether a
// read-back holds what was written.
#include <string>
#include <vector>

#include "devices/common/event_table.h"
#include "devices/common/image_field.h"

namespace qvr {

struct ImageChange {
  std::string what;    // "NAVI TYPE" or "event 3"
  std::string device;  // the value on the unit ("" when it has no such event)
  std::string page;    // the value to be written ("" when the event goes)
};

// `deviceFields` and `pageFields` list the same keys in the same order (both images' fields).
std::vector<ImageChange> CompareImages(const std::vector<ImageField>& deviceFields,
                                       const EventTable& deviceEvents,
                                       const std::vector<ImageField>& pageFields,
                                       const EventTable& pageEvents);

// One line per change, at most `limit` of them and a last "…and N more".
std::string ChangeLines(const std::vector<ImageChange>& changes, size_t limit = 12);

}  // namespace qvr
