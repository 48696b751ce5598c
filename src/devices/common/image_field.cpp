#include "devices/common/image_field.h"

#include "link/bytes.h"

namespace qvr {

uint32_t ImageField::Value() const {
  if (bit >= 0) return (data[0] >> bit) & 1u;
  if (width == 2) return GetU16(data);
  return data[0];
}

void ImageField::Store(uint64_t value) const {
  if (bit >= 0) {
    uint8_t mask = uint8_t(1u << bit);
    data[0] = uint8_t((data[0] & ~mask) | ((value & 1) ? mask : 0));
  } else if (width == 2) {
    PutU16(data, uint16_t(value));
  } else {
    data[0] = uint8_t(value);
  }
}

}  // namespace qvr
