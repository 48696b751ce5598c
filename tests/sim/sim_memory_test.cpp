// Identification and memory areas of the simulated devices, seen through hand-built packets.
#include <string>

#include "sim/sim_packet.h"
#include "sim_wire.h"

namespace qvr::sim::test {
namespace {

TEST(SimChecksum, MatchesKnownVectors) {
  const uint8_t abc[] = {'a', 'b', 'c'};
  EXPECT_EQ(DeviceChecksum(abc, 3), 0x04);
  EXPECT_EQ(MakeRequest(0, 1, false)[71], 0x74);
  EXPECT_EQ(MakeRequest(1, 3, true)[71], 0xF0);
  PacketBytes info = MakeRequest(0, 1, false);
  EXPECT_EQ(DeviceChecksum(info.data(), 71), 0x74);
}

TEST(SimIdentification, EachAddressAnswersWithItsOwnDeviceInfo) {
  SimController controller;
  SimTransport transport(controller);
  const Identity identities[] = {kControllerIdentity, kMux410Identity, kTpx520Identity};
  for (uint8_t address = 0; address < 3; ++address) {
    SCOPED_TRACE(identities[address].name);
    Reply reply = Read(transport, address, 1);
    ASSERT_EQ(reply.sent, LinkOk);
    ASSERT_EQ(reply.received, LinkOk);
    EXPECT_EQ(reply.command(), 0x81);
    EXPECT_EQ(reply.source(), address);
    EXPECT_EQ(reply.offset(), 0);
    EXPECT_EQ(reply.length(), 65);
    EXPECT_TRUE(reply.checksumValid());
    const uint8_t* info = &reply.bytes[6];
    EXPECT_EQ(GetU16(info), identities[address].applicationVersion);
    EXPECT_EQ(GetU32(info + 2), identities[address].serialNumber);
    EXPECT_EQ(GetU16(info + 6), identities[address].bootVersion);
    EXPECT_EQ(info[8], identities[address].deviceVersion);
    EXPECT_EQ(info[9], identities[address].deviceType);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(info + 10)), identities[address].name);
  }
}

TEST(SimIdentification, AbsentDeviceAndUnknownAddressStaySilent) {
  SimController controller;
  SimTransport transport(controller);
  controller.SetDevicePresent(kAddressTpx520, false);
  EXPECT_EQ(Read(transport, kAddressTpx520, 1).command(), 0);
  EXPECT_EQ(Read(transport, 3, 1).command(), 0);
  EXPECT_EQ(Read(transport, kAddressMux410, 1).command(), 0x81);
}

TEST(SimMemory, SampleConfigurationIsPlausible) {
  SimController controller;
  SimTransport transport(controller);
  std::vector<uint8_t> name = ReadArea(transport, kAddressMux410, 5);
  ASSERT_EQ(name.size(), 32u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(name.data())), "Demo");
  std::vector<uint8_t> mode = ReadArea(transport, kAddressMux410, 18);
  ASSERT_EQ(mode.size(), 6u);
  EXPECT_EQ(GetU16(&mode[2]), 1875);
  EXPECT_EQ(GetU16(&mode[4]), 500);
  std::vector<uint8_t> touch = ReadArea(transport, kAddressTpx520, 16);
  ASSERT_EQ(touch.size(), 12u);
  for (int i = 0; i < 4; ++i) EXPECT_NE(touch[size_t(i)], 0);
  for (int i = 0; i < 4; ++i) EXPECT_NE(GetU16(&touch[size_t(4 + 2 * i)]), 0);
  EXPECT_EQ(ReadArea(transport, kAddressTpx520, 18).size(), 12u);
  EXPECT_EQ(ReadArea(transport, kAddressTpx520, 17).size(), 2u);
}

TEST(SimMemory, WrittenBlocksReadBackAndEndWithAnEmptyReply) {
  SimController controller;
  SimTransport transport(controller);
  std::vector<uint8_t> name(32, 0);
  for (int i = 0; i < 10; ++i) name[size_t(i)] = uint8_t('A' + i);
  Reply first = Write(transport, kAddressTpx520, 5, 0, {name.begin(), name.begin() + 20});
  Reply second = Write(transport, kAddressTpx520, 5, 20, {name.begin() + 20, name.end()});
  EXPECT_EQ(first.command(), 0xFF);
  EXPECT_EQ(second.command(), 0xFF);
  EXPECT_EQ(second.offset(), 20);
  EXPECT_EQ(second.source(), kAddressTpx520);
  EXPECT_EQ(ReadArea(transport, kAddressTpx520, 5), name);

  Reply atEnd = Read(transport, kAddressTpx520, 5, 32);
  EXPECT_EQ(atEnd.command(), 0x85);
  EXPECT_EQ(atEnd.length(), 0);
  Reply tail = Read(transport, kAddressTpx520, 5, 30);
  EXPECT_EQ(tail.length(), 2);
}

