// How a transport keeps its adapter: the lock taken before a report, let go after the exchange
// unless an operation holds it or the command keeps it, taken afresh on another node, and what
// stood in the way kept only until the next attempt. Lock files stand for the adapter here.
#include "link/adapter_keeper.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/ldr_builder.h"

namespace qvr {
namespace {

using Kind = AdapterLock::Kind;
using Outcome = AdapterLockAttempt::Outcome;

class Keeper : public ::testing::Test {
 protected:
  std::string File(const char* name) const { return folder.File(name); }
  // Whether another program could take the adapter at `path` now (it lets go at once).
  bool FreeForOthers(const std::string& path) {
    AdapterLock other(path, Kind::kLockFile);
    return other.TryTake().outcome == Outcome::kTaken;
  }
  test::TempDir folder;
};

TEST_F(Keeper, AnExchangeKeepsTheAdapterAndLetsGoAfterUnlessHeld) {
  AdapterKeeper keeper;
  const std::string adapter = File("a.lock");
  ASSERT_EQ(keeper.Take(adapter, Kind::kLockFile), LinkOk);
  EXPECT_FALSE(FreeForOthers(adapter));
  keeper.ExchangeEnded();
  EXPECT_TRUE(FreeForOthers(adapter));

  // An operation holds it between its exchanges, holds nest, and the last end lets go.
  keeper.Hold(true);
  keeper.Hold(true);
  ASSERT_EQ(keeper.Take(adapter, Kind::kLockFile), LinkOk);
  keeper.ExchangeEnded();
  keeper.Hold(false);
  EXPECT_FALSE(FreeForOthers(adapter));
  keeper.Hold(false);
  EXPECT_TRUE(FreeForOthers(adapter));

  // A command keeps it to the end; a new node's lock replaces the old one's.
  AdapterKeeper command(AdapterSharing{true});
  ASSERT_EQ(command.Take(adapter, Kind::kLockFile), LinkOk);
  command.ExchangeEnded();
  EXPECT_FALSE(FreeForOthers(adapter));
  ASSERT_EQ(command.Take(File("b.lock"), Kind::kLockFile), LinkOk);
  EXPECT_TRUE(FreeForOthers(adapter));
  EXPECT_FALSE(FreeForOthers(File("b.lock")));
  command.Reopened(File("c.lock"));
  EXPECT_TRUE(FreeForOthers(File("b.lock")));
}

TEST_F(Keeper, InUseAndFailuresAreKeptOnlyUntilTheNextAttempt) {
  const std::string adapter = File("a.lock");
  AdapterLock other(adapter, Kind::kLockFile);
  ASSERT_EQ(other.TryTake().outcome, Outcome::kTaken);
  AdapterKeeper keeper;
  EXPECT_EQ(keeper.Take(adapter, Kind::kLockFile, 0), LinkAdapterBusy);
#ifndef _WIN32
  EXPECT_NE(keeper.BusyHolder().processId, 0u);
#endif
  // A short wait sees the other let go within it.
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    other.Release();
  });
  EXPECT_EQ(keeper.Take(adapter, Kind::kLockFile, 60000), LinkOk);
  releaser.join();
  EXPECT_EQ(keeper.BusyHolder().processId, 0u);
  keeper.ReleaseAll();

  // A folder where the lock file belongs: nothing goes ahead, and why is kept.
  std::filesystem::create_directories(File("dir.lock"));
  EXPECT_EQ(keeper.Take(File("dir.lock"), Kind::kLockFile), LinkAdapterNotReserved);
  EXPECT_NE(keeper.Problem().failure, AdapterLockFailure::kNone);
  EXPECT_EQ(keeper.Problem().path, File("dir.lock"));
  EXPECT_EQ(keeper.Take(adapter, Kind::kLockFile), LinkOk);
  EXPECT_EQ(keeper.Problem().failure, AdapterLockFailure::kNone);
}

}  // namespace
}  // namespace qvr
