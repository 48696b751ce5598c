// Backups through hidapi's hidraw backend and an emulated adapter: a restore gives back every
// byte of the right unit, the backup that matters is never pruned away, "latest" is the right
// one, and nothing below the data folder is followed through a link.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "devices/backup/backup_store.h"
#include "devices/backup/raw_image.h"
#include "usb/usb_fixture.h"

namespace qvr::test {
namespace {

namespace fs = std::filesystem;

constexpr int kNobody = 65534;
constexpr const char* kMuxUnit = "MUX-410-41000123";
constexpr std::time_t kIn2099 = 4070908800;  // 2099-01-01T00:00:00Z

class BackupsOverUsb : public UsbGroup {
 protected:
  static void SetUpTestSuite() {
    UsbGroup::SetUpTestSuite();
    bed->Plug({});
  }
  void SetUp() override {
    ::chmod(data.path.c_str(), 0755);
    SetEnvironment(kDataFolderVariable, data.path);
  }
  std::string Backups() const { return data.path + "/qvr-service/backups"; }
  std::string Unit(const char* unit = kMuxUnit) const { return Backups() + "/" + unit; }
  std::vector<BackupEntry> Listed(const char* device = "MUX-410", uint32_t serial = 41000123) {
    return ListUnitBackups(Backups(), device, serial);
  }
  std::vector<uint8_t> Block(uint8_t address, uint8_t command) {
    std::vector<uint8_t> bytes;
    bed->WithModel(0, [&](sim::SimController& model) { bytes = model.Block(address, command); });
    return bytes;
  }
  void SetBlock(uint8_t address, uint8_t command, const std::vector<uint8_t>& bytes) {
    bed->WithModel(0, [&](sim::SimController& model) { model.SetBlock(address, command, bytes); });
  }
  // A configuration of the unit as it is, with one value changed so a write carries something.
  std::string EditedCopy(const char* device, const std::string& path, const std::string& key,
                         const char* value) {
    EXPECT_EQ(Qvrctl({"read", device, path}).status, 0);
    std::string text = FileText(path);
    const size_t at = text.find(key + "=");
    if (at == std::string::npos) ADD_FAILURE() << key << " is not in " << path;
    const size_t from = at + key.size() + 1;
    text.replace(from, text.find_first_of("\r\n", at) - from, value);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  Scratch data, files;
};

// The DPAR flags' bits 6 and 7 and the TPX-520's touch block, which no *.MUX file carries, come
// back with the rest; another unit's backup goes on only when asked for.
TEST_F(BackupsOverUsb, ARestoreGivesBackEveryByteOfTheRightUnit) {
  SetBlock(sim::kAddressMux410, 20, {0x01, 0x00, 0xC1});
  const std::string edited = EditedCopy("mux-410", files / "car.MUX", "ONPOWERTO", "1234");
  ASSERT_EQ(Qvrctl({"write", "mux-410", edited, "--yes"}).status, 0);
  EXPECT_EQ(Block(sim::kAddressMux410, 20)[2], 0x01) << "the file cannot hold bits 6 and 7";
  ProgramResult restored = Qvrctl({"restore", "mux-410", "--yes"});
  ASSERT_EQ(restored.status, 0) << restored.err;
  EXPECT_EQ(Block(sim::kAddressMux410, 20)[2], 0xC1);
  EXPECT_NE(restored.out.find("Restoring the backup of "), std::string::npos) << restored.out;
  EXPECT_NE(restored.out.find("(no. 1)"), std::string::npos) << restored.out;
  EXPECT_NE(restored.out.find("read back: it is what was sent"), std::string::npos);

  // The unit's own calibration changes after the backup (an auto-setup): the restore brings the
  // backed-up one back, and checks it in the read-back.
  const std::vector<uint8_t> touch = {3, 4, 1, 2, 96, 0, 0xA0, 0x0F, 112, 0, 0x80, 0x0F};
  SetBlock(sim::kAddressTpx520, 16, touch);
  ASSERT_EQ(Qvrctl({"write", "tpx-520",
                    EditedCopy("tpx-520", files / "t.MUX", "OnPowerTOmS", "1500"), "--yes"})
                .status,
            0);
  SetBlock(sim::kAddressTpx520, 16, {1, 2, 3, 4, 120, 0, 0x6E, 0x0F, 140, 0, 0x3C, 0x0F});
  restored = Qvrctl({"restore", "tpx-520", "--yes"});
  ASSERT_EQ(restored.status, 0) << restored.err;
  EXPECT_EQ(Block(sim::kAddressTpx520, 16), touch);

  // A plain configuration file is written as a write would, saying what it cannot give back.
  restored = Qvrctl({"restore", "mux-410", edited, "--yes", "--no-backup"});
  ASSERT_EQ(restored.status, 0) << restored.err;
  EXPECT_NE(restored.err.find("cannot give back bits 6 and 7 of the DPAR flags"), std::string::npos)
      << restored.err;

  // Unit 41000124's backup, as a replacement unit's installer would bring it along.
  const BackupEntry own = Listed().front();
  const std::string other = Backups() + "/MUX-410-41000124/" + own.folder;
  fs::create_directories(other);
  fs::copy_file(own.path, other + "/car.MUX");
  RawImage raw = *ReadRawImage(own.rawPath);
  raw.serial = 41000124;
  std::ofstream(other + "/" + kRawImageFileName) << RawImageText(raw);
  const size_t requests = bed->Requests(0).size();
  const ProgramResult refused =
      Qvrctl({"--log", "restore", "mux-410", other + "/car.MUX", "--yes"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("serial number 41000124, but the unit connected has serial number "
                             "41000123; nothing was sent"),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(refused.err.find("00->01 CMD:91"), std::string::npos) << "nothing was written";
  EXPECT_GT(bed->Requests(0).size(), requests) << "the unit was asked who it is";
  const ProgramResult replaced =
      Qvrctl({"restore", "mux-410", other + "/car.MUX", "--yes", "--other-unit"});
  EXPECT_EQ(replaced.status, 0) << replaced.err;
  EXPECT_EQ(Block(sim::kAddressMux410, 20)[2], 0xC1);
}

// The unit's first backup stays for good, the one being restored and the newest N beside it;
// numbers, not clock times, say which is newest; a backup of a half-written unit is marked and
// passed over by "latest".
TEST_F(BackupsOverUsb, TheBackupsThatMatterAreKeptAndLatestIsTheRightOne) {
  const std::string a = EditedCopy("mux-410", files / "a.MUX", "ONPOWERTO", "1234");
  const std::string b = EditedCopy("mux-410", files / "b.MUX", "ONPOWERTO", "4321");
  for (int change = 0; change < 30; ++change)
    ASSERT_EQ(
        Qvrctl({"--keep-backups", "3", "write", "mux-410", change % 2 ? a : b, "--yes"}).status, 0);
  std::vector<BackupEntry> kept = Listed();
  ASSERT_EQ(kept.size(), 4u);
  EXPECT_TRUE(kept[0].first);
  EXPECT_EQ(kept[0].sequence, 1u);
  EXPECT_EQ(kept[3].sequence, 30u);

  // Restoring the oldest of the newest three keeps it, although the backup made first would
  // push it out.
  const BackupEntry oldest = kept[1];
  ASSERT_EQ(Qvrctl({"--keep-backups", "3", "restore", "mux-410", oldest.path, "--yes"}).status, 0);
  kept = Listed();
  ASSERT_EQ(kept.size(), 5u);
  EXPECT_EQ(kept[1].folder, oldest.folder);

  // A backup made while the clock ran ahead stays in its place among the numbers.
  const fs::path ahead = fs::path(Unit()) / kept.back().folder;
  fs::rename(ahead, fs::path(Unit()) / BackupFolderName(kept.back().sequence, kIn2099));
  for (const std::string& file : {a, b})
    ASSERT_EQ(Qvrctl({"--keep-backups", "3", "write", "mux-410", file, "--yes"}).status, 0);
  kept = Listed();
  EXPECT_EQ(kept.back().sequence, 33u) << kept.back().folder;
  EXPECT_EQ(kept[kept.size() - 3].timeName, "20990101T000000Z");

  // A write cut half-way, the adapter gone from then on: the history names both serial numbers,
  // read before it went, the next backup (of the half-written unit) is marked and "latest" gives
  // back the one before it.
  const int before = bed->IoctlCount(0);
  ASSERT_EQ(Qvrctl({"read", "mux-410", files / "probe.MUX"}).status, 0);
  // The backup's read takes about as many as a read; a dozen more reach into the write.
  bed->FailIoctlAfter(0, bed->IoctlCount(0) - before + 12, EPIPE, -1);
  const ProgramResult cut = Qvrctl({"write", "mux-410", a, "--yes"});
  bed->ClearFaults(0);
  ASSERT_EQ(cut.status, 1) << cut.err;
  EXPECT_NE(cut.err.find("it may now hold a mix"), std::string::npos) << cut.err;
  const nlohmann::json changes =
      nlohmann::json::parse(Qvrctl({"--json", "history"}).out)["history"];
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back()["result"], "failed");
  EXPECT_EQ(changes.back()["unit_serial"], 41000123u);
  EXPECT_EQ(changes.back()["adapter_serial"], sim::kControllerIdentity.serialNumber);
  const BackupEntry sound = Listed().back();
  ASSERT_EQ(Qvrctl({"write", "mux-410", b, "--yes"}).status, 0);
  kept = Listed();
  EXPECT_TRUE(kept.back().afterFailedChange);
  const ProgramResult listed = Qvrctl({"backups", "mux-410"});
  EXPECT_NE(listed.out.find("after a failed change  " + kept.back().path), std::string::npos)
      << listed.out;
  const ProgramResult latest = Qvrctl({"--json", "restore", "mux-410", "--yes"});
  ASSERT_EQ(latest.status, 0) << latest.err;
  EXPECT_EQ(nlohmann::json::parse(latest.out)["file"], sound.path) << latest.out;
}

// Backups made before they were numbered are listed first, in time order, and restored; a unit
// folder that is a link is refused and what it points to is never touched; the data folder
// itself may be the user's link; another user's folders are never pruned.
TEST_F(BackupsOverUsb, NothingBelowTheDataFolderIsFollowed) {
  const std::string file = EditedCopy("mux-410", files / "c.MUX", "ONPOWERTO", "1234");
  ASSERT_EQ(Qvrctl({"write", "mux-410", file, "--yes"}).status, 0);
  const BackupEntry made = Listed().front();
  for (const char* older : {"20251101T080000Z", "20251001T080000Z"}) {
    fs::create_directories(Unit() + "/" + older);
    fs::copy_file(made.path, Unit() + "/" + older + "/old.MUX");
  }
  std::vector<BackupEntry> listed = Listed();
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[0].timeName, "20251001T080000Z");
  EXPECT_TRUE(listed[0].first);
  EXPECT_EQ(listed[1].sequence, 0u);
  EXPECT_EQ(listed[2].folder, made.folder);
  const ProgramResult old = Qvrctl({"restore", "mux-410", listed[1].path, "--yes"});
  EXPECT_EQ(old.status, 0) << old.err;
  EXPECT_NE(old.err.find("holds no exact image"), std::string::npos) << old.err;

  // The unit's folder replaced by a link to a folder of backup-like folders elsewhere.
  Scratch elsewhere;
  for (int n = 0; n < 25; ++n) fs::create_directories(elsewhere / BackupFolderName(n + 1, n));
  fs::rename(Unit(), files / "moved");
  fs::create_directory_symlink(elsewhere.path, Unit());
  const ProgramResult linked = Qvrctl({"--log", "write", "mux-410", file, "--yes"});
  EXPECT_EQ(linked.status, 1);
  EXPECT_NE(linked.err.find("is a link: backups are kept in real folders only"), std::string::npos)
      << linked.err;
  EXPECT_EQ(linked.err.find("00->01 CMD:91"), std::string::npos) << "nothing was written";
  EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere.path), fs::directory_iterator()), 25);
  fs::remove(Unit());
  fs::rename(files / "moved", Unit());

