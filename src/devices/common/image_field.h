#pragma once
// One parameter of a device image: its key in the configuration file, its bytes in one of the
// image's blocks and the values the device page accepts for it. Each device lists its
// parameters once; the file and the checks both work from that list.
#include <cstdint>

namespace qvr {

// The time-out ranges of both devices, in milliseconds; the power-on time-out is stored as
// milliseconds - 125, so its stored range starts at 0.
inline constexpr int32_t kPowerOnOffsetMs = 125, kPowerOnMinMs = 125, kPowerOnMaxMs = 50000;
inline constexpr int32_t kPulseMinMs = 10, kPulseMaxMs = 5000;

enum class FieldRule : uint8_t {
  kAny,             // flag bits: every value is valid
  kBits,            // check boxes or a check list standing for the bits of `items`; others 0
  kCheckBox,        // one check box: 1 when checked (any value but 0), else 0
  kList,            // index into a drop-down list of `items`
  kRadioGroup,      // index into a radio group of `items`
  kPowerOnTimeout,  // stored as milliseconds - 125; 0.125 .. 50 s
  kPulseTimeout,    // milliseconds; 0.010 .. 5 s
};

struct ImageField {
  const char* section;
  const char* key;
  uint8_t* data;  // the field inside one of the image's blocks
  int width = 1;  // 1, or 2 for a little-endian 16-bit value
  int bit = -1;   // 0..7: one flag bit of data[0], 0 or 1 in the file
  FieldRule rule = FieldRule::kAny;
  int items = 0;  // lists and radio groups: item count; kBits: the bits the controls hold

  // The stored value; a flag bit as 0 or 1.
  uint32_t Value() const;
  // Stores a value read from a file: cut to the width, or bit 0 of it for a flag.
  void Store(uint64_t value) const;
};

inline ImageField ByteField(const char* section, const char* key, uint8_t& byte) {
  return {section, key, &byte};
}
inline ImageField ListField(const char* section, const char* key, uint8_t& byte, int items) {
  return {section, key, &byte, 1, -1, FieldRule::kList, items};
}
inline ImageField RadioField(const char* section, const char* key, uint8_t& byte, int items) {
  return {section, key, &byte, 1, -1, FieldRule::kRadioGroup, items};
}
inline ImageField BitsField(const char* section, const char* key, uint8_t& byte, int bits) {
  return {section, key, &byte, 1, -1, FieldRule::kBits, bits};
}
inline ImageField CheckBoxField(const char* section, const char* key, uint8_t& byte) {
  return {section, key, &byte, 1, -1, FieldRule::kCheckBox};
}
inline ImageField FlagField(const char* section, const char* key, uint8_t& flags, int bit) {
  return {section, key, &flags, 1, bit};
}
inline ImageField TimeField(const char* section, const char* key, uint8_t* word, FieldRule rule) {
  return {section, key, word, 2, -1, rule};
}

}  // namespace qvr
