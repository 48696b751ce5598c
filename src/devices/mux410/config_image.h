#pragma once
// The MUX-410 configuration in memory: its device blocks byte for byte, the name, the
// description (never sent to the device) and the event table with its descriptions.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "devices/common/config_texts.h"
#include "devices/common/event_table.h"
#include "devices/common/image_checks.h"
#include "devices/common/image_field.h"
#include "link/bytes.h"

namespace qvr::mux410 {

inline constexpr int kEventCapacity = 96;
inline constexpr int kProgressTotal = 814;  // 32 + 4 + 6 + 1 + 3 + 96 x 8
inline constexpr uint8_t kCmdName = 5, kCmdNavi = 17, kCmdMode = 18, kCmdInput = 19, kCmdDpar = 20,
                         kCmdEvents = 27,
                         kCmdCurrentInput = 22;  // read or select: 0..5 = inputs 1..6

// configName, description and their text accessors come from ConfigTexts.
struct ConfigImage : ConfigTexts {
  std::array<uint8_t, 4> navi{};   // naviType, naviInput, naviMute, naviFlags
  std::array<uint8_t, 6> mode{};   // onPowerOn, outPulseMode, powerOnTimeout, pulseTimeout
  std::array<uint8_t, 1> input{};  // inputMask
  std::array<uint8_t, 3> dpar{};   // iebusMode, returnInput, dparFlags
  EventTable events{kEventCapacity};
  // The unit's navigation block is its own: its setup has run since the last read, so a write
  // leaves the block out and the unit keeps the type it found.
  bool naviKeptOnUnit = false;

  uint8_t& naviType() { return navi[0]; }
  uint8_t& naviInput() { return navi[1]; }
  uint8_t& naviMute() { return navi[2]; }
  uint8_t& naviFlags() { return navi[3]; }
  uint8_t& onPowerOn() { return mode[0]; }
  uint8_t& outPulseMode() { return mode[1]; }
  uint16_t powerOnTimeout() const { return GetU16(&mode[2]); }
  void setPowerOnTimeout(uint16_t v) { PutU16(&mode[2], v); }
  uint16_t pulseTimeout() const { return GetU16(&mode[4]); }
  void setPulseTimeout(uint16_t v) { PutU16(&mode[4], v); }
  uint8_t& inputMask() { return input[0]; }
  uint8_t& iebusMode() { return dpar[0]; }
  uint8_t& returnInput() { return dpar[1]; }
  uint8_t& dparFlags() { return dpar[2]; }

  void Clear();  // zero-fill everything
};

// Number of items of each list of the page; a stored value at or beyond it leaves the list
// empty and is refused by the field check on the next write.
inline constexpr int kNaviTypeItems = 6, kNaviInputItems = 6, kNaviMuteItems = 2,
                     kOnPowerOnItems = 7, kOutPulseModeItems = 4, kModeItems = 6,
                     kReturnInputItems = 6, kEventInputItems = 8, kEventZoneItems = 36,
                     kEventTypeItems = 11, kEventOutputItems = 11, kEventReplayItems = 3;

// The bits the page's controls hold: beep and intercept-all-touches of naviFlags; inputs 2..6
// of inputMask (input 1 is never skipped).
inline constexpr int kNaviFlagBits = 0x03, kInputMaskBits = 0x3E;

// The parameters as one table: file keys in write order, their bytes in `image` and the values
// the page accepts. The configuration file and PrepareForDevice work from it.
std::vector<ImageField> ImageFields(ConfigImage& image);
inline constexpr EventListSizes kEventLists{kEventInputItems, kEventZoneItems, kEventTypeItems,
                                            kEventOutputItems, kEventReplayItems};

}  // namespace qvr::mux410