  // The user's data folder moved to another disk and linked back: backups follow it.
  Scratch disk;
  fs::rename(data.path + "/qvr-service", disk / "qvr-service");
  const std::string link = files / "data-link";
  fs::create_directory_symlink(disk.path, link);
  SetEnvironment(kDataFolderVariable, link);
  ASSERT_EQ(Qvrctl({"--keep-backups", "1", "write", "mux-410", file, "--yes"}).status, 0);
  EXPECT_EQ(ListUnitBackups(disk / "qvr-service/backups", "MUX-410", 41000123).size(), 2u);

  // Root with a data folder in another user's home: that user's unit folder is left as it is.
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to own folders as another user";
  SetEnvironment(kDataFolderVariable, data.path);
  fs::remove_all(Unit());
  ASSERT_EQ(Qvrctl({"write", "mux-410", file, "--yes"}).status, 0);
  ASSERT_EQ(Qvrctl({"write", "mux-410", file, "--yes"}).status, 0);
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(data.path))
    ASSERT_EQ(::lchown(entry.path().c_str(), kNobody, kNobody), 0);
  ASSERT_EQ(::lchown(data.path.c_str(), kNobody, kNobody), 0);
  const ProgramResult foreign = Qvrctl({"--keep-backups", "1", "write", "mux-410", file, "--yes"});
  EXPECT_EQ(foreign.status, 0) << foreign.err;
  EXPECT_NE(foreign.err.find("were not removed: the folder belongs to another user"),
            std::string::npos)
      << foreign.err;
  EXPECT_EQ(Listed().size(), 3u);
}

