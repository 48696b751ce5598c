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
  size_t length = std::min(bytes.size(), kDescriptionMaxLength);
  // A cut between the CR and the LF of a line break would leave half a break behind.
  if (length == kDescriptionMaxLength && length < bytes.size() && bytes[length - 1] == '\r')
    --length;
  PutText(description, bytes, length);
}

std::string ConfigTexts::shownDescription() const {
  std::string text = descriptionText();
  return text.empty() ? configNameText() : text;
}

}  // namespace qvr
