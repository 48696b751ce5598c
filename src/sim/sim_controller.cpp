#include "sim/sim_controller.h"

#include <filesystem>
#include <fstream>

#include "link/bytes.h"
#include "link/packet_layout.h"
#include "platform/file_names.h"
#include "platform/folder_lock.h"
#include "sim/sim_device.h"
#include "sim/sim_packet.h"
#include "sim/sim_profiles.h"
#include "sim/sim_state_file.h"

namespace qvr::sim {
namespace {

constexpr size_t kWireLimit = 100000;

const std::vector<uint8_t> kNoBytes;

}  // namespace

SimController::SimController(std::string stateDir) : stateDir_(std::move(stateDir)) {
  // The folder exists from the start, so that its lock serialises even the first saves.
  std::error_code ignored;
  if (!stateDir_.empty()) std::filesystem::create_directories(NativePath(stateDir_), ignored);
  FolderLock lock(stateDir_);
  for (int address = 0; address < kDeviceCount; ++address) {
    devices_[size_t(address)] = std::make_unique<SimDevice>(ProfileOf(uint8_t(address)));
    if (!stateDir_.empty()) {
      SimDevice& device = *devices_[size_t(address)];
      // A damaged file leaves the sample in place; the next change rewrites the file.
      (void)LoadDeviceState(StateFilePath(stateDir_, device.profile()), device);
    }
  }
  if (!stateDir_.empty()) ApplyFaultsFile(stateDir_ + "/faults");
}

// A "faults" file in the state folder lets a separate process (a test of qvrctl) meet a
// misbehaving controller: one word a line, "silent" (nothing is answered), "absent" (the
// controller is not on the bus), "forgetful" (its devices acknowledge writes to their memory
// areas but keep what they held), "refuse <command> <offset>" (every request of that command
// at that offset is answered with a memory error), "keeps-firmware" (updates are acknowledged
// and not taken) or "restart-silent <requests>" (a device restarting answers none of that many
// requests; -1 none at all).
void SimController::ApplyFaultsFile(const std::string& path) {
  std::ifstream faults(path);
  for (std::string word; faults >> word;) {
    if (word == "silent") SilenceNext(kAlways);
    if (word == "absent") Unplug();
    if (word == "forgetful")
      for (auto& device : devices_) device->SetForgetfulWrites(true);
    if (word == "keeps-firmware") SetKeepsOldFirmware(true);
    int command = 0, offset = 0, requests = 0;
    if (word == "refuse" && faults >> command >> offset)
      StatusNext(kStatusMemoryError, kAlways, command, offset);
    if (word == "restart-silent" && faults >> requests) SetRestartSilence(requests);
  }
}

SimController::~SimController() = default;

SimDevice* SimController::DeviceAt(uint8_t address) const {
  return address < kDeviceCount ? devices_[address].get() : nullptr;
}

// ---- Device state ----

std::array<uint8_t, 66> SimController::Info(uint8_t address) const {
  SimDevice* device = DeviceAt(address);
  return device ? device->Info() : std::array<uint8_t, 66>{};
}

void SimController::SetApplicationVersion(uint8_t address, uint16_t version) {
  if (SimDevice* device = DeviceAt(address)) {
    FolderLock lock(stateDir_);
    device->SetApplicationVersion(version);
    (void)Save(address);
  }
}

void SimController::SetSerialNumber(uint8_t address, uint32_t serial) {
  if (SimDevice* device = DeviceAt(address)) device->SetSerialNumber(serial);
}

void SimController::OffsetSerialNumbers(uint32_t offset) {
  for (size_t address = 0; address < devices_.size(); ++address)
    devices_[address]->SetSerialNumber(ProfileOf(uint8_t(address)).identity.serialNumber + offset);
}

std::vector<uint8_t> SimController::Block(uint8_t address, uint8_t command) const {
  SimDevice* device = DeviceAt(address);
  if (!device) return {};
  auto area = device->memory().find(command);
  return area == device->memory().end() ? std::vector<uint8_t>{} : area->second;
}

bool SimController::SetBlock(uint8_t address, uint8_t command, const std::vector<uint8_t>& bytes) {
  SimDevice* device = DeviceAt(address);
  FolderLock lock(stateDir_);
  if (!device || !device->SetMemory(command, bytes)) return false;
  (void)Save(address);
  return true;
}

const std::vector<uint8_t>& SimController::UpdateBytes(uint8_t address) const {
  SimDevice* device = DeviceAt(address);
  return device ? device->updateBytes() : kNoBytes;
}

bool SimController::UpdateInProgress(uint8_t address) const {
  SimDevice* device = DeviceAt(address);
  return device && device->updateInProgress();
}

uint8_t SimController::CurrentInput(uint8_t address) const {
  SimDevice* device = DeviceAt(address);
  return device ? device->currentInput() : 0;
}

std::array<uint8_t, 2> SimController::LastEvent(uint8_t address) const {
  SimDevice* device = DeviceAt(address);
  return device ? device->lastEvent() : std::array<uint8_t, 2>{};
}

bool SimController::CameraOn() const {
  return devices_[kAddressMux410]->cameraOn();
}

void SimController::RestoreSample() {
  FolderLock lock(stateDir_);
  for (int address = 0; address < kDeviceCount; ++address) {
    devices_[size_t(address)]->RestoreSample();
    (void)Save(uint8_t(address));
  }
}

// ---- Live behaviour ----

void SimController::SetIrLearning(uint8_t address, int emptyPolls, std::array<uint8_t, 5> code) {
  if (SimDevice* device = DeviceAt(address)) device->SetIrLearning(emptyPolls, code);
}

void SimController::QueueIebusEntry(const std::array<uint8_t, 43>& entry) {
  devices_[kAddressMux410]->QueueIebusEntry(entry);
}

void SimController::SetIebusIdle(bool idle) {
  devices_[kAddressMux410]->SetIebusIdle(idle);
}

void SimController::SetDevicePresent(uint8_t address, bool present) {
  if (address < kDeviceCount) present_[address] = present;
}

// ---- Faults ----

void SimController::SilenceNext(int requests) {
  silence_ = requests;
}

void SimController::StatusNext(uint8_t status, int requests, int command, int offset) {
  statusCode_ = status;
  statusCount_ = requests;
  statusCommand_ = command;
  statusOffset_ = offset;
}

void SimController::CorruptChecksumNext(int replies) {
  badChecksum_ = replies;
}
void SimController::WrongOffsetNext(int replies) {
  wrongOffset_ = replies;
}
void SimController::WrongSourceNext(int replies) {
  wrongSource_ = replies;
}

void SimController::OverlongLengthNext(int replies, uint8_t length) {
  overlong_ = replies;
  overlongLength_ = length;
}

void SimController::SetShortReads(int bytesPerRead) {
  shortReads_ = bytesPerRead;
}

void SimController::UnplugAfter(int reports) {
  if (reports <= 0) {
    Unplug();
    return;
  }
  unplugAfter_ = reports;
}

void SimController::Unplug() {
  plugged_ = false;
  unplugAfter_ = -1;
  replyWaiting_ = false;
  dropAfterReply_ = false;
}

void SimController::Replug() {
  plugged_ = true;
  replugAfter_ = -1;
}

void SimController::ReplugAfter(int reports) {
  if (reports <= 0) {
    Replug();
    return;
  }
  replugAfter_ = reports;
}

void SimController::SetResetDropReports(int reports) {
  resetDropReports_ = reports;
}

void SimController::SetRestartSilence(int requests) {
  restartSilence_ = requests;
}

void SimController::SetKeepsOldFirmware(bool keeps) {
  for (auto& device : devices_) device->SetKeepsOldFirmware(keeps);
}

void SimController::SetResetAnswersFirst(bool answersFirst) {
  resetAnswersFirst_ = answersFirst;
}

void SimController::SetLatency(std::chrono::microseconds perReport) {
  latency_ = perReport;
}

void SimController::ClearFaults() {
  silence_ = 0;
  statusCount_ = 0;
  statusCommand_ = kAnyCommand;
  statusOffset_ = kAnyOffset;
  badChecksum_ = 0;
  wrongOffset_ = 0;
  wrongSource_ = 0;
  overlong_ = 0;
  shortReads_ = 0;
  unplugAfter_ = -1;
  replugAfter_ = -1;
  plugged_ = true;
  restartSilence_ = 0;
  startingUp_.fill(0);
}

// A count-based knob fires while it is non-zero; kAlways never runs out.
bool SimController::TakeCount(int& counter) {
  if (counter == 0) return false;
  if (counter > 0) --counter;
  return true;
}

// ---- Wire ----

void SimController::Record(bool request, const PacketBytes& bytes) {
  if (wire_.size() >= kWireLimit) wire_.erase(wire_.begin(), wire_.begin() + kWireLimit / 2);
  wire_.push_back({request, bytes});
}

int SimController::CountRequests(uint8_t address, uint8_t command) const {
  int count = 0;
  for (const WirePacket& packet : wire_) {
    if (packet.request && packet.bytes[kPacketDestination] == address &&
        (packet.bytes[kPacketCommand] & uint8_t(~kWriteFlag)) == command) {
      ++count;
    }
  }
  return count;
}

// ---- Transport side ----

bool SimController::ReportReachesBus() {
  if (plugged_) {
    if (unplugAfter_ != 0) {
      if (unplugAfter_ > 0) --unplugAfter_;
      return true;
    }
    Unplug();
  }
  // Off the bus: this attempt fails; the countdown brings the controller back for a later one.
  if (replugAfter_ > 0 && --replugAfter_ == 0) Replug();
  return false;
}

void SimController::Deliver(const PacketBytes& packet) {
  Record(true, packet);
  replyWaiting_ = false;
  Request request = ParseRequest(packet);
  SimDevice* device = DeviceAt(request.destination);
  if (!device || !present_[request.destination]) return;  // nobody there to answer
  if (TakeCount(silence_) || TakeCount(startingUp_[request.destination])) return;

  Answer answer;
  bool forced = statusCount_ != 0 &&
                (statusCommand_ == kAnyCommand || statusCommand_ == request.command) &&
                (statusOffset_ == kAnyOffset || statusOffset_ == request.offset);
  if (!RequestChecksumValid(packet)) {
    answer = Answer::Status(kStatusParameterError);
  } else if (forced) {
    (void)TakeCount(statusCount_);
    answer = Answer::Status(statusCode_);
  } else {
    // Another process on the same state folder may have changed the device since: the request
    // works on what it saved, and saves before that process goes on.
    FolderLock lock(stateDir_);
    if (!stateDir_.empty())
      (void)LoadDeviceState(StateFilePath(stateDir_, device->profile()), *device);
    answer = device->Handle(request, shortReads_);
    if (answer.changed && !Save(request.destination)) answer = Answer::Status(kStatusMemoryError);
    bool controllerRestarts = request.destination == kAddressController && request.write &&
                              request.command == 3 && answer.status == kStatusOk;
    if (controllerRestarts && !resetAnswersFirst_) {
      // Like the real controller: it restarts at once and its answer never goes out.
      LeaveBusForRestart();
      return;
    }
    if (answer.restarted) Restarted(request.destination);
  }
  reply_ = BuildReply(request.destination, request, answer);
  ApplyReplyFaults(reply_);
  Record(false, reply_);
  replyWaiting_ = true;
}

void SimController::ApplyReplyFaults(PacketBytes& reply) {
  if (TakeCount(wrongOffset_)) {
    PutU16(&reply[kPacketOffset], uint16_t(GetU16(&reply[kPacketOffset]) + 1));
  }
  if (TakeCount(wrongSource_)) reply[kPacketSource] = uint8_t(reply[kPacketSource] + 1);
  if (TakeCount(overlong_)) reply[kPacketLength] = overlongLength_;
  SealPacket(reply);
  if (TakeCount(badChecksum_)) reply[kPacketChecksum] ^= 0x5A;
}

PacketBytes SimController::TakeReply() {
  if (!replyWaiting_) return PacketBytes{};
  replyWaiting_ = false;
  if (dropAfterReply_) {
    // The controller restarts once its answer has gone out.
    dropAfterReply_ = false;
    LeaveBusForRestart();
  }
  return reply_;
}

void SimController::LeaveBusForRestart() {
  plugged_ = false;
  unplugAfter_ = -1;
  if (resetDropReports_ > 0 || resetDropReports_ == kAlways)
    replugAfter_ = resetDropReports_;
  else
    plugged_ = true;
}

// The controller's answer goes out before it restarts; a device starts up silently.
void SimController::Restarted(uint8_t address) {
  if (address == kAddressController)
    dropAfterReply_ = true;
  else
    startingUp_[address] = restartSilence_;
}

bool SimController::Save(uint8_t address) {
  if (stateDir_.empty()) return true;
  SimDevice& device = *devices_[address];
  return SaveDeviceState(StateFilePath(stateDir_, device.profile()), device);
}

}  // namespace qvr::sim
