// Block-wise reads and writes of a device memory area.
#include <numeric>

#include "link/scripted_transport.h"

namespace qvr::test {
namespace {

using MemoryTransfer = LinkFixture;

std::vector<uint8_t> Counting(size_t n, uint8_t first) {
  std::vector<uint8_t> bytes(n);
  std::iota(bytes.begin(), bytes.end(), first);
  return bytes;
}

TEST_F(MemoryTransfer, ReadFollowsTheRepliesAndFailsWhenTheDeviceEndsEarly) {
  transport.script = {Data(1, 5, 0, Counting(20, 0)), Data(1, 5, 20, Counting(12, 20))};
  ASSERT_EQ(link.ReadMemory(1, 5, 0, buffer.data(), 32), LinkOk);
  ASSERT_EQ(transport.sent.size(), 2u);
  EXPECT_EQ(transport.SentOffset(1), 20u);
  EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + 32), Counting(32, 0));
  EXPECT_EQ(host.progressDone, 32);

  transport.script = {Data(1, 5, 0, Counting(20, 1)), Data(1, 5, 20, {})};
  const TransferResult early = link.ReadMemory(1, 5, 0, buffer.data(), 32);
  EXPECT_EQ(early, LinkExchangeFailed);
  EXPECT_EQ(transport.sent.size(), 4u);
  // The empty reply is the place: a second request where one was expected.
  EXPECT_EQ(early.place().block, 2);
  EXPECT_EQ(early.place().blocks, 2);
  EXPECT_EQ(early.place().offset, 20u);
}

TEST_F(MemoryTransfer, ReadNeverWritesPastTheTotal) {
  buffer.fill(0xEE);
  transport.script = {Data(1, 17, 0, Counting(20, 1))};
  EXPECT_EQ(link.ReadMemory(1, 17, 0, buffer.data(), 4), LinkOk);
  EXPECT_EQ(buffer[3], 4);
  EXPECT_EQ(buffer[4], 0xEE);
}

TEST_F(MemoryTransfer, WriteGoesInBlocksWithTheLastOneShort) {
  transport.responder = [](const PacketBytes& r) -> std::optional<Answer> {
    return Status(1, kStatusOk, GetU16(&r[kPacketOffset]));
  };
  const std::vector<uint8_t> image = Counting(70, 0);
  ASSERT_EQ(link.WriteMemory(1, 27, 0, image.data(), 70, 32), LinkOk);
  ASSERT_EQ(transport.sent.size(), 3u);
  const unsigned offsets[] = {0, 32, 64}, lengths[] = {32, 32, 6};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(transport.SentOffset(i), offsets[i]);
    EXPECT_EQ(transport.sent[i][kPacketLength], lengths[i]);
    EXPECT_EQ(transport.sent[i][kPacketPayload], offsets[i]);  // each block's first byte
  }
  EXPECT_EQ(transport.sent[2][kPacketPayload + 6], 0);  // nothing after the data
}

TEST_F(MemoryTransfer, UnusableBlockSizesFailWithoutTraffic) {
  // A block size of 0 would otherwise never advance.
  EXPECT_EQ(link.WriteMemory(1, 27, 0, buffer.data(), 40, 0), DeviceParameterError);
  EXPECT_EQ(link.WriteMemory(1, 27, 0, buffer.data(), 66, 66), DeviceParameterError);
  EXPECT_TRUE(transport.sent.empty());
}

}  // namespace
}  // namespace qvr::test
