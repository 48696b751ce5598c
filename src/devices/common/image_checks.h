#pragma once
// The checks a device page makes on its controls before a write, applied to an image alone
// (qvrctl writes images it never showed): list values within their lists, times within their
// ranges, and used events whose list values all lie within their lists.
#include <span>
#include <string>

#include "devices/common/event_table.h"
#include "devices/common/image_field.h"

namespace qvr {

class Catalogue;

// Item counts of the event lists of a device.
struct EventListSizes {
  int input, event, type, outTypeFreq, replay;
};

// The message of the first parameter that fails its rule, in the catalogue's language, then
// of the first used event with a value beyond its list; empty when everything is valid.
std::string CheckImageFields(const Catalogue& catalogue, std::span<const ImageField> fields,
                             const EventTable& events, const EventListSizes& lists);

}  // namespace qvr
