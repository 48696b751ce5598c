#pragma once
// The values of a configuration file that a device write sends changed: numbers cut to their
// field's width, text that is not a number read as 0, bits the unit does not keep cleared.
// The write still sends them as the file format defines; these are said as warnings.
#include <span>
#include <string>
#include <vector>

#include "devices/common/event_table.h"
#include "devices/common/image_field.h"

namespace qvr {
class Catalogue;
}

namespace qvr::cli {

struct ValueChange {
  enum class Reason { kNotANumber, kCut, kMasked };
  std::string section;
  std::string key;
  std::string file;   // as the file holds it
  uint32_t unit = 0;  // what the unit will hold
  Reason reason = Reason::kCut;
  int bits = 8;  // the field's width, for kCut
};

// Every key of `path` whose value differs from what `fields` and `events` hold (the image as
// it will be sent, loaded from `path`; `eventSections` the n of the EVENTn section of each
// event slot). Keys the file lacks are not listed.
std::vector<ValueChange> ValuesChangedOnTheWay(const std::string& path,
                                               std::span<const ImageField> fields,
                                               const EventTable& events,
                                               const std::vector<int>& eventSections);

// "File "…", section […], key …=…: the unit will hold … (cut to 16 bits)".
std::string ValueChangeText(const Catalogue& catalogue, const std::string& path,
                            const ValueChange& change);

}  // namespace qvr::cli