// Computers sharing one data folder: another computer's backups are listed and taken by "latest"
// in their place, never pruned here; one still arriving (no raw image yet) is passed over.
TEST_F(BackupsOverUsb, ComputersSharingTheFolderPruneOnlyTheirOwn) {
  const std::string a = EditedCopy("mux-410", files / "a.MUX", "ONPOWERTO", "1234");
  ASSERT_EQ(Qvrctl({"write", "mux-410", a, "--yes"}).status, 0);
  const BackupEntry mine = Listed().back();
  // The other computer's backups, made between this one's, as a synchronised folder brings them.
  const auto planted = [&](uint64_t sequence, bool whole) {
    const std::string folder =
        Unit() + "/" + BackupFolderName(sequence, 1700000000 + sequence) + "_" + "othercomputer";
    fs::create_directories(folder);
    fs::copy_file(mine.path, folder + "/a.MUX");
    RawImage raw = *ReadRawImage(mine.rawPath);
    raw.sequence = sequence;
    raw.machine = "othercomputer-id";
    if (whole) std::ofstream(folder + "/" + kRawImageFileName) << RawImageText(raw);
    return folder;
  };
  for (uint64_t sequence : {2, 3}) planted(sequence, true);
  const std::string arriving = planted(4, false);
  for (int change = 0; change < 3; ++change)
    ASSERT_EQ(Qvrctl({"--keep-backups", "1", "write", "mux-410", a, "--yes"}).status, 0);
  const std::vector<BackupEntry> kept = Listed();
  std::vector<uint64_t> sequences;
  for (const BackupEntry& entry : kept) sequences.push_back(entry.sequence);
  EXPECT_EQ(sequences, (std::vector<uint64_t>{1, 2, 3, 7}))
      << "the first, the other computer's, the newest after the one still arriving";
  const ProgramResult listed = Qvrctl({"backups", "mux-410"});
  EXPECT_NE(listed.out.find("\"" + arriving + "\" was passed over"), std::string::npos)
      << listed.out;
  const ProgramResult latest = Qvrctl({"--json", "restore", "mux-410", "--yes", "--no-backup"});
  ASSERT_EQ(latest.status, 0) << latest.err;
  EXPECT_EQ(nlohmann::json::parse(latest.out)["file"], kept.back().path);
}

