// A state directory lets two simulated controllers (two program runs) meet the same devices.
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>

#include "sim/sim_update_image.h"
#include "sim_wire.h"

namespace qvr::sim::test {
namespace {

class SimStateDirectory : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("qvr-sim-state-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string dir() const { return dir_.string(); }

  std::filesystem::path dir_;
};

TEST_F(SimStateDirectory, SecondControllerSeesWhatTheFirstWrote) {
  std::vector<uint8_t> event = {1, 2, 8, 1, 0, 4, 0, 0x11};
  {
    SimController first(dir());
    SimTransport transport(first);
    std::vector<uint8_t> name(32, 0);
    name[0] = 'C', name[1] = 'a', name[2] = 'r';
    ASSERT_EQ(Write(transport, kAddressMux410, 5, 0, name).command(), 0xFF);
    ASSERT_EQ(Write(transport, kAddressTpx520, 22, 8 * 5, event).command(), 0xFF);
    ASSERT_EQ(Write(transport, kAddressTpx520, 21, 0, {3}).command(), 0xFF);
    std::vector<uint8_t> file =
        BuildUpdateFile(777, kControllerIdentity.deviceVersion, kControllerIdentity.deviceType, 10);
    ASSERT_EQ(Write(transport, kAddressController, 2, 0, {file.begin() + 4, file.end()}).command(),
              0xFF);
  }
  SimController second(dir());
  SimTransport transport(second);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(ReadArea(transport, 1, 5).data())), "Car");
  std::vector<uint8_t> table = ReadArea(transport, kAddressTpx520, 22);
  EXPECT_TRUE(std::equal(event.begin(), event.end(), table.begin() + 40));
  EXPECT_EQ(Read(transport, kAddressTpx520, 21).data(), std::vector<uint8_t>{3});
  EXPECT_EQ(GetU16(&Read(transport, kAddressController, 1).bytes[6]), 777);
  EXPECT_EQ(second.Block(kAddressMux410, 18), SimController().Block(kAddressMux410, 18));
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
    EXPECT_NE(entry.path().extension(), ".tmp");
  }
}

TEST_F(SimStateDirectory, DamagedOrMissingFilesFallBackToTheSample) {
  SimController sample;
  {
    SimController first(dir());
    ASSERT_TRUE(first.SetBlock(kAddressMux410, 17, {9, 9, 9, 9}));
    ASSERT_TRUE(first.SetBlock(kAddressTpx520, 17, {4, 4}));
  }
  {
    std::ofstream damaged(dir_ / "mux-410.state", std::ios::app);
    damaged << "block 17 zz\n";
  }
  std::filesystem::resize_file(dir_ / "tpx-520.state", 30);  // cut in the middle of a line
  SimController second(dir());
  EXPECT_EQ(second.Block(kAddressMux410, 17), sample.Block(kAddressMux410, 17));
  EXPECT_EQ(second.Block(kAddressTpx520, 17), sample.Block(kAddressTpx520, 17));

  // The next change rewrites the damaged file whole.
  SimTransport transport(second);
  ASSERT_EQ(Write(transport, kAddressMux410, 19, 0, {0x04}).command(), 0xFF);
  SimController third(dir());
  EXPECT_EQ(third.Block(kAddressMux410, 19), std::vector<uint8_t>{0x04});
  EXPECT_EQ(third.Block(kAddressMux410, 17), sample.Block(kAddressMux410, 17));

  SimController missing((dir_ / "not-there").string());
  EXPECT_EQ(missing.Block(kAddressTpx520, 16), sample.Block(kAddressTpx520, 16));
}

#ifndef _WIN32
// A state path that is no regular file is refused at its first look: no hang on a pipe, no
// endless read of a device.
TEST_F(SimStateDirectory, APipeOrADeviceIsNoStateAndIsNotRead) {
  SimController sample;
  std::filesystem::create_directories(dir_);
  ASSERT_EQ(::mkfifo((dir_ / "mux-410.state").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir_ / "tpx-520.state");
  const std::vector<uint8_t> sampleMux = sample.Block(kAddressMux410, 17);
  const std::vector<uint8_t> sampleTpx = sample.Block(kAddressTpx520, 17);
  SimController opened(dir());
  EXPECT_EQ(opened.Block(kAddressMux410, 17), sampleMux);
  EXPECT_EQ(opened.Block(kAddressTpx520, 17), sampleTpx);
}

// Two program runs on one state folder at once: each write lands on what the other saved, so
// neither undoes the other's, and no save fails for want of its temporary.
TEST_F(SimStateDirectory, TwoProcessesKeepEachOthersWrites) {
  constexpr int kWrites = 40;
  auto writer = [&](uint8_t command, uint8_t size) {
    SimController controller(dir());
    // Each exchange takes the folder's adapter lock; the other process's run of exchanges may
    // keep it a while.
    SimTransport transport(controller, AdapterSharing{false, 20000});
    int failures = 0;
    for (int i = 1; i <= kWrites; ++i) {
      std::vector<uint8_t> bytes(size, uint8_t(i));
      if (Write(transport, kAddressMux410, command, 0, bytes).command() != 0xFF) ++failures;
    }
    ::_exit(failures);
  };
  pid_t children[2];
  for (int n = 0; n < 2; ++n) {
    children[n] = ::fork();
    ASSERT_GE(children[n], 0);
    if (children[n] == 0) n == 0 ? writer(17, 4) : writer(19, 1);
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "failed writes: " << status;
  }
  SimController after(dir());
  EXPECT_EQ(after.Block(kAddressMux410, 17), std::vector<uint8_t>(4, kWrites));
  EXPECT_EQ(after.Block(kAddressMux410, 19), std::vector<uint8_t>(1, kWrites));
  // The state files, and the lock that kept the two apart, one exchange at a time.
  for (const auto& entry : std::filesystem::directory_iterator(dir_))
    EXPECT_TRUE(entry.path().extension() == ".state" || entry.path().filename() == "adapter.lock")
        << entry.path();
}
#endif

TEST_F(SimStateDirectory, UnwritableDirectoryIsAMemoryError) {
  // A folder where the device's state file should be: nothing can be saved there.
  std::filesystem::create_directories(dir_ / "mux-410.state");
  SimController controller(dir());
  SimTransport transport(controller);
  EXPECT_EQ(Write(transport, kAddressMux410, 19, 0, {0x04}).command(), 0xFC);
  EXPECT_EQ(Read(transport, kAddressMux410, 19).command(), 0x93);
}

// A file where the state folder should be takes no lock file: no report goes out, and the
// reason is kept for the user.
TEST_F(SimStateDirectory, AFolderThatTakesNoLockFileSendsNothing) {
  std::filesystem::create_directories(dir_);
  std::ofstream(dir_ / "file") << "x";
  SimController controller((dir_ / "file").string());
  SimTransport transport(controller);
  const Reply reply = Write(transport, kAddressMux410, 19, 0, {0x04});
  EXPECT_EQ(reply.sent, LinkAdapterNotReserved);
  EXPECT_EQ(transport.LockProblem().failure, AdapterLockFailure::kSystem);
  EXPECT_EQ(transport.LockProblem().path, SimulatedAdapterLockFile((dir_ / "file").string()));
  EXPECT_EQ(controller.Block(kAddressMux410, 19), SimController().Block(kAddressMux410, 19));
}

}  // namespace
}  // namespace qvr::sim::test
