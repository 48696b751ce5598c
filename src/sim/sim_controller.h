#pragma once
// The simulated QVR-B controller (bus address 0) with a MUX-410 (address 1) and a TPX-520
// (address 2) behind it. It answers request packets from the device side of the protocol:
// identification, memory blocks that keep what is written, event tables ended by a zero
// record, live commands, firmware update through command 2, reset and to-default. Fault knobs
// let tests make it silent, answer with status errors, corrupt replies, read short, drop off
// the bus and slow down. Reach it through SimTransport.
//
// Device behaviour worth knowing:
// - A request whose checksum is wrong is answered with status 0xFE (parameter error); a
//   request to an address without a device (3 and above, or one switched off with
//   SetDevicePresent) gets no reply at all, so the host runs into its time-out.
// - Reads answer up to 65 bytes from the requested offset to the end of the addressed area and
//   0 bytes at or beyond its end; writes outside an area, of the wrong length to a live command,
//   or reads of write-only commands are answered with 0xFE.
// - Reset (command 3) answers 0xFF, except at address 0: the controller restarts before it
//   can answer (SetResetAnswersFirst models one that answers first) and drops off the bus for
//   resetDropReports reports (the report in flight fails like a pulled cable, then opens fail
//   with LinkDisconnected), then comes back by itself.
// - A firmware transfer cut short leaves the device without an application (version 0); a
//   new update that runs to the end restores it. Once a whole image has arrived the device
//   restarts into it after its answer: the controller drops off the bus as after its reset,
//   a device behind it stays silent for SetRestartSilence requests.
// - Firmware images follow the convention of sim_update_image.h.
// - Live commands: the MUX-410 PA type follows its operating mode (DPAR byte 0: 1 active,
//   2 passive, else unknown); the navigation auto-setups set the navigation type to 2 (MUX-410)
//   or 3 (TPX-520); the TPX-520 touch-line setup stores other lines and corners; issuing an
//   event index beyond the table answers 0xFE, one at or after the table's end 0xFD; the last
//   event reads 0, 0 until an event was issued; IR-learning reads before any start answer
//   FF 00 00 00 00; a device reset forgets these live states but keeps its memory.
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/transport.h"

namespace qvr::sim {

inline constexpr uint8_t kAddressController = 0;
inline constexpr uint8_t kAddressMux410 = 1;
inline constexpr uint8_t kAddressTpx520 = 2;
inline constexpr int kDeviceCount = 3;

// What a device reports for command 1 when nothing was updated or restored from a state
// directory. Update files for a device must carry its deviceVersion and deviceType.
struct Identity {
  uint16_t applicationVersion;
  uint32_t serialNumber;
  uint16_t bootVersion;
  uint8_t deviceVersion;
  uint8_t deviceType;
  const char* name;
};
inline constexpr Identity kControllerIdentity{112, 20230417, 103, 17, 1, "QVR-B"};
inline constexpr Identity kMux410Identity{215, 41000123, 104, 33, 2, "MUX-410"};
inline constexpr Identity kTpx520Identity{307, 52000456, 105, 49, 3, "TPX-520"};

// One packet as it crossed the wire, in order of occurrence.
struct WirePacket {
  bool request;  // true: host to controller; false: the controller's reply
  PacketBytes bytes;
};

// Marks "every request from now on" for the count-based knobs.
inline constexpr int kAlways = -1;
// Marks "any command" and "any offset" for StatusNext.
inline constexpr int kAnyCommand = -1;
inline constexpr int kAnyOffset = -1;

class SimDevice;

class SimController {
 public:
  // With a non-empty `stateDir`, every device's memory, versions and current input are loaded
  // from that directory (missing or damaged files give the sample configuration) and saved
  // there, atomically, after every request that changes them. A file "faults" there, with the
  // words "silent", "absent", "forgetful" or "refuse <command> <offset>", starts the controller
  // with that fault; "keeps-firmware" starts it with devices that keep their old firmware,
  // "restart-silent <requests>" with SetRestartSilence.
  explicit SimController(std::string stateDir = {});
  ~SimController();
  SimController(const SimController&) = delete;
  SimController& operator=(const SimController&) = delete;
  // The folder its devices keep their state in ("": none).
  const std::string& stateDir() const { return stateDir_; }

  // ---- Device state, for tests and tools ----
  // The 66-byte identification block `address` answers now (zeros for an unknown address).
  std::array<uint8_t, 66> Info(uint8_t address) const;
  void SetApplicationVersion(uint8_t address, uint16_t version);
  // The serial number `address` reports from now on (several simulated adapters differ by it).
  void SetSerialNumber(uint8_t address, uint32_t serial);
  // Moves every unit's serial number `offset` on from its profile's (each bench position holds
  // other units).
  void OffsetSerialNumbers(uint32_t offset);
  // Contents of the memory area of read/write `command` (5, 16..20, 22, 27 per device); empty
  // when the device has no such area.
  std::vector<uint8_t> Block(uint8_t address, uint8_t command) const;
  // Replaces a memory area (bytes beyond its size are ignored, missing ones become 0); false
  // when the device has no such area. Saved to the state directory like a host write.
  bool SetBlock(uint8_t address, uint8_t command, const std::vector<uint8_t>& bytes);
  // Every byte the last firmware update of `address` delivered, at its offset (the first
  // single write included, the following block transfer overwriting from offset 0).
  const std::vector<uint8_t>& UpdateBytes(uint8_t address) const;
  bool UpdateInProgress(uint8_t address) const;
  uint8_t CurrentInput(uint8_t address) const;
  // Byte 0 event code, byte 1 input of the event the device issued last (0, 0: none).
  std::array<uint8_t, 2> LastEvent(uint8_t address) const;
  bool CameraOn() const;  // MUX-410 parking-assist camera as last switched
  // Restores the sample configuration of every device, as command 4 does per device.
  void RestoreSample();

