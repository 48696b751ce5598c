#include "devices/common/config_texts.h"

#include <algorithm>

#include "editors/conversions.h"

namespace qvr {

namespace {

template <size_t N>
void PutText(std::array<uint8_t, N>& field, const std::string& bytes, size_t maxLength) {
  field.fill(0);
  size_t length = std::min({bytes.size(), maxLength, bytes.find('\0')});
  std::copy_n(bytes.begin(), length, field.begin());
}

}  // namespace

std::string ConfigTexts::configNameText() const {
  return FixedText(configName.data(), configName.size());
}

void ConfigTexts::setConfigName(const std::string& bytes) {
  PutText(configName, bytes, configName.size());
}

std::string ConfigTexts::descriptionText() const {
  return FixedText(description.data(), kDescriptionMaxLength);
}

void ConfigTexts::setDescription(const std::string& bytes) {
  PutText(description, bytes, kDescriptionMaxLength);
}

}  // namespace qvr
