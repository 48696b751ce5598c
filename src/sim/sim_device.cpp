#include "sim/sim_device.h"

#include <algorithm>
#include <cstring>

#include "link/bytes.h"
#include "link/packet_layout.h"
#include "sim/sim_update_image.h"

namespace qvr::sim {
namespace {

// Up to `limit` bytes of `area` from `offset`; nothing at or beyond its end, which is how a
// memory read learns that the area is exhausted.
Answer Slice(const std::vector<uint8_t>& area, uint16_t offset, unsigned limit) {
  if (offset >= area.size()) return Answer::Data({});
  size_t count = std::min<size_t>(area.size() - offset, limit);
  return Answer::Data(std::vector<uint8_t>(area.begin() + offset, area.begin() + offset + count));
}

bool IsCommandWrite(const Request& request, unsigned length) {
  return request.offset == 0 && request.length == length;
}

}  // namespace

SimDevice::SimDevice(const Profile& profile)
    : profile_(profile),
      applicationVersion_(profile.identity.applicationVersion),
      serialNumber_(profile.identity.serialNumber) {
  RestoreSample();
}

void SimDevice::RestoreSample() {
  memory_.clear();
  for (const auto& [command, bytes] : profile_.sample) memory_[command] = bytes;
  for (const CommandEntry& entry : profile_.commands) {
    if (entry.action == Action::Memory) memory_[entry.command].resize(entry.size, 0);
  }
}

bool SimDevice::SetMemory(uint8_t command, const std::vector<uint8_t>& bytes) {
  const CommandEntry* entry = Find(command);
  if (!entry || entry->action != Action::Memory) return false;
  std::vector<uint8_t> area(bytes.begin(),
                            bytes.begin() + std::min<size_t>(bytes.size(), entry->size));
  area.resize(entry->size, 0);
  memory_[command] = std::move(area);
  return true;
}

std::array<uint8_t, 66> SimDevice::Info() const {
  std::array<uint8_t, 66> info{};
  PutU16(&info[0], applicationVersion_);
  PutU32(&info[2], serialNumber_);
  PutU16(&info[6], profile_.identity.bootVersion);
  info[8] = profile_.identity.deviceVersion;
  info[9] = profile_.identity.deviceType;
  size_t length = std::min<size_t>(std::strlen(profile_.identity.name), 55);
  std::memcpy(&info[10], profile_.identity.name, length);
  return info;
}

const CommandEntry* SimDevice::Find(uint8_t command) const {
  for (const CommandEntry& entry : profile_.commands) {
    if (entry.command == command) return &entry;
  }
  return nullptr;
}

Answer SimDevice::Handle(const Request& request, int shortReads) {
  const CommandEntry* entry = Find(request.command);
  // Any other request ends a firmware transfer whose length was a whole number of blocks.
  const bool finished = updating_ && !(entry && entry->action == Action::Update);
  const bool started = finished && FinishUpdate();
  Answer answer;
  if (!entry || request.length > kMaxPayload) {
    answer = Answer::Status(kStatusParameterError);
  } else {
    answer = request.write ? Write(*entry, request) : Read(*entry, request, shortReads);
  }
  answer.changed = answer.changed || finished;
  answer.restarted = answer.restarted || started;
  return answer;
}

Answer SimDevice::Read(const CommandEntry& entry, const Request& request, int shortReads) {
  bool fromStart = request.offset == 0;
  switch (entry.action) {
    case Action::Info: {
      std::array<uint8_t, 66> info = Info();
      return Slice({info.begin(), info.end()}, request.offset, kMaxPayload);
    }
    case Action::Memory: {
      unsigned limit =
          shortReads > 0 ? std::min<unsigned>(unsigned(shortReads), kMaxPayload) : kMaxPayload;
      return Slice(memory_.at(entry.command), request.offset, limit);
    }
    case Action::Description:
      return Slice(Description(), request.offset, kMaxPayload);
    case Action::Iebus:
      return Slice(ReadIebus(fromStart), request.offset, kMaxPayload);
    case Action::CurrentInput:
      return Slice({currentInput_}, request.offset, kMaxPayload);
    case Action::PaType:
      return Slice({PaType()}, request.offset, kMaxPayload);
    case Action::Event:
      return Slice({lastEvent_[0], lastEvent_[1]}, request.offset, kMaxPayload);
    case Action::IrLearn:
      return Slice(ReadIrCode(fromStart), request.offset, kMaxPayload);
    default:
      return Answer::Status(kStatusParameterError);
  }
}

Answer SimDevice::Write(const CommandEntry& entry, const Request& request) {
  const uint8_t* data = request.payload;
  switch (entry.action) {
    case Action::Update:
      return WriteUpdate(request);
    case Action::Memory:
      return WriteMemory(entry.command, request);
    default:
      break;
  }
  // Live commands: offset 0 and exactly the length the command takes.
  static const std::map<Action, unsigned> kLengths = {
      {Action::Reset, 0},        {Action::ToDefault, 0}, {Action::NaviAuto, 0},
      {Action::CurrentInput, 1}, {Action::Map, 0},       {Action::Camera, 1},
      {Action::Event, 1},        {Action::IrLearn, 0},   {Action::IrPower, 0},
      {Action::Raw, 2},          {Action::Set, 1},       {Action::TouchSetup, 0},
  };
  auto length = kLengths.find(entry.action);
  if (length == kLengths.end() || !IsCommandWrite(request, length->second)) {
    return Answer::Status(kStatusParameterError);
  }
  switch (entry.action) {
    case Action::Reset:
      return Restart();
    case Action::ToDefault:
      RestoreSample();
      return Answer::Status(kStatusOk, true);
    case Action::NaviAuto:
      memory_.at(profile_.naviCommand)[0] = profile_.detectedNaviType;
      return Answer::Status(kStatusOk, true);
    case Action::CurrentInput:
      if (data[0] > profile_.maxInput) return Answer::Status(kStatusParameterError);
      currentInput_ = data[0];
      return Answer::Status(kStatusOk, true);
    case Action::Camera:
      if (data[0] > 1) return Answer::Status(kStatusParameterError);
      cameraOn_ = data[0] == 1;
      return Answer::Status(kStatusOk);
    case Action::Event:
      return IssueEvent(data[0]);
    case Action::IrLearn:
      irLearning_ = true;
      irPollsLeft_ = irEmptyPolls_;
      irLast_ = {};
      return Answer::Status(kStatusOk);
    case Action::IrPower:  // nothing to model: the receiver's power is not observable
      return Answer::Status(kStatusOk);
    case Action::TouchSetup:
      memory_.at(profile_.touchCommand) = FoundTouchBlock();
      return Answer::Status(kStatusOk, true);
    default:
      return Answer::Status(kStatusOk);  // MAP, raw and set: accepted, no visible effect
  }
}

Answer SimDevice::WriteMemory(uint8_t command, const Request& request) {
  std::vector<uint8_t>& area = memory_.at(command);
  if (size_t(request.offset) + request.length > area.size()) {
    return Answer::Status(kStatusParameterError);
  }
  if (forgetfulWrites_) return Answer::Status(kStatusOk);
  bool changed =
      !std::equal(request.payload, request.payload + request.length, area.begin() + request.offset);
  std::copy_n(request.payload, request.length, area.begin() + request.offset);
  return Answer::Status(kStatusOk, changed);
}

Answer SimDevice::WriteUpdate(const Request& request) {
  const uint8_t* data = request.payload;
  if (request.offset == 0) {
    // Every block at offset 0 (the single first write and the first block of the transfer)
    // must open a valid image.
    if (request.length < kUpdateMagicSize || std::memcmp(data, kUpdateMagic, 4) != 0) {
      updating_ = false;
      return Answer::Status(kStatusUpdateFileError);
    }
    const bool starting = !updating_;
    if (starting) updateBytes_.clear();
    updating_ = true;
    updateVersion_ = GetU16(data + 4);
    // The boot loader erases the application as the transfer begins.
    if (starting && !keepsOldFirmware_) applicationVersion_ = 0;
  } else if (!updating_) {
    return Answer::Status(kStatusUpdateFileError);
  } else if (request.offset > updateBytes_.size()) {
    return Answer::Status(kStatusParameterError);  // a gap in the image
  }
  size_t end = size_t(request.offset) + request.length;
  if (updateBytes_.size() < end) updateBytes_.resize(end, 0);
  std::copy_n(data, request.length, updateBytes_.begin() + request.offset);
  if (request.length < 32) {
    Answer answer = Answer::Status(kStatusOk, true);
    answer.restarted = FinishUpdate();
    return answer;
  }
  // A whole image runs at once, even if the host sends nothing more (its state is saved).
  // Its last block ends in the zeros after the checksum, so only such a block is worth the
  // look over the whole image.
  const uint16_t before = applicationVersion_;
  const Identity& identity = profile_.identity;
  const bool zeroTail = std::all_of(data + request.length - 16, data + request.length,
                                    [](uint8_t b) { return b == 0; });
  if (!keepsOldFirmware_ && zeroTail &&
      UpdateImageComplete(updateBytes_, identity.deviceVersion, identity.deviceType))
    applicationVersion_ = updateVersion_;
  return Answer::Status(kStatusOk, applicationVersion_ != before || request.offset == 0);
}

bool SimDevice::FinishUpdate() {
  updating_ = false;
  const Identity& identity = profile_.identity;
  const bool whole = UpdateImageComplete(updateBytes_, identity.deviceVersion, identity.deviceType);
  // The old application was erased when the transfer began.
  if (!keepsOldFirmware_) applicationVersion_ = whole ? updateVersion_ : 0;
  return whole;
}

Answer SimDevice::Restart() {
  irLearning_ = false;
  irLast_ = {0xFF, 0, 0, 0, 0};
  lastEvent_ = {};
  cameraOn_ = false;
  iebusCurrent_.clear();
  Answer answer = Answer::Status(kStatusOk);
  answer.restarted = true;
  return answer;
}

}  // namespace qvr::sim