// Two computers change one unit at the same time, each through its own adapter, into one data
// folder as a synchronised share gives them: each keeps its own history file and backup folders,
// nothing is lost or mixed, and "latest" is the same backup from either computer.
TEST_F(BackupsOverUsb, TwoComputersChangingAUnitIntoOneFolderAtOnceLoseNothing) {
  const std::string a = EditedCopy("mux-410", files / "a.MUX", "ONPOWERTO", "4321");
  constexpr uint32_t kSecondAdapter = 20239999;
  AdapterSetup setup;
  setup.serial = kSecondAdapter;
  const int second = bed->Plug(setup);
  const std::string shared = files / "shared";
  const auto computer = [&](const char* id, uint32_t adapter, std::vector<std::string> args) {
    args.insert(args.begin(),
                {"/usr/bin/env", std::string("QVR_MACHINE_ID=") + id, QVRCTL_BINARY, "--lang", "en",
                 "-q", "--data-folder", shared, "--controller", std::to_string(adapter)});
    return std::make_unique<Program>(args);
  };
  constexpr uint32_t kFirstAdapter = sim::kControllerIdentity.serialNumber;
  for (int round = 0; round < 3; ++round) {
    auto one = computer("pc-one", kFirstAdapter, {"write", "mux-410", a, "--yes"});
    auto two = computer("pc-two", kSecondAdapter, {"write", "mux-410", a, "--yes"});
    const ProgramResult first = one->Finish(), other = two->Finish();
    ASSERT_EQ(first.status, 0) << first.err;
    ASSERT_EQ(other.status, 0) << other.err;
  }

  const std::vector<BackupEntry> backups =
      ListUnitBackups(shared + "/backups", "MUX-410", 41000123);
  ASSERT_EQ(backups.size(), 6u);
  EXPECT_EQ(std::count_if(backups.begin(), backups.end(),
                          [](const BackupEntry& entry) { return entry.machine == "pc-one"; }),
            3);
  for (const BackupEntry& entry : backups) {
    EXPECT_TRUE(entry.folder.ends_with("_pcone") || entry.folder.ends_with("_pctwo"))
        << entry.folder;
    EXPECT_EQ(ReadRawImage(entry.rawPath)->machine, entry.machine) << entry.folder;
  }
  for (const char* id : {"pc-one", "pc-two"}) {
    const std::string lines = FileText(shared + "/history/" + id + ".jsonl");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 6)
        << "each change's two lines in its computer's own file";
  }
  const ProgramResult history = computer("pc-one", kFirstAdapter, {"--json", "history"})->Finish();
  const nlohmann::json changes = nlohmann::json::parse(history.out)["history"];
  ASSERT_EQ(changes.size(), 6u) << history.out;
  for (const nlohmann::json& change : changes) EXPECT_EQ(change["result"], "ok") << change;

  std::string chosen[2];
  uint32_t adapters[2] = {kFirstAdapter, kSecondAdapter};
  const char* ids[2] = {"pc-one", "pc-two"};
  for (int pc = 0; pc < 2; ++pc) {
    const ProgramResult restored =
        computer(ids[pc], adapters[pc], {"--json", "restore", "mux-410", "--yes", "--no-backup"})
            ->Finish();
    ASSERT_EQ(restored.status, 0) << restored.err;
    chosen[pc] = nlohmann::json::parse(restored.out)["file"];
  }
  EXPECT_EQ(chosen[0], chosen[1]);
  EXPECT_EQ(chosen[0], backups.back().path);
  bed->Unplug(second);
}

}  // namespace
}  // namespace qvr::test
