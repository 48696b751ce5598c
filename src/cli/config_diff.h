#pragma once
// The keys in which two configuration images differ, named as their file names them.
#include <span>
#include <string>
#include <vector>

#include "devices/common/config_texts.h"
#include "devices/common/event_table.h"
#include "devices/common/image_field.h"

namespace qvr::cli {

// What a difference is about: a parameter or event value the unit acts on, the configuration
// name (the file's own name stands for it), or a description that never leaves the file.
enum class DifferenceKind { kParameter, kName, kDescription };

struct KeyDifference {
  std::string section;
  std::string key;
  std::string device;  // the value on the device's side, UTF-8 ("" when it has none)
  std::string file;    // the value on the file's side
  DifferenceKind kind = DifferenceKind::kParameter;
};

// One side of a comparison: the image's texts, its parameters (from its device's field table,
// so both sides list them in the same order) and its events.
struct ImageView {
  const ConfigTexts& texts;
  std::span<const ImageField> fields;
  const EventTable& events;
};

// Every parameter, the name, the description and each event slot's keys whose values differ,
// in file order: CONFIGFILE, the parameter sections, then EVENT1, EVENT2 ... (a slot only one
// side uses differs in each of its keys).
std::vector<KeyDifference> CompareImages(const ImageView& device, const ImageView& file);

}  // namespace qvr::cli
