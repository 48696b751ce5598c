#pragma once
// The texts both device images hold: the configuration name (device block 5) and the
// description that lives only in the configuration file. Windows-1251 bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qvr {

inline constexpr size_t kConfigNameSize = 32;
inline constexpr size_t kDescriptionSize = 1000;
inline constexpr size_t kDescriptionMaxLength = kDescriptionSize - 1;  // always terminated

struct ConfigTexts {
  std::array<uint8_t, kConfigNameSize> configName{};
  std::array<uint8_t, kDescriptionSize> description{};  // CR LF between lines

  // Up to the terminator; a name that fills all 32 bytes has none.
  std::string configNameText() const;
  void setConfigName(const std::string& bytes);   // cut to 32 bytes, rest zero
  std::string descriptionText() const;            // at most 999 bytes
  void setDescription(const std::string& bytes);  // cut to 999 bytes, rest zero
  // What the page's memo shows and stores back as the description: the description, or the
  // name when there is none (a configuration read from a device has none).
  std::string shownDescription() const;
};

}  // namespace qvr
