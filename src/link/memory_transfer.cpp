// Block-wise transfers of a device memory area on top of single read and write requests.
#include <algorithm>
#include <array>

#include "link/link.h"
#include "link/packet_layout.h"

namespace qvr {

namespace {

// The requests a transfer of `total` bytes takes in pieces of `piece` (at least one).
int BlocksOf(unsigned total, unsigned piece) {
  return std::max(1, int((total + piece - 1) / piece));
}

}  // namespace

TransferResult Link::ReadMemory(uint8_t address, uint8_t command, uint32_t start,
                                uint8_t* destination, unsigned total) {
  // A reply carries at most kMaxPayload bytes (longer ones are refused by the exchange), so a
  // reply is never cut before it is limited to what is left.
  std::array<uint8_t, kMaxPayload> scratch;
  unsigned done = 0;
  unsigned remaining = total;
  int block = 0;
  // Short replies take more requests than expected; the count then grows with them.
  const auto place = [&] {
    return TransferPlace{block, std::max(block, BlocksOf(total, kMaxPayload)), start + done,
                         command};
  };
  for (;;) {
    unsigned count = 0;
    ++block;
    LinkResult result =
        DeviceRead(address, command, start + done, scratch.data(), unsigned(scratch.size()), count);
    if (result != LinkOk) return {result, place()};
    if (count == 0) break;  // the device has no more data
    count = std::min(count, remaining);
    host_.AdvanceProgress(int(count));
    std::copy_n(scratch.data(), count, destination + done);
    done += count;
    remaining -= count;
    if (remaining == 0) break;
  }
  if (done == total) return LinkOk;
  return {LinkExchangeFailed, place()};
}

TransferResult Link::WriteMemory(uint8_t address, uint8_t command, uint32_t start,
                                 const uint8_t* source, unsigned total, int blockSize) {
  // A block size of 0 would never advance.
  if (blockSize <= 0) return DeviceParameterError;
  unsigned done = 0;
  unsigned remaining = total;
  const int blocks = BlocksOf(total, unsigned(blockSize));
  int block = 0;
  // The first block always goes, so an empty area still sends one (empty) write.
  do {
    const unsigned n = std::min(remaining, unsigned(blockSize));
    const uint8_t* bytes = source != nullptr ? source + done : nullptr;
    ++block;
    LinkResult result = DeviceWrite(address, command, start + done, bytes, n);
    if (result != LinkOk) return {result, {block, blocks, start + done, command}};
    host_.AdvanceProgress(int(n));
    done += n;
    remaining -= n;
  } while (remaining > 0);
  return LinkOk;
}

}  // namespace qvr
