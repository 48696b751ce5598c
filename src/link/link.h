#pragma once
// The controller packet protocol: request/reply exchange with checksum and 500 ms time-out,
// read and write requests with their reply checks, one retry on reads, the poll hold-off,
// block-wise memory transfers and the packet log. The host it is given is pumped while a
// reply is awaited, receives the packet lines and the progress of memory transfers.
#include <cstddef>
#include <cstdint>
#include <functional>

#include "link/clock.h"
#include "link/host.h"
#include "link/link_result.h"
#include "link/transport.h"

namespace qvr {

// Checksum of the protocol: per byte x = c ^ b; c = (x << 1) & 0xFF, ^ 0x21 when bit 7 of x.
uint8_t PacketChecksum(const uint8_t* bytes, size_t count);

class Link {
 public:
  Link(Transport& transport, Host& host, Clock& clock);

  Clock& clock() { return clock_; }

  // One request and its reply: checksum written into byte 71, sent, reply polled for up to
  // 500 ms (sleeping and pumping between polls); on LinkOk `packet` holds the reply.
  [[nodiscard]] LinkResult ExchangePacket(PacketBytes& packet);
  // Read request: copies min(capacity, reply length) bytes, `count` := reply length (0 for a
  // plain 0xFF status reply).
  [[nodiscard]] LinkResult ReadPacket(uint8_t address, uint8_t command, uint32_t offset,
                                      uint8_t* destination, unsigned capacity, unsigned& count);
  // Write request of 0..65 bytes (more: DeviceParameterError without traffic); confirmed
  // only by the status 0xFF.
  [[nodiscard]] LinkResult WritePacket(uint8_t address, uint8_t command, uint32_t offset,
                                       const uint8_t* data, unsigned length);
  // ReadPacket with one retry; raises the poll hold-off to 2.
  [[nodiscard]] LinkResult DeviceRead(uint8_t address, uint8_t command, uint32_t offset,
                                      uint8_t* destination, unsigned capacity, unsigned& count);
  // WritePacket, never repeated; raises the poll hold-off to 2.
  [[nodiscard]] LinkResult DeviceWrite(uint8_t address, uint8_t command, uint32_t offset,
                                       const uint8_t* data, unsigned length);
  // Reads `total` bytes from `start` until done; a device that answers 0 bytes early gives
  // LinkExchangeFailed. Advances the host's progress by each reply's byte count. A failure
  // names its request and offset, of the requests full replies would take.
  [[nodiscard]] TransferResult ReadMemory(uint8_t address, uint8_t command, uint32_t start,
                                          uint8_t* destination, unsigned total);
  // Writes `total` bytes in blocks of `blockSize` (the first block always goes, so 0 bytes
  // sends one empty write); stops at the first failed block, which the result names.
  // Advances progress per block.
  [[nodiscard]] TransferResult WriteMemory(uint8_t address, uint8_t command, uint32_t start,
                                           const uint8_t* source, unsigned total, int blockSize);
  // True while an exchange awaits its reply. On the link's one thread that exchange lies
  // further down the caller's own stack: a nested exchange started from a pump fails with
  // LinkExchangeFailed rather than hang.
  bool exchangeBusy() const { return exchangeBusy_; }

  // The connection monitor skips a tick while this is non-zero (and counts it down).
  int pollHoldOff() const { return pollHoldOff_; }
  void setPollHoldOff(int value) { pollHoldOff_ = value; }

  // Closes the controller (program end).
  void CloseController() { transport_.CloseController(); }
  // The program that kept the adapter when an exchange last ended with LinkAdapterBusy.
  AdapterHolder BusyHolder() const { return transport_.BusyHolder(); }
  // Why the adapter lock could not be taken when an exchange last ended with
  // LinkAdapterNotReserved.
  AdapterLockProblem LockProblem() const { return transport_.LockProblem(); }
  Transport& transport() { return transport_; }

  // True when the last exchange's request went out (its reply may still have failed).
  bool requestDelivered() const { return requestDelivered_; }
  // Write requests delivered to the devices since the link was made (confirmed or not); a
  // caller compares two readings
  // to tell whether a failed transfer had already changed the device.
  uint64_t acknowledgedWrites() const { return acknowledgedWrites_; }
  // The command of the last device write attempted (0: none yet).
  uint8_t lastWriteCommand() const { return lastWriteCommand_; }
  // `call` runs once, just before the next device write goes out (none: nothing runs): what
  // must be on record before a unit changes is written then, whichever command changes it.
  void CallBeforeNextWrite(std::function<void()> call) { beforeNextWrite_ = std::move(call); }

 private:
  void LogPacket(char marker, const PacketBytes& packet);
  // Polls for the reply of a sent request; `receiveFailed` tells the caller to pump once.
  [[nodiscard]] LinkResult AwaitReply(PacketBytes& packet, bool& receiveFailed);

  Transport& transport_;
  Host& host_;
  Clock& clock_;
  bool exchangeBusy_ = false;
  int pollHoldOff_ = 0;
  uint32_t logTimeBase_ = 0;
  bool logTimeBaseSet_ = false;  // a tick count of 0 is a valid base
  bool requestDelivered_ = false;
  uint64_t acknowledgedWrites_ = 0;
  uint8_t lastWriteCommand_ = 0;
  std::function<void()> beforeNextWrite_;
};

// Tells whether the devices confirmed a write since it was made: a transfer that fails after
// that has left its device partly changed.
class WriteWatch {
 public:
  explicit WriteWatch(const Link& link) : link_(link), start_(link.acknowledgedWrites()) {}
  bool deviceChanged() const { return link_.acknowledgedWrites() != start_; }
  // The command the transfer was at when it stopped (its last write attempted).
  uint8_t lastCommand() const { return link_.lastWriteCommand(); }

 private:
  const Link& link_;
  uint64_t start_;
};

// Keeps the adapter this program's from construction to destruction, across the exchanges of
// one operation, so that no other program's reports come between them.
class AdapterHold {
 public:
  explicit AdapterHold(Link& link) : transport_(link.transport()) { transport_.HoldAdapter(true); }
  ~AdapterHold() { transport_.HoldAdapter(false); }
  AdapterHold(const AdapterHold&) = delete;
  AdapterHold& operator=(const AdapterHold&) = delete;

 private:
  Transport& transport_;
};

}  // namespace qvr
