#pragma once
// What each simulated device is: its identification, the commands it understands and the
// sample configuration it starts from (and returns to on command 4). One table per device, so
// the device model itself is written once.
#include <cstdint>
#include <utility>
#include <vector>

#include "sim/sim_controller.h"

namespace qvr::sim {

enum class Action : uint8_t {
  Info,          // read: the 66-byte identification block
  Update,        // write: firmware image blocks
  Reset,         // write 0: restart
  ToDefault,     // write 0: sample configuration
  Memory,        // read/write: a memory area of `size` bytes
  Description,   // read: debug dump
  Iebus,         // read: next 43-byte IEBus log entry
  NaviAuto,      // write 0: find the navigation unit type
  CurrentInput,  // read 1 / write 1
  Map,           // write 0: MAP button imitation
  Camera,        // write 1: parking-assist camera on/off
  PaType,        // read 1: parking-assist type
  Event,         // read 2: last event / write 1: issue event by index
  IrLearn,       // write 0: start / read 5: code
  IrPower,       // write 0: 5 V to the IR receiver
  Raw,           // write 2: test command
  Set,           // write 1: test command
  TouchSetup,    // write 0: find the touch-screen lines
};

struct CommandEntry {
  uint8_t command;
  Action action;
  uint16_t size;  // memory area size; for other actions unused
};

struct Profile {
  Identity identity;
  std::vector<CommandEntry> commands;
  uint8_t eventCommand = 0;  // memory area holding the event table (0: none)
  uint8_t naviCommand = 0;   // memory area whose byte 0 is the navigation unit type
  uint8_t detectedNaviType = 0;
  uint8_t modeCommand = 0;   // memory area whose byte 0 is the operating mode (PA type source)
  uint8_t touchCommand = 0;  // memory area of the touch lines and corners
  uint8_t maxInput = 0;      // highest current-input value
  std::vector<std::pair<uint8_t, std::vector<uint8_t>>> sample;  // memory area contents
};

// The profile of the device at `address` (0..2).
const Profile& ProfileOf(uint8_t address);

// The lines and corners the touch-line setup finds.
std::vector<uint8_t> FoundTouchBlock();

}  // namespace qvr::sim