  // ---- Live behaviour ----
  // IR learning at `address` answers byte 0 = 0 for `emptyPolls` reads after the start, then
  // `code` (byte 0 0xFF: no code). emptyPolls kAlways never delivers a code. Default: 3 empty
  // polls, then 01 00 04 00 11 (NEC, no repeat, address 4, command 17).
  void SetIrLearning(uint8_t address, int emptyPolls, std::array<uint8_t, 5> code);
  // The next IEBus log reads (MUX-410 command 16) return these 43-byte entries first; when the
  // queue is empty the device makes up a steady stream of plausible traffic, or answers 0 bytes
  // once SetIebusIdle(true).
  void QueueIebusEntry(const std::array<uint8_t, 43>& entry);
  void SetIebusIdle(bool idle);
  // A device that is not present never answers (the controller stays on the bus).
  void SetDevicePresent(uint8_t address, bool present);

  // ---- Fault knobs (all count-based ones take kAlways for "until cleared") ----
  // No reply to the next `requests` requests; they are not carried out.
  void SilenceNext(int requests);
  // The next `requests` requests (of `command`, the code without the write flag, or of any
  // command; at `offset` or at any) are answered with `status` (0xFB..0xFE) and not carried out.
  void StatusNext(uint8_t status, int requests, int command = kAnyCommand, int offset = kAnyOffset);
  // The next `replies` replies carry a wrong checksum (the request is carried out).
  void CorruptChecksumNext(int replies);
  // The next `replies` replies echo offset + 1 instead of the request's offset.
  void WrongOffsetNext(int replies = 1);
  // The next `replies` replies name source address + 1 instead of the addressed device.
  void WrongSourceNext(int replies = 1);
  // The next `replies` replies carry `length` (above 65) in their length byte.
  void OverlongLengthNext(int replies = 1, uint8_t length = 66);
  // Memory-area reads answer at most `bytesPerRead` bytes (0: the normal 65).
  void SetShortReads(int bytesPerRead);
  // After `reports` more successful feature reports the controller drops off the bus; the
  // report in flight then fails with LinkExchangeFailed and later opens with LinkDisconnected.
  void UnplugAfter(int reports);
  void Unplug();  // off the bus from the next report on
  void Replug();  // back on the bus at once
  bool onBus() const { return plugged_; }
  // While unplugged, the controller returns after `reports` failed report attempts.
  void ReplugAfter(int reports);
  // Failed report attempts the controller stays away after its own reset or update (default
  // 5; kAlways: until Replug).
  void SetResetDropReports(int reports);
  // After its restart (a reset, an update that took) a device behind the controller answers
  // none of its next `requests` requests, as a unit still starting up (default 0).
  void SetRestartSilence(int requests);
  // Every device acknowledges the blocks of an update but keeps the firmware it has.
  void SetKeepsOldFirmware(bool keeps);
  // The controller answers its own reset before it restarts (default: it restarts at once).
  void SetResetAnswersFirst(bool answersFirst);
  // Real time every feature report takes (send and receive each), kept to about 0.05 ms.
  void SetLatency(std::chrono::microseconds perReport);
  // Clears every fault knob above (not the latency, not device state).
  void ClearFaults();

  // ---- Wire record ----
  // Every request the controller received and every reply it produced, oldest first (the
  // record keeps the newest 100000 packets).
  const std::vector<WirePacket>& Wire() const { return wire_; }
  void ClearWire() { wire_.clear(); }
  // Requests addressed to `address` with `command` (write flag ignored) in the record.
  int CountRequests(uint8_t address, uint8_t command) const;

  // ---- Transport side (SimTransport) ----
  // Counts one feature report and tells whether the controller is on the bus for it.
  bool ReportReachesBus();
  // Takes one request; its reply (if any) waits for TakeReply.
  void Deliver(const PacketBytes& request);
  // The waiting reply, once; 72 zero bytes when none is waiting (silence, no request).
  PacketBytes TakeReply();
  std::chrono::microseconds latency() const { return latency_; }

 private:
  SimDevice* DeviceAt(uint8_t address) const;
  void Record(bool request, const PacketBytes& bytes);
  bool TakeCount(int& counter);
  void ApplyReplyFaults(PacketBytes& reply);
  bool Save(uint8_t address);
  void LeaveBusForRestart();
  void Restarted(uint8_t address);
  void ApplyFaultsFile(const std::string& path);

  std::string stateDir_;
  std::array<std::unique_ptr<SimDevice>, kDeviceCount> devices_;
  std::array<bool, kDeviceCount> present_{true, true, true};
  std::vector<WirePacket> wire_;
  bool replyWaiting_ = false;
  PacketBytes reply_{};
  bool dropAfterReply_ = false;

  // Fault state.
  int silence_ = 0;
  uint8_t statusCode_ = 0;
  int statusCount_ = 0;
  int statusCommand_ = kAnyCommand;
  int statusOffset_ = kAnyOffset;
  int badChecksum_ = 0;
  int wrongOffset_ = 0;
  int wrongSource_ = 0;
  int overlong_ = 0;
  uint8_t overlongLength_ = 66;
  int shortReads_ = 0;
  bool plugged_ = true;
  int unplugAfter_ = -1;
  int replugAfter_ = -1;
  int resetDropReports_ = 5;
  int restartSilence_ = 0;
  std::array<int, kDeviceCount> startingUp_{};  // requests each device still leaves unanswered
  bool resetAnswersFirst_ = false;
  std::chrono::microseconds latency_{0};
};

}  // namespace qvr::sim
