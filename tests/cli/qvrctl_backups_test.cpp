// qvrctl keeps what it replaces: a backup before every change, restored exactly, at a free
// name only, and every change in the history.
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>

#include "cli/workshop_fixture.h"
#include "devices/backup/change_history.h"
#include "devices/backup/device_backup.h"
#include "devices/backup/history_reader.h"
#include "devices/backup/sha256.h"
#include "devices/mux410/config_file.h"
#include "devices/tpx520/config_file.h"
#include "platform/machine_name.h"
#include "sim/sim_controller.h"

namespace qvr {
namespace {

TEST_F(Workshop, EveryWriteKeepsABackupOfWhatItReplacesAndStopsWithoutOne) {
  const std::string file = MuxFile(3);
  Outcome o = Run({"write", "mux-410", file, "--yes"});
  ASSERT_EQ(o.status, 0) << o.err;
  // A folder per unit (device and serial number), one per backup named for its number and UTC
  // time, and the file under the unit's own name; the simulator's apart from real units.
  const std::string unit = BackupFolder() + "/simulated/MUX-410-41000123";
  std::vector<std::string> backups = FilesIn(unit);
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_TRUE(
      std::regex_match(backups[0], std::regex(R"(000001-20\d{6}T\d{6}Z_[0-9a-zA-Z]{1,12})")))
      << backups[0];
  EXPECT_EQ(BackupTimeName(86399), "19700101T235959Z");
  const std::string backup = unit + "/" + backups[0] + "/Demo.MUX";
  EXPECT_NE(o.out.find("Backup of the device's configuration saved to \"" + backup),
            std::string::npos)
      << o.out;
  mux410::ConfigImage before;
  mux410::ReadConfigFile(backup, before);
  EXPECT_EQ(before.navi[0], 2) << "the backup holds the configuration the write replaced";
  EXPECT_EQ(before.descriptionText(), "Demo") << "and the configuration's name, as a read keeps it";

  // A backups folder that cannot be made stops the write before anything is sent.
  std::filesystem::remove_all(data.path() + "/qvr-service");
  WriteText(data.path() + "/qvr-service", "");
  const std::string other = MuxFile(4);
  o = Run({"--log", "write", "mux-410", other, "--yes"});
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("Could not back up the configuration of the device \"MUX-410\""),
            std::string::npos)
      << o.err;
  EXPECT_EQ(o.err.find("00->01 CMD:91"), std::string::npos) << "no block was written";
  o = Run({"write", "mux-410", other, "--yes", "--no-backup"});
  EXPECT_EQ(o.status, 0) << o.err;
}

TEST_F(Workshop, ABackupRestoresTheUnitExactlyAndTheNewestAreKept) {
  // The unit's name is the file's name only where it reads back as that name.
  EXPECT_EQ(BackupConfigFileName("Demo"), "Demo.MUX");
  EXPECT_EQ(BackupConfigFileName("a.b"), "a.b.MUX");
  EXPECT_EQ(BackupConfigFileName("\xC3\xE0\xF0\xE0\xE6"), "Гараж.MUX");
  for (const char* name : {"", "a/b", "a\\b", "x:", "end.", "con", "LPT1", "tab\there", "C1\x98"})
    EXPECT_EQ(BackupConfigFileName(name), "configuration.MUX") << name;
  // The unit's name does not fit a file name (or holds a control no file or terminal should
  // meet), and the name of a backup may be anything.
  for (const char* name : {"Garage: left", "C1\x98", "Demo"}) {
    sim::SimController(state.path())
        .SetBlock(1, 5, std::vector<uint8_t>(name, name + std::strlen(name)));
    std::filesystem::remove_all(BackupFolder());
    ASSERT_EQ(Run({"write", "mux-410", MuxFile(3), "--yes"}).status, 0);
    const Outcome restored = Run({"restore", "mux-410", "--yes", "--no-backup"});
    ASSERT_EQ(restored.status, 0) << restored.err;
    EXPECT_EQ(sim::SimController(state.path()).Block(1, 17)[0], 2);
    const std::vector<uint8_t> block = sim::SimController(state.path()).Block(1, 5);
    EXPECT_STREQ(reinterpret_cast<const char*>(block.data()), name);
    const Outcome listed = Run({"--json", "backups", "mux-410"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    const std::string path = JsonLines(listed.out).at(0)["backups"].at(0)["file"];
    if (std::strpbrk(name, ":\x98")) {
      EXPECT_EQ(std::filesystem::path(path).filename().string(), "configuration.MUX") << path;
      const std::string raw = ReadText(JsonLines(listed.out).at(0)["backups"].at(0)["raw_image"]);
      EXPECT_EQ(raw.find("\xC2\x98"), std::string::npos) << "the control is escaped";
      continue;
    }
    // Written back by hand, a backup under the unit's name gives the same unit.
    ASSERT_EQ(Run({"write", "mux-410", path, "--yes", "--no-backup"}).status, 0);
    EXPECT_EQ(Run({"diff", "--all", "mux-410", path}).out.find("NAME"), std::string::npos);
  }
  EXPECT_EQ(Run({"backups", "tpx-520"}).status, 1) << "none of that device";

  // Only the newest of each unit stay beside its first: as many as the window's settings say,
  // or --keep-backups for one run. The file is the window's: qvrctl leaves it as it was.
  const std::string settings = files.File("qvr-service.ini");
  const std::string window = "[MainSettings]\r\nTop=12\r\nBackupsKept=3\r\n";
  WriteText(settings, window);
  const auto writeKeeping = [&](std::vector<std::string> options, uint8_t naviType) {
    options.insert(options.begin(), {"--settings", settings});
    options.insert(options.end(), {"write", "mux-410", MuxFile(naviType), "--yes"});
    return Run(options);
  };
  const auto backupsListed = [&] {
    const Outcome listed = Run({"backups"});
    return std::count(listed.out.begin(), listed.out.end(), '\n');
  };
  for (int n = 0; n < 4; ++n) ASSERT_EQ(writeKeeping({}, uint8_t(n)).status, 0);
  EXPECT_EQ(backupsListed(), 4);
  ASSERT_EQ(writeKeeping({"--keep-backups", "4"}, 4).status, 0);
  EXPECT_EQ(backupsListed(), 5);
  EXPECT_EQ(ReadText(settings), window);
  // A settings file that cannot be read keeps the default and says so; the write goes on.
  std::filesystem::remove(settings);
  std::filesystem::create_directory(settings);
  const Outcome unread = writeKeeping({}, 5);
  EXPECT_EQ(unread.status, 0) << unread.err;
  EXPECT_NE(unread.err.find("The program settings were not read from \"" + settings +
                            "\": the newest 20 backups of each unit are kept"),
            std::string::npos)
      << unread.err;
  EXPECT_EQ(backupsListed(), 6);
  const Outcome listed = Run({"backups"});
  EXPECT_NE(listed.out.find("MUX-410  serial number 41000123  20"), std::string::npos)
      << listed.out;
  // Real units' backups are another folder.
  EXPECT_EQ(RunPlain({"qvrctl", "--lang", "en", "backups"}).status, 1);

  // A data folder the settings name (a relative one beside the settings file) holds the backups
  // and the history, and the listings read it; --data-folder outranks it.
  std::filesystem::remove(settings);
  WriteText(settings, "[MainSettings]\r\nDataFolder=shared\r\n");
  const Outcome toShared = writeKeeping({}, 0);
  ASSERT_EQ(toShared.status, 0) << toShared.err;
  const std::string shared = files.File("shared");
  EXPECT_EQ(ListBackups(shared + "/backups/simulated").size(), 1u);
  EXPECT_EQ(backupsListed(), 6) << "the user's own folder without those settings";
  const std::string listedIn =
      JsonLines(Run({"--settings", settings, "--json", "backups"}).out).at(0)["folder"];
  EXPECT_EQ(std::filesystem::path(listedIn).lexically_normal(),
            std::filesystem::path(shared + "/backups/simulated").lexically_normal());
  ASSERT_EQ(Run({"--settings", settings, "--data-folder", files.File("other/"), "reset", "tpx-520"})
                .status,
            0);
  EXPECT_EQ(ReadHistory(HistoryLocationIn(files.File("other"))).size(), 1u);
  EXPECT_EQ(
      JsonLines(Run({"--settings", settings, "--json", "history"}).out).at(0)["history"].size(),
      1u);
}

// Anything standing at a backup's name (another backup, a link planted there, even a dangling
// one) makes it take the next free name; without a home no backup is made anywhere.
TEST_F(Workshop, ABackupTakesOnlyAFreeNameAndNeedsAHome) {
#ifdef _WIN32
  GTEST_SKIP() << "planted links need a privilege Windows users do not have";
#endif
  const std::string file = MuxFile(3);
  const std::string unit = BackupFolder() + "/simulated/MUX-410-41000123";
  std::filesystem::create_directories(unit);
  // A link to a folder elsewhere at each second's name, and a dangling one at its "-2".
  const std::time_t now = std::time(nullptr);
  for (std::time_t second = now; second < now + 5; ++second) {
    const std::string name = BackupFolderName(1, second);
    const std::string tag = "_" + BackupMachineTag(MachineId());
    std::filesystem::create_directory(files.File("planted-" + name));
    std::filesystem::create_directory_symlink(files.File("planted-" + name),
                                              unit + "/" + name + tag);
    std::filesystem::create_symlink(files.File("gone-" + name), unit + "/" + name + "-2" + tag);
  }
  Outcome o = Run({"write", "mux-410", file, "--yes"});
  ASSERT_EQ(o.status, 0) << o.err;
  for (const std::string& name : FilesIn(files.path())) {
    EXPECT_FALSE(name.starts_with("gone-")) << "a backup followed a link to " << name;
    if (name.starts_with("planted-")) {
      EXPECT_TRUE(FilesIn(files.File(name)).empty()) << "a backup went into " << name;
    }
  }
  std::vector<std::string> made;
  for (const std::string& name : FilesIn(unit)) {
    if (!std::filesystem::is_symlink(unit + "/" + name)) made.push_back(name);
  }
  ASSERT_EQ(made.size(), 1u);
  EXPECT_NE(made[0].find("Z-3_"), std::string::npos) << made[0];
  EXPECT_EQ(FilesIn(unit + "/" + made[0]).size(), 2u) << "the configuration and its raw image";

  // A relative XDG_DATA_HOME counts for nothing (it would follow the working folder); with no
  // home either, the write stops before anything is sent.
  const char* home = std::getenv("HOME");
  const std::string savedHome = home ? home : "";
  test::SetEnvironment(test::kDataFolderVariable, "relative-data");
  test::UnsetEnvironment("HOME");
  o = Run({"--log", "write", "mux-410", file, "--yes"});
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("the user has no folder for data"), std::string::npos) << o.err;
  EXPECT_EQ(o.err.find("00->01 CMD:91"), std::string::npos) << "no block was written";
  EXPECT_FALSE(std::filesystem::exists("relative-data"));
  EXPECT_FALSE(std::filesystem::exists(".local"));
  test::SetEnvironment("HOME", data.path());
  o = Run({"write", "mux-410", file, "--yes"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(
      FilesIn(data.path() + "/.local/share/qvr-service/backups/simulated/MUX-410-41000123").size(),
      1u);
  if (home) test::SetEnvironment("HOME", savedHome);
}

// Standard input of a user who saves another configuration over the file while the write's
// question is open, then answers Yes.
class EditedWhileAsked : public std::streambuf {
 public:
  EditedWhileAsked(std::string path, std::string edited)
      : path_(std::move(path)), edited_(std::move(edited)) {}

 protected:
  int_type underflow() override {
    if (answered_) return traits_type::eof();
    std::ofstream(path_, std::ios::binary) << edited_;
    answered_ = true;
    setg(answer_, answer_, answer_ + 2);
    return traits_type::to_int_type(answer_[0]);
  }

 private:
  std::string path_, edited_;
  char answer_[2] = {'y', '\n'};
  bool answered_ = false;
};

TEST_F(Workshop, EveryChangeToAUnitIsAppendedToTheHistory) {
  // The digest's known values, the two-block tail among them.
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");

  EXPECT_EQ(Run({"history"}).status, 1) << "nothing yet";
  const std::string file = MuxFile(3);
  const std::string original = ReadText(file);
  ASSERT_EQ(Run({"write", "mux-410", file}).status, 3) << "declined: no change, no line";
  ASSERT_EQ(Run({"write", "mux-410", file, "--yes"}).status, 0);
  ASSERT_EQ(Run({"default", "mux-410", "--yes", "--no-backup"}).status, 0);
  ASSERT_EQ(Run({"reset", "tpx-520"}).status, 0);
  // Standard input's bytes are what its digest is of.
  const std::string piped = ReadText(MuxFile(4));
  ASSERT_EQ(Run({"write", "mux-410", "-", "--yes"}, piped.c_str()).status, 0);
  // A relative name is recorded as the absolute path it named, and the digest is of the bytes
  // read before the question, which were sent, not of what the file held by the end.
  const std::string edited = ReadText(MuxFile(5));
  const std::filesystem::path started = std::filesystem::current_path();
  std::filesystem::current_path(files.path());
  const std::string absolute = (std::filesystem::current_path() / "navi3.MUX").string();
  EditedWhileAsked typing(file, edited);
  std::istream answers(&typing);
  const Outcome asked = RunReading(
      {"qvrctl", "--simulator=" + state.path(), "--lang", "en", "write", "mux-410", "navi3.MUX"},
      answers, true);
  std::filesystem::current_path(started);
  ASSERT_EQ(asked.status, 0) << asked.err;
  ASSERT_EQ(ReadText(file), edited);
  EXPECT_EQ(sim::SimController(state.path()).Block(1, 17)[0], 3);
  // A write that reached the unit and failed is a change too.
  WriteText(state.File("faults"), "forgetful\n");
  ASSERT_EQ(Run({"write", "mux-410", file, "--yes", "--no-backup"}).status, 1);
  // So is an update whose unit has not answered since its last block.
  WriteText(state.File("faults"), "restart-silent -1\n");
  test::WriteBytes(files.File("mux.LDR"),
                   test::LdrBuilder{.version = 216,
                                    .deviceVersion = sim::kMux410Identity.deviceVersion,
                                    .deviceType = sim::kMux410Identity.deviceType,
                                    .payloadSize = 200}
                       .Build());
  const Outcome update = Run({"--json", "update", "mux-410", files.File("mux.LDR"), "--yes"});
  ASSERT_EQ(update.status, 1);
  EXPECT_EQ(JsonLines(update.out).at(0)["confirmed"], false);
  WriteText(state.File("faults"), "");

  Outcome text = Run({"history"});
  ASSERT_EQ(text.status, 0) << text.err;
  const std::string digest = Sha256Hex(original);
  // Recorded in the system's own form (Windows: backslashes throughout).
  const std::string recorded = std::filesystem::path(file).lexically_normal().string();
  EXPECT_NE(text.out.find("  write MUX-410  unit 41000123  adapter 20230417  (qvrctl)  ok  " +
                          recorded + " " + digest + "\n"),
            std::string::npos)
      << text.out;
  nlohmann::json history = JsonLines(Run({"--json", "history"}).out).at(0)["history"];
  ASSERT_EQ(history.size(), 7u) << history;
  EXPECT_EQ(history[1]["command"], "default");
  EXPECT_EQ(history[1]["file"], "");
  EXPECT_EQ(history[2]["command"], "reset");
  EXPECT_EQ(history[2]["device"], "TPX-520");
  EXPECT_EQ(history[3]["file"], "-");
  EXPECT_EQ(history[3]["sha256"], Sha256Hex(piped));
  EXPECT_EQ(history[4]["file"], absolute);
  EXPECT_EQ(history[4]["sha256"], digest);
  EXPECT_EQ(history[5]["result"], "failed");
  EXPECT_EQ(history[5]["simulated"], true);
  EXPECT_NE(history[0]["id"], history[1]["id"]);
  EXPECT_EQ(history[6]["command"], "update");
  EXPECT_EQ(history[6]["result"], "not confirmed");
  EXPECT_TRUE(std::regex_match(history[0]["time"].get<std::string>(),
                               std::regex(R"(20\d\d-\d\d-\d\dT\d\d:\d\d:\d\dZ)")));

  // Another computer's file and the single file of earlier versions are merged in by time; a
  // change of that computer without its result line was cut off there.
  const std::string service = data.path() + "/qvr-service";
  const std::string own = HistoryLocationIn(service).machineFile();
  WriteText(service + "/history/other-pc.jsonl",
            R"({"id":"a1","time":"2020-06-15T06:00:00Z","program":"qvr-service","machine":"pc2",)"
            R"("adapter_serial":7,"device":"MUX-410","unit_serial":41000999,"command":"write",)"
            R"("file":"C:\\car.MUX","sha256":"","simulated":false})"
            "\n"
            R"({"id":"a1","time":"2020-06-15T06:00:09Z","result":"ok","unit_changed":true})"
            "\n"
            R"({"id":"a2","time":"2020-06-16T06:00:00Z","program":"qvrctl","machine":"pc2",)"
            R"("adapter_serial":7,"device":"MUX-410","unit_serial":41000999,"command":"update",)"
            R"("file":"","sha256":"","simulated":false})"
            "\n");
  WriteText(service + "/history.jsonl",
            R"({"time":"2019-03-01T08:00:00Z","program":"qvrctl","adapter_serial":7,)"
            R"("device":"TPX-520","unit_serial":52000456,"command":"reset","file":"",)"
            R"("sha256":"","result":"ok","simulated":true})"
            "\n");
  // A line cut short by a program killed while writing it never swallows the next change.
  std::ofstream(own, std::ios::binary | std::ios::app) << R"({"id":"cut","time":"2026-)";
  ASSERT_EQ(Run({"reset", "tpx-520"}).status, 0);
  const Outcome listed = Run({"--json", "history"});
  EXPECT_NE(listed.err.find("passed over as unreadable (cut short or not fully synchronised): 1"),
            std::string::npos)
      << listed.err;
  const nlohmann::json object = JsonLines(listed.out).at(0);
  EXPECT_EQ(object["skipped_lines"], 1);
  history = object["history"];
  ASSERT_EQ(history.size(), 11u) << history;
  EXPECT_EQ(history[0]["time"], "2019-03-01T08:00:00Z");
  EXPECT_EQ(history[0]["result"], "ok");
  EXPECT_EQ(history[1]["machine"], "pc2");
  EXPECT_EQ(history[1]["result"], "ok");
  EXPECT_EQ(history[2]["command"], "update");
  EXPECT_TRUE(history[2]["result"].is_null());
  EXPECT_EQ(history[10]["command"], "reset");
  EXPECT_EQ(history[10]["result"], "ok");
  text = Run({"history"});
  EXPECT_NE(text.out.find("update MUX-410  unit 41000999  adapter 7  (qvrctl)  no result recorded"),
            std::string::npos)
      << text.out;

  // One unit's changes, from a local date on; the text output in the chosen language.
  EXPECT_EQ(JsonLines(Run({"--json", "history", "--unit", "52000456"}).out).at(0)["history"].size(),
            3u);
  EXPECT_EQ(
      JsonLines(Run({"--json", "history", "--since", "2020-06-01"}).out).at(0)["history"].size(),
      10u);
  const Outcome none = Run({"history", "--unit", "41000999", "--since", "2020-07-01"});
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.out.find("No recorded change matches"), std::string::npos) << none.out;
  EXPECT_EQ(Run({"history", "--since", "1.7.2020"}).status, 2);
  const std::string russian = Run({"history", "--unit", "41000123"}, nullptr, "ru").out;
  EXPECT_NE(russian.find("  запись MUX-410  устройство 41000123"), std::string::npos) << russian;
  EXPECT_NE(russian.find("  сбой  "), std::string::npos) << russian;
  EXPECT_EQ(russian.find("write"), std::string::npos) << russian;
  EXPECT_EQ(russian.find("failed"), std::string::npos) << russian;

  // What stands at this computer's file and is no file takes no line, at once: the change goes
  // on and says so, and the history lists the rest.
  std::vector<std::string> planted = {"folder"};
#ifndef _WIN32
  planted.push_back("pipe");
#endif
  for (const std::string& kind : planted) {
    SCOPED_TRACE(kind);
    std::filesystem::remove_all(own);
    if (kind == "folder") std::filesystem::create_directory(own);
#ifndef _WIN32
    if (kind == "pipe") {
      ASSERT_EQ(::mkfifo(own.c_str(), 0600), 0);
    }
#endif
    const Outcome changed = Run({"reset", "tpx-520"});
    EXPECT_EQ(changed.status, 0);
    EXPECT_NE(changed.err.find("The change was not written to the history (\"" + own + "\")"),
              std::string::npos)
        << changed.err;
    const Outcome read = Run({"history"});
    EXPECT_EQ(read.status, 0);
    EXPECT_NE(read.err.find("Could not read the history file \"" + own + "\""), std::string::npos)
        << read.err;
  }
}

}  // namespace
}  // namespace qvr
