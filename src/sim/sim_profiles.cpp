#include "sim/sim_profiles.h"

#include <cstring>

#include "link/bytes.h"

namespace qvr::sim {
namespace {

std::vector<uint8_t> NameBlock(const char* name) {
  std::vector<uint8_t> block(32, 0);
  std::memcpy(block.data(), name, std::strlen(name));
  return block;
}

// input, event, outTypeFreq, type, replay, address, command
void PutEvent(std::vector<uint8_t>& table, int index, uint8_t input, uint8_t event,
              uint8_t outTypeFreq, uint8_t type, uint8_t replay, uint16_t address,
              uint8_t command) {
  uint8_t* record = &table[size_t(index) * 8];
  record[0] = input;
  record[1] = event;
  record[2] = outTypeFreq;
  record[3] = type;
  record[4] = replay;
  PutU16(record + 5, address);
  record[7] = command;
}

std::vector<uint8_t> TouchBlock(const uint8_t lines[4], const uint16_t corners[4]) {
  std::vector<uint8_t> block(12, 0);
  for (int i = 0; i < 4; ++i) block[size_t(i)] = lines[i];
  for (int i = 0; i < 4; ++i) PutU16(&block[size_t(4 + 2 * i)], corners[i]);
  return block;
}

Profile ControllerProfile() {
  Profile p;
  p.identity = kControllerIdentity;
  p.commands = {{1, Action::Info, 66}, {2, Action::Update, 0}, {3, Action::Reset, 0}};
  return p;
}

Profile Mux410Profile() {
  Profile p;
  p.identity = kMux410Identity;
  p.commands = {
      {1, Action::Info, 66},         {2, Action::Update, 0},       {3, Action::Reset, 0},
      {4, Action::ToDefault, 0},     {5, Action::Memory, 32},      {6, Action::Description, 0},
      {16, Action::Iebus, 0},        {17, Action::Memory, 4},      {18, Action::Memory, 6},
      {19, Action::Memory, 1},       {20, Action::Memory, 3},      {21, Action::NaviAuto, 0},
      {22, Action::CurrentInput, 0}, {23, Action::Map, 0},         {24, Action::Camera, 0},
      {26, Action::PaType, 0},       {27, Action::Memory, 96 * 8}, {28, Action::Event, 0},
      {29, Action::IrLearn, 0},      {30, Action::IrPower, 0},     {31, Action::Raw, 0},
      {32, Action::Set, 0},
  };
  p.eventCommand = 27;
  p.naviCommand = 17;
  p.detectedNaviType = 2;
  p.modeCommand = 20;
  p.maxInput = 5;

  std::vector<uint8_t> mode(6, 0);
  mode[0] = 0;                   // onPowerOn: first input
  mode[1] = 0;                   // outPulseMode: pulse, open collector
  PutU16(&mode[2], 2000 - 125);  // powerOnTimeout: 2 s
  PutU16(&mode[4], 500);         // pulseTimeout: 0.5 s
  std::vector<uint8_t> events(96 * 8, 0);
  PutEvent(events, 0, 7, 1, 8, 1, 0, 0x0004, 0x11);  // power on: NEC 4/17 at 38 kHz
  PutEvent(events, 1, 2, 2, 8, 1, 1, 0x0004, 0x12);  // zone 1 on input 2
  PutEvent(events, 2, 1, 11, 4, 4, 0, 26, 44);       // button 1: RC5 26/44
  p.sample = {
      {5, NameBlock("Demo")},
      {17, {2, 1, 0, 0x01}},  // LM7200 on input 2, mute from the bus, beep on touch
      {18, mode},
      {19, {0x20}},        // input 6 skipped
      {20, {1, 0, 0x03}},  // active PA, last input, + SWIM + TPX
      {27, events},
  };
  return p;
}

Profile Tpx520Profile() {
  Profile p;
  p.identity = kTpx520Identity;
  p.commands = {
      {1, Action::Info, 66},     {2, Action::Update, 0},        {3, Action::Reset, 0},
      {4, Action::ToDefault, 0}, {5, Action::Memory, 32},       {16, Action::Memory, 12},
      {17, Action::Memory, 2},   {18, Action::Memory, 12},      {19, Action::TouchSetup, 0},
      {20, Action::NaviAuto, 0}, {21, Action::CurrentInput, 0}, {22, Action::Memory, 64 * 8},
      {23, Action::Event, 0},    {24, Action::IrLearn, 0},      {25, Action::IrPower, 0},
  };
  p.eventCommand = 22;
  p.naviCommand = 17;
  p.detectedNaviType = 3;
  p.touchCommand = 16;
  p.maxInput = 6;

  const uint8_t lines[4] = {1, 2, 3, 4};
  const uint16_t corners[4] = {120, 140, 3950, 3900};
  std::vector<uint8_t> mode(12, 0);
  mode[0] = 7;                   // onPowerOn: restore the last state
  PutU16(&mode[2], 1000 - 125);  // powerOnTimeout: 1 s
  PutU16(&mode[4], 200);         // pulseTimeout: 0.2 s
  mode[7] = 1;                   // outCtrType: 5 V intercept
  std::vector<uint8_t> events(64 * 8, 0);
  PutEvent(events, 0, 7, 1, 8, 1, 0, 0x0010, 0x05);  // power on: NEC 16/5
  PutEvent(events, 1, 1, 3, 8, 2, 2, 0x1234, 0x40);  // zone 2 on input 1: NEC extended
  p.sample = {
      {5, NameBlock("Demo")},
      {16, TouchBlock(lines, corners)},
      {17, {1, 2}},  // GVN53 on input 2
      {18, mode},
      {22, events},
  };
  return p;
}

}  // namespace

const Profile& ProfileOf(uint8_t address) {
  static const Profile profiles[kDeviceCount] = {ControllerProfile(), Mux410Profile(),
                                                 Tpx520Profile()};
  return profiles[address < kDeviceCount ? address : 0];
}

std::vector<uint8_t> FoundTouchBlock() {
  const uint8_t lines[4] = {3, 4, 1, 2};
  const uint16_t corners[4] = {96, 112, 4000, 3968};
  return TouchBlock(lines, corners);
}

}  // namespace qvr::sim
