#pragma once
// One simulated device on the controller's bus, driven by its profile: memory areas that keep
// what is written, the live commands, IR learning, the IEBus stream and firmware reception.
#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "sim/sim_packet.h"
#include "sim/sim_profiles.h"

namespace qvr::sim {

class SimDevice {
 public:
  explicit SimDevice(const Profile& profile);

  // Carries out one request whose checksum has been checked. `shortReads` > 0 limits the bytes
  // a memory-area read answers.
  Answer Handle(const Request& request, int shortReads);

  // ---- Kept across restarts (and in the state directory) ----
  std::array<uint8_t, 66> Info() const;
  uint16_t applicationVersion() const { return applicationVersion_; }
  void SetApplicationVersion(uint16_t version) { applicationVersion_ = version; }
  void SetSerialNumber(uint32_t serial) { serialNumber_ = serial; }
  const std::map<uint8_t, std::vector<uint8_t>>& memory() const { return memory_; }
  // Replaces an area, fitted to its size; false for an unknown area.
  bool SetMemory(uint8_t command, const std::vector<uint8_t>& bytes);
  uint8_t currentInput() const { return currentInput_; }
  void SetCurrentInput(uint8_t input) { currentInput_ = input; }
  void RestoreSample();
  const Profile& profile() const { return profile_; }

  // ---- Live state ----
  const std::vector<uint8_t>& updateBytes() const { return updateBytes_; }
  bool updateInProgress() const { return updating_; }
  std::array<uint8_t, 2> lastEvent() const { return lastEvent_; }
  bool cameraOn() const { return cameraOn_; }
  void SetIrLearning(int emptyPolls, std::array<uint8_t, 5> code);
  void QueueIebusEntry(const std::array<uint8_t, 43>& entry) { iebusQueue_.push_back(entry); }
  void SetIebusIdle(bool idle) { iebusIdle_ = idle; }
  // A worn-out memory: writes to the areas are acknowledged but not kept.
  void SetForgetfulWrites(bool forgetful) { forgetfulWrites_ = forgetful; }
  // A boot loader that acknowledges every update block but keeps the application it has: never
  // erased, never replaced, started again as it was.
  void SetKeepsOldFirmware(bool keeps) { keepsOldFirmware_ = keeps; }

 private:
  const CommandEntry* Find(uint8_t command) const;
  Answer Read(const CommandEntry& entry, const Request& request, int shortReads);
  Answer Write(const CommandEntry& entry, const Request& request);
  Answer WriteMemory(uint8_t command, const Request& request);
  Answer WriteUpdate(const Request& request);
  Answer IssueEvent(uint8_t index);
  Answer Restart();
  // Ends a firmware transfer; true when the image was whole, so that the boot loader starts the
  // application (the device restarts).
  bool FinishUpdate();
  std::vector<uint8_t> ReadIrCode(bool advance);
  std::vector<uint8_t> ReadIebus(bool advance);
  std::vector<uint8_t> Description() const;
  uint8_t PaType() const;

  const Profile& profile_;
  uint16_t applicationVersion_;
  uint32_t serialNumber_;
  std::map<uint8_t, std::vector<uint8_t>> memory_;
  uint8_t currentInput_ = 0;

  std::array<uint8_t, 2> lastEvent_{};
  bool cameraOn_ = false;

  bool irLearning_ = false;
  int irPollsLeft_ = 0;
  int irEmptyPolls_ = 3;
  std::array<uint8_t, 5> irCode_{0x01, 0x00, 0x04, 0x00, 0x11};
  std::array<uint8_t, 5> irLast_{0xFF, 0, 0, 0, 0};

  std::deque<std::array<uint8_t, 43>> iebusQueue_;
  std::vector<uint8_t> iebusCurrent_;
  bool iebusIdle_ = false;
  bool forgetfulWrites_ = false;
  bool keepsOldFirmware_ = false;
  uint32_t iebusCounter_ = 0;
  uint16_t iebusTime_ = 0;

  bool updating_ = false;
  uint16_t updateVersion_ = 0;
  std::vector<uint8_t> updateBytes_;
};

}  // namespace qvr::sim
