// Block-wise reads and writes of a device memory area.
#include <array>
#include <numeric>
#include <vector>

#include "link/link_fixture.h"

namespace qvr::test {
namespace {

using MemoryTransfer = LinkFixture;

std::vector<uint8_t> Counting(size_t n, uint8_t first) {
  std::vector<uint8_t> bytes(n);
  std::iota(bytes.begin(), bytes.end(), first);
  return bytes;
}

TEST_F(MemoryTransfer, ReadFollowsTheRepliesUntilTheTotalArrived) {
  transport.script = {DataReply(1, 5, 0, Counting(20, 0)), DataReply(1, 5, 20, Counting(12, 20)),
                      DataReply(1, 5, 32, {})};
  std::array<uint8_t, 32> name{};
  ASSERT_EQ(link.ReadMemory(1, 5, 0, name.data(), 32), LinkOk);
  ASSERT_EQ(transport.sent.size(), 2u);
  EXPECT_EQ(transport.SentOffset(0), 0u);
  EXPECT_EQ(transport.SentOffset(1), 20u);
  EXPECT_EQ(std::vector<uint8_t>(name.begin(), name.end()), Counting(32, 0));
  EXPECT_EQ(host.progressDone, 32);
}

TEST_F(MemoryTransfer, ReadEndingEarlyFailsAndKeepsWhatArrived) {
  transport.script = {DataReply(1, 5, 0, Counting(20, 1)), DataReply(1, 5, 20, {})};
  std::array<uint8_t, 32> name{};
  EXPECT_EQ(link.ReadMemory(1, 5, 0, name.data(), 32), LinkExchangeFailed);
  EXPECT_EQ(transport.sent.size(), 2u);
  EXPECT_EQ(name[19], 20);
  EXPECT_EQ(name[20], 0);
}

TEST_F(MemoryTransfer, ReadNeverWritesPastTheTotal) {
  transport.script = {DataReply(1, 17, 0, Counting(20, 1))};
  std::array<uint8_t, 8> area{};
  area.fill(0xEE);
  EXPECT_EQ(link.ReadMemory(1, 17, 0, area.data(), 4), LinkOk);
  EXPECT_EQ(area, (std::array<uint8_t, 8>{1, 2, 3, 4, 0xEE, 0xEE, 0xEE, 0xEE}));
  EXPECT_EQ(host.progressDone, 4);
}

TEST_F(MemoryTransfer, ReadFailureOfADeviceIsReturnedAfterItsRetry) {
  transport.script = {StatusReply(1, kStatusMemoryError), StatusReply(1, kStatusMemoryError)};
  std::array<uint8_t, 4> area{};
  EXPECT_EQ(link.ReadMemory(1, 17, 0, area.data(), 4), DeviceMemoryError);
  EXPECT_EQ(host.progressDone, 0);
}

TEST_F(MemoryTransfer, WriteGoesInBlocksWithTheLastOneShort) {
  transport.responder = [](const PacketBytes& r) -> std::optional<Answer> {
    return StatusReply(1, kStatusOk, GetU16(&r[kPacketOffset]));
  };
  const std::vector<uint8_t> image = Counting(70, 0);
  ASSERT_EQ(link.WriteMemory(1, 27, 0, image.data(), 70, 32), LinkOk);

  ASSERT_EQ(transport.sent.size(), 3u);
  const unsigned offsets[] = {0, 32, 64};
  const unsigned lengths[] = {32, 32, 6};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(transport.sent[i][kPacketCommand], 27 | 0x80);
    EXPECT_EQ(transport.SentOffset(i), offsets[i]);
    EXPECT_EQ(transport.SentLength(i), lengths[i]);
    EXPECT_EQ(transport.sent[i][kPacketPayload], offsets[i]);  // the block's first byte
  }
  EXPECT_EQ(transport.sent[2][kPacketPayload + 5], 69);
  EXPECT_EQ(transport.sent[2][kPacketPayload + 6], 0);  // nothing after the data
  EXPECT_EQ(host.progressDone, 70);
}

TEST_F(MemoryTransfer, EmptyWriteStillSendsOneRequest) {
  transport.script = {StatusReply(2, kStatusOk)};
  EXPECT_EQ(link.WriteMemory(2, 3, 0, nullptr, 0, 32), LinkOk);
  ASSERT_EQ(transport.sent.size(), 1u);
  EXPECT_EQ(transport.SentLength(0), 0u);
}

TEST_F(MemoryTransfer, WriteStopsAtTheFirstFailedBlock) {
  transport.script = {StatusReply(1, kStatusOk), StatusReply(1, kStatusMemoryError, 32)};
  const std::vector<uint8_t> image = Counting(96, 0);
  EXPECT_EQ(link.WriteMemory(1, 27, 0, image.data(), 96, 32), DeviceMemoryError);
  EXPECT_EQ(transport.sent.size(), 2u);
  EXPECT_EQ(host.progressDone, 32);
}

TEST_F(MemoryTransfer, UnusableBlockSizesFailWithoutLooping) {
  const std::vector<uint8_t> image = Counting(70, 0);
  EXPECT_EQ(link.WriteMemory(1, 27, 0, image.data(), 70, 0), DeviceParameterError);
  EXPECT_TRUE(transport.sent.empty());
  EXPECT_EQ(link.WriteMemory(1, 27, 0, image.data(), 70, 66), DeviceParameterError);
  EXPECT_TRUE(transport.sent.empty());
}

}  // namespace
}  // namespace qvr::test
