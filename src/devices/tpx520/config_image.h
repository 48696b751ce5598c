#pragma once
// The TPX-520 configuration in memory: touch, navigation and mode blocks byte for byte, the
// name, the description (file only) and the event table of 64 with its descriptions.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "devices/common/config_texts.h"
#include "devices/common/event_table.h"
#include "devices/common/image_checks.h"
#include "devices/common/image_field.h"
#include "link/bytes.h"

namespace qvr::tpx520 {

inline constexpr int kEventCapacity = 64;
inline constexpr int kProgressTotal = 570;  // 32 + 12 + 2 + 12 + 64 x 8
inline constexpr uint8_t kCmdName = 5, kCmdTouch = 16, kCmdNavi = 17, kCmdMode = 18,
                         kCmdEvents = 22,
                         kCmdCurrentInput = 21;  // read or select: 0 native, 1..6

// configName, description and their text accessors come from ConfigTexts.
struct ConfigImage : ConfigTexts {
  std::array<uint8_t, 12> touch{};  // xPlus, xMinus, yPlus, yMinus lines; corners u16 x4
  std::array<uint8_t, 2> navi{};    // naviType, naviInput
  std::array<uint8_t, 12> mode{};
  EventTable events{kEventCapacity};
  // True only after a device read: a configuration from a file holds no touch block, and a
  // device write then leaves block 16 out so the device keeps its own calibration.
  bool touchFromDevice = false;
  // The unit's navigation block is its own: its setup has run since the last read, so a write
  // leaves the block out and the unit keeps the type it found.
  bool naviKeptOnUnit = false;

  uint8_t touchLine(int i) const { return touch[size_t(i)]; }  // 0 X+, 1 X-, 2 Y+, 3 Y-
  uint16_t cornerXMin() const { return GetU16(&touch[4]); }
  uint16_t cornerYMin() const { return GetU16(&touch[6]); }
  uint16_t cornerXMax() const { return GetU16(&touch[8]); }
  uint16_t cornerYMax() const { return GetU16(&touch[10]); }
  uint8_t& naviType() { return navi[0]; }
  uint8_t& naviInput() { return navi[1]; }
  uint8_t& onPowerOn() { return mode[0]; }
  uint8_t& outPulseMode() { return mode[1]; }
  uint16_t powerOnTimeout() const { return GetU16(&mode[2]); }
  void setPowerOnTimeout(uint16_t v) { PutU16(&mode[2], v); }
  uint16_t pulseTimeout() const { return GetU16(&mode[4]); }
  void setPulseTimeout(uint16_t v) { PutU16(&mode[4], v); }
  uint8_t& inpCtrType() { return mode[6]; }
  uint8_t& outCtrType() { return mode[7]; }
  uint8_t& muteType() { return mode[8]; }
  uint8_t& inputMask() { return mode[9]; }
  uint8_t& sendTo() { return mode[10]; }
  uint8_t& onlyExtTouch() { return mode[11]; }

  void Clear();
};

inline constexpr int kNaviTypeItems = 6, kNaviInputItems = 7, kOnPowerOnItems = 8,
                     kOutPulseModeItems = 4, kInpCtrTypeItems = 2, kOutCtrTypeItems = 2,
                     kMuteTypeItems = 2, kEventInputItems = 8, kEventZoneItems = 11,
                     kEventTypeItems = 10, kEventOutputItems = 9, kEventReplayItems = 3;

// The six inputs of the check list of skipped inputs.
inline constexpr int kInputMaskBits = 0x3F;

// Navigation and mode parameters with their file keys, bytes and accepted values, in file
// order; the touch block is not among them (only shown, never in the file).
std::vector<ImageField> ImageFields(ConfigImage& image);
inline constexpr EventListSizes kEventLists{kEventInputItems, kEventZoneItems, kEventTypeItems,
                                            kEventOutputItems, kEventReplayItems};

}  // namespace qvr::tpx520