TEST(SimMemory, LargeAreaIsReadIn65ByteReplies) {
  SimController controller;
  SimTransport transport(controller);
  Reply first = Read(transport, kAddressMux410, 27, 0);
  EXPECT_EQ(first.length(), 65);
  Reply last = Read(transport, kAddressMux410, 27, 96 * 8 - 3);
  EXPECT_EQ(last.length(), 3);
  EXPECT_EQ(ReadArea(transport, kAddressMux410, 27).size(), 96u * 8);
  EXPECT_EQ(ReadArea(transport, kAddressTpx520, 22).size(), 64u * 8);
}

TEST(SimMemory, EventTableEndsWithAZeroRecordAfterTheUsedOnes) {
  SimController controller;
  SimTransport transport(controller);
  for (auto [address, command] : {std::pair<uint8_t, uint8_t>{1, 27}, {2, 22}}) {
    std::vector<uint8_t> table = ReadArea(transport, address, command);
    size_t used = 0;
    while (table[used * 8 + 1] != 0 && table[used * 8 + 3] != 0) ++used;
    EXPECT_GE(used, 2u);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(table[used * 8 + size_t(i)], 0);
  }
}

TEST(SimMemory, WritesOutsideAnAreaAreRefusedAndChangeNothing) {
  SimController controller;
  SimTransport transport(controller);
  std::vector<uint8_t> before = controller.Block(kAddressMux410, 17);
  Reply tooLong = Write(transport, kAddressMux410, 17, 2, {1, 2, 3});
  EXPECT_EQ(tooLong.command(), 0xFE);
  EXPECT_EQ(tooLong.offset(), 2);
  EXPECT_TRUE(tooLong.checksumValid());
  EXPECT_EQ(Write(transport, kAddressMux410, 27, 96 * 8, std::vector<uint8_t>(8, 1)).command(),
            0xFE);
  EXPECT_EQ(controller.Block(kAddressMux410, 17), before);
  EXPECT_EQ(Write(transport, kAddressMux410, 17, 0, {5, 0, 1, 2}).command(), 0xFF);
  EXPECT_EQ(controller.Block(kAddressMux410, 17), (std::vector<uint8_t>{5, 0, 1, 2}));
}

TEST(SimMemory, UnknownCommandsAndWrongDirectionsAreParameterErrors) {
  SimController controller;
  SimTransport transport(controller);
  EXPECT_EQ(Read(transport, kAddressController, 5).command(), 0xFE);        // no memory on QVR-B
  EXPECT_EQ(Write(transport, kAddressMux410, 1, 0, {}).command(), 0xFE);    // info is read-only
  EXPECT_EQ(Read(transport, kAddressMux410, 23).command(), 0xFE);           // MAP is write-only
  EXPECT_EQ(Read(transport, kAddressTpx520, 27).command(), 0xFE);           // MUX-410 table only
  EXPECT_EQ(Write(transport, kAddressMux410, 22, 0, {6}).command(), 0xFE);  // input 7 of 6
  EXPECT_EQ(Write(transport, kAddressMux410, 31, 0, {1}).command(), 0xFE);  // raw takes two
}

TEST(SimMemory, ShortReadsStillDeliverTheWholeArea) {
  SimController controller;
  SimTransport transport(controller);
  controller.SetShortReads(5);
  EXPECT_EQ(Read(transport, kAddressMux410, 5).length(), 5);
  EXPECT_EQ(ReadArea(transport, kAddressMux410, 5), controller.Block(kAddressMux410, 5));
}

TEST(SimMemory, ToDefaultRestoresTheSample) {
  SimController controller;
  SimTransport transport(controller);
  std::vector<uint8_t> sample = controller.Block(kAddressTpx520, 18);
  EXPECT_EQ(Write(transport, kAddressTpx520, 18, 0, std::vector<uint8_t>(12, 9)).command(), 0xFF);
  EXPECT_EQ(Write(transport, kAddressTpx520, 4, 0, {}).command(), 0xFF);
  EXPECT_EQ(controller.Block(kAddressTpx520, 18), sample);
}

}  // namespace
}  // namespace qvr::sim::test
