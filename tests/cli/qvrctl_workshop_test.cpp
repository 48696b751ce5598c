// qvrctl at a workshop bench: several adapters, batches, backups before changes, diff, JSON
// and standard input/output as files.
#include <algorithm>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>

#include "cli/qvrctl_fixture.h"
#include "devices/backup/device_backup.h"
#include "devices/backup/sha256.h"
#include "devices/mux410/config_file.h"
#include "devices/tpx520/config_file.h"
#include "sim/sim_controller.h"

namespace qvr {
namespace {

std::vector<nlohmann::json> JsonLines(const std::string& text) {
  std::vector<nlohmann::json> objects;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) objects.push_back(nlohmann::json::parse(line));
  return objects;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    names.push_back(entry.path().filename().string());
  return names;
}

class Workshop : public Qvrctl {
 protected:
  // The device's configuration as a file, with another navigation type (the sample has 2).
  std::string MuxFile(uint8_t naviType) {
    EXPECT_EQ(Run({"read", "mux-410", files.File("sample.MUX")}).status, 0);
    mux410::ConfigImage image;
    mux410::ReadConfigFile(files.File("sample.MUX"), image);
    image.navi[0] = naviType;
    const std::string path = files.File("navi" + std::to_string(naviType) + ".MUX");
    EXPECT_TRUE(mux410::WriteConfigFile(path, image).ok());
    return path;
  }
  std::string BackupFolder() const { return data.path() + "/qvr-service/backups"; }
};

TEST_F(Workshop, AdaptersAreListedAndACommandNeedsExactlyOneOrAChoice) {
  const Outcome list = Run({"--simulated-adapters", "3", "--json", "list"});
  ASSERT_EQ(list.status, 0) << list.err;
  const std::vector<nlohmann::json> adapters = JsonLines(list.out);
  ASSERT_EQ(adapters.size(), 3u);
  EXPECT_EQ(adapters[1]["adapter"], "sim:2");
  EXPECT_EQ(adapters[1]["serial"], 20230418);
  EXPECT_EQ(adapters[1]["identity"]["application"], "1.12");
  EXPECT_EQ(adapters[1]["simulated"], true);
  EXPECT_NE(list.err.find("(simulated controller)"), std::string::npos);

  const Outcome ambiguous = Run({"--simulated-adapters", "2", "info"});
  EXPECT_EQ(ambiguous.status, 2);
  EXPECT_NE(ambiguous.err.find("Several adapters are connected"), std::string::npos);
  EXPECT_NE(ambiguous.err.find("sim:2  serial number 20230418, boot 1.03, application 1.12"),
            std::string::npos)
      << ambiguous.err;
  EXPECT_TRUE(ambiguous.out.empty());

  for (const char* wanted : {"sim:2", "20230418"}) {
    const Outcome info =
        Run({"--simulated-adapters", "2", "--controller", wanted, "--json", "info"});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(JsonLines(info.out).at(0)["serial"], 20230418) << wanted;
  }
  // An adapter that is not there is a failure like a missing controller, not a usage mistake.
  for (const char* wanted : {"sim:7", "99999999"}) {
    const Outcome missing = Run({"--simulated-adapters", "2", "--controller", wanted, "info"});
    EXPECT_EQ(missing.status, 1) << wanted;
    EXPECT_NE(missing.err.find("No adapter \"" + std::string(wanted) + "\" is connected"),
              std::string::npos);
  }
  // Listed but unreachable: no adapter can be used.
  WriteText(state.File("faults"), "absent\n");
  const Outcome unreachable = Run({"list"});
  EXPECT_EQ(unreachable.status, 1);
  EXPECT_NE(unreachable.out.find("sim:1  Controller \"QVR-B\" is disconnected"), std::string::npos)
      << unreachable.out;
}

// A version is hundredths: 105 reads "1.05" wherever it is shown, never "1.5", which would be
// another version. Every unit the simulator models has two-digit hundredths, so these are set.
TEST_F(Workshop, VersionsReadWithTwoDigitHundredthsInTextAndJson) {
  const struct {
    uint16_t version;
    const char* text;
  } cases[] = {{105, "1.05"}, {5, "0.05"}, {1000, "10.00"}, {1210, "12.10"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    sim::SimController(state.path()).SetApplicationVersion(0, c.version);
    sim::SimController(state.path()).SetApplicationVersion(sim::kAddressMux410, c.version);
    const std::string line = std::string("Application version       ") + c.text + "\n";

    EXPECT_NE(Run({"info"}).out.find(line), std::string::npos);
    EXPECT_NE(Run({"info", "mux-410"}).out.find(line), std::string::npos);
    EXPECT_NE(Run({"list"}).out.find(std::string("application ") + c.text + "\n"),
              std::string::npos);
    for (const char* device : {"", "mux-410"}) {
      std::vector<std::string> args = {"--json", "info"};
      if (*device != '\0') args.push_back(device);
      const Outcome info = Run(args);
      ASSERT_EQ(info.status, 0) << info.err;
      EXPECT_EQ(JsonLines(info.out).at(0)["identity"]["application"], c.text) << info.out;
    }
    const Outcome list = Run({"--json", "list"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(JsonLines(list.out).at(0)["identity"]["application"], c.text) << list.out;
  }
}

TEST_F(Workshop, ABatchWritesEveryAdapterAtOnceAndReportsTheOneThatFailed) {
  const std::string file = MuxFile(3);
  // Adapter 2 keeps its memory where it cannot save: its device refuses the write.
  WriteText(state.File("adapter-2"), "not a folder");
  const Outcome batch =
      Run({"--simulated-adapters", "3", "--controller", "all", "write", "mux-410", file, "--yes"});
  EXPECT_EQ(batch.status, 1);
  // Every line of each adapter, prefixed, and its result last.
  EXPECT_NE(batch.out.find("sim:1: Configuration written to the device \"MUX-410\"\n"),
            std::string::npos)
      << batch.out;
  EXPECT_NE(batch.out.find("sim:3: The configuration of the device \"MUX-410\" was read back"),
            std::string::npos);
  EXPECT_NE(batch.out.find("sim:1: done\n"), std::string::npos) << batch.out;
  EXPECT_NE(batch.out.find("sim:2: failed\n"), std::string::npos) << batch.out;
  EXPECT_NE(batch.out.find("sim:3: done\n"), std::string::npos) << batch.out;
  EXPECT_NE(batch.err.find("sim:2: Error writing to the device \"MUX-410\" configuration\n"),
            std::string::npos)
      << batch.err;
  EXPECT_EQ(sim::SimController(state.File("adapter-3")).Block(1, 17)[0], 3);

  // Without --yes nobody can answer for all of them: declined, nothing sent.
  const Outcome declined =
      Run({"--simulated-adapters", "2", "--controller", "all", "--json", "default", "mux-410"});
  EXPECT_EQ(declined.status, 3);
  for (const nlohmann::json& result : JsonLines(declined.out))
    EXPECT_EQ(result["status"], "declined");
}

TEST_F(Workshop, ABatchNamesEachAdaptersFileAndShowsEveryLineOfDiffAndInfo) {
  // One output for several adapters is refused before anything runs.
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"read", "mux-410", files.File("unit.MUX")},
        {"read", "mux-410", "-"},
        {"write", "mux-410", "-", "--yes"}}) {
    std::vector<std::string> args = {"--simulated-adapters", "2", "--controller", "all"};
    args.insert(args.end(), command.begin(), command.end());
    const Outcome o = Run(args);
    EXPECT_EQ(o.status, 2) << command.back();
    EXPECT_TRUE(o.out.empty()) << o.out;
    EXPECT_FALSE(std::filesystem::exists(files.File("unit.MUX")));
  }
  Outcome o = Run({"--simulated-adapters", "2", "--controller", "all", "read", "mux-410",
                   files.File("unit-{serial}-{adapter}.MUX")});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_TRUE(std::filesystem::exists(files.File("unit-20230417-sim-1.MUX")));
  EXPECT_TRUE(std::filesystem::exists(files.File("unit-20230418-sim-2.MUX")));

  // Adapter 2's unit gets another navigation type: diff says which differs, line by line.
  const std::string file = files.File("unit-20230417-sim-1.MUX");
  ASSERT_EQ(Run({"--simulated-adapters", "2", "--controller", "sim:2", "write", "mux-410",
                 MuxFile(5), "--yes", "--no-backup"})
                .status,
            0);
  o = Run({"--simulated-adapters", "2", "--controller", "all", "diff", "mux-410", file});
  EXPECT_EQ(o.status, 1) << o.err;
  EXPECT_NE(o.out.find("sim:1: same\n"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("sim:2: [NAVI] TYPE: 5 | 2\nsim:2: different\n"), std::string::npos)
      << o.out;
  WriteText(state.File("adapter-2/faults"), "absent\n");
  o = Run({"--simulated-adapters", "2", "--controller", "all", "diff", "mux-410", file});
  EXPECT_EQ(o.status, 2) << "trouble outweighs a difference";

  o = Run({"--simulated-adapters", "2", "--controller", "all", "info"});
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.out.find("sim:1: The serial number         20230417\n"
                       "sim:1: Boot version              1.03\n"),
            std::string::npos)
      << o.out;
}

TEST_F(Workshop, EveryWriteKeepsABackupOfWhatItReplacesAndStopsWithoutOne) {
  const std::string file = MuxFile(3);
  Outcome o = Run({"write", "mux-410", file, "--yes"});
  ASSERT_EQ(o.status, 0) << o.err;
  // A folder per unit (device and serial number), one per backup named for its UTC time, and
  // the file under the unit's own name; the simulator's apart from real units.
  const std::string unit = BackupFolder() + "/simulated/MUX-410-41000123";
  std::vector<std::string> backups = FilesIn(unit);
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_TRUE(std::regex_match(backups[0], std::regex(R"(20\d{6}T\d{6}Z)"))) << backups[0];
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
  for (const char* name : {"", "a/b", "a\\b", "x:", "end.", "con", "LPT1", "tab\there"})
    EXPECT_EQ(BackupConfigFileName(name), "configuration.MUX") << name;
  // The unit's name does not fit a file name, and the name of a backup may be anything.
  for (const char* name : {"Garage: left", "Demo"}) {
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
    if (std::strchr(name, ':')) {
      EXPECT_EQ(std::filesystem::path(path).filename().string(), "configuration.MUX") << path;
      continue;
    }
    // Written back by hand, a backup under the unit's name gives the same unit.
    ASSERT_EQ(Run({"write", "mux-410", path, "--yes", "--no-backup"}).status, 0);
    EXPECT_EQ(Run({"diff", "--all", "mux-410", path}).out.find("NAME"), std::string::npos);
  }
  EXPECT_EQ(Run({"backups", "tpx-520"}).status, 1) << "none of that device";

  // Only the newest of each unit stay.
  for (int n = 0; n < 4; ++n)
    ASSERT_EQ(Run({"--keep-backups", "3", "write", "mux-410", MuxFile(uint8_t(n)), "--yes"}).status,
              0);
  const Outcome listed = Run({"backups"});
  EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 3) << listed.out;
  EXPECT_NE(listed.out.find("MUX-410  serial number 41000123  20"), std::string::npos)
      << listed.out;
  // Real units' backups are another folder.
  EXPECT_EQ(RunPlain({"qvrctl", "--lang", "en", "backups"}).status, 1);
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
    const std::string name = BackupTimeName(second);
    std::filesystem::create_directory(files.File("planted-" + name));
    std::filesystem::create_directory_symlink(files.File("planted-" + name), unit + "/" + name);
    std::filesystem::create_symlink(files.File("gone-" + name), unit + "/" + name + "-2");
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
  EXPECT_TRUE(made[0].ends_with("Z-3")) << made[0];
  EXPECT_EQ(FilesIn(unit + "/" + made[0]).size(), 1u);

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

// Names and values from files and adapters are data: JSON takes any byte, a terminal gets no
// control character that could retitle it, clear it or overwrite a line.
TEST_F(Workshop, TextFromFilesReachesJsonAndTheTerminalAsHarmlessText) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows file names cannot hold the control characters this feeds in";
#endif
  // A file name that is not UTF-8.
  Outcome o = Run({"--json", "write", "mux-410", files.File("\xFF\xFE.MUX"), "--yes"});
  EXPECT_EQ(o.status, 1);
  ASSERT_EQ(JsonLines(o.out).size(), 1u) << o.out;
  EXPECT_NE(JsonLines(o.out)[0]["message"].get<std::string>().find("\xEF\xBF\xBD"),
            std::string::npos);

  // A refused value with escape sequences and Windows-1251 bytes, as the file holds it.
  const std::string refused = files.File("refused.MUX");
  std::string text = ReadText(MuxFile(3));
  const size_t type = text.find("TYPE=3", text.find("[NAVI]"));
  ASSERT_NE(type, std::string::npos);
  text.replace(type, 6,
               "TYPE=9\x1B]0;owned\x07\xC0\x9B"
               "2J");
  WriteText(refused, text);
  o = Run({"write", "mux-410", refused, "--yes"});
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("key TYPE=9?]0;owned?\xD0\x90\xE2\x80\xBA"
                       "2J: The value"),
            std::string::npos)
      << o.err;
  o = Run({"--json", "write", "mux-410", refused, "--yes"});
  ASSERT_EQ(JsonLines(o.out).size(), 1u) << o.out;
  EXPECT_NE(JsonLines(o.out)[0]["message"].get<std::string>().find("9\x1B]0;owned"),
            std::string::npos);

  // An event's description and the name in diff, made to overwrite the line before.
  Outcome read = Run({"read", "mux-410", files.File("Demo.MUX")});
  ASSERT_EQ(read.status, 0) << read.err;
  WriteText(files.File("fake.MUX"), ReadText(files.File("Demo.MUX")) +
                                        "[EVENT9]\r\nInput=2\r\nEvent=3\r\ntype=1\r\n"
                                        "Description=x\x1B[1A\x1B[2KNo differences\r\n");
  o = Run({"diff", "--all", "mux-410", files.File("fake.MUX")});
  EXPECT_EQ(o.status, 1) << o.err;
  EXPECT_NE(o.out.find("| x?[1A?[2KNo differences\n"), std::string::npos) << o.out;
  EXPECT_EQ(o.out.find('\x1B'), std::string::npos);

  // A folder name that retitles the window, as the history lists the file written from it.
  const std::string folder = files.File("d\x1B]0;owned\x07");
  std::filesystem::create_directory(folder);
  std::filesystem::copy_file(MuxFile(3), folder + "/navi3.MUX");
  ASSERT_EQ(Run({"write", "mux-410", folder + "/navi3.MUX", "--yes", "--no-backup"}).status, 0);
  o = Run({"history"});
  EXPECT_NE(o.out.find("d?]0;owned?/navi3.MUX"), std::string::npos) << o.out;
  EXPECT_EQ(o.out.find('\x1B'), std::string::npos);
}

TEST_F(Workshop, DiffShowsWhatAWriteWouldChangeAndIsCleanAfterReadOrWrite) {
  // Read under any name: the name and the descriptions are no difference a diff counts.
  Outcome o = Run({"read", "mux-410", files.File("unit.MUX")});
  ASSERT_EQ(o.status, 0) << o.err;
  o = Run({"diff", "mux-410", files.File("unit.MUX")});
  EXPECT_EQ(o.status, 0) << o.out << o.err;
  EXPECT_NE(o.out.find("is the same as the file"), std::string::npos);
  EXPECT_NE(o.err.find("more in the configuration name and descriptions"), std::string::npos);

  // Write, then check: clean, descriptions and all.
  const std::string changed = MuxFile(4);
  WriteText(changed, ReadText(changed) +
                         "[EVENT9]\r\nDescription=Beep\r\nInput=2\r\n"
                         "Event=3\r\ntype=1\r\n");
  o = Run({"diff", "mux-410", changed});
  EXPECT_EQ(o.status, 1) << o.err;
  EXPECT_NE(o.out.find("[NAVI] TYPE: 2 | 4"), std::string::npos) << o.out;
  // Events the device does not have yet differ in every key.
  EXPECT_NE(o.out.find("[EVENT4] Event:  | 3"), std::string::npos) << o.out;
  EXPECT_EQ(o.out.find("NAME"), std::string::npos) << "names only with --all";
  o = Run({"diff", "--all", "mux-410", changed});
  EXPECT_NE(o.out.find("[CONFIGFILE] NAME: Demo | navi4"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("[EVENT4] Description:  | Beep"), std::string::npos) << o.out;
  ASSERT_EQ(Run({"write", "mux-410", changed, "--yes"}).status, 0);
  o = Run({"diff", "mux-410", changed});
  EXPECT_EQ(o.status, 0) << o.out;
  EXPECT_NE(o.out.find("is the same as the file"), std::string::npos);

  o = Run({"diff", "mux-410", files.File("missing.MUX")});
  EXPECT_EQ(o.status, 2);
}

TEST_F(Workshop, AWriteIsReadBackAndADeviceThatDidNotKeepItFails) {
  const std::string file = MuxFile(5);
  Outcome o = Run({"write", "mux-410", file, "--yes", "--no-backup"});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("was read back: it is what was sent"), std::string::npos) << o.out;

  // Every block is acknowledged and nothing kept.
  WriteText(state.File("faults"), "forgetful\n");
  const std::string other = MuxFile(3);
  o = Run({"write", "mux-410", other, "--yes", "--no-backup"});
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("after the write differs from what was sent:\n[CONFIGFILE] NAME: navi5 | "
                       "navi3\n[NAVI] TYPE: 5 | 3"),
            std::string::npos)
      << o.err;
  o = Run({"write", "mux-410", other, "--yes", "--no-backup", "--no-verify"});
  EXPECT_EQ(o.status, 0) << o.err;
}

TEST_F(Workshop, ValuesTheUnitWouldHoldOtherwiseAreSaidAndStrictRefusesThem) {
  ASSERT_EQ(Run({"read", "mux-410", files.File("unit.MUX")}).status, 0);
  std::string text = ReadText(files.File("unit.MUX"));
  auto set = [&text](const std::string& key, const std::string& value) {
    const size_t at = text.find("\n" + key + "=") + 1;
    text.replace(at, text.find('\r', at) - at, key + "=" + value);
  };
  set("ONPOWERTO", "999999");
  set("TYPE", "abc");
  set("FLAGS", "255");
  set("USECIR", "3");
  set("address", "70000");
  WriteText(files.File("odd.MUX"), text);
  const std::string odd = files.File("odd.MUX");
  const std::vector<std::string> said = {
      "section [MODE], key ONPOWERTO=999999: the unit will hold 16959 (cut to 16 bits)",
      "section [NAVI], key TYPE=abc: the unit will hold 0 (not a number)",
      "section [NAVI], key FLAGS=255: the unit will hold 3 (bits the unit does not keep are "
      "cleared)",
      "section [DPAR], key USECIR=3: the unit will hold 1 (only bit 0 counts)",
      "section [EVENT1], key address=70000: the unit will hold 4464 (cut to 16 bits)",
  };
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"check", odd},
        {"diff", "mux-410", odd},
        {"--log", "write", "mux-410", odd, "--yes", "--strict"},
        {"write", "mux-410", odd, "--yes", "--no-backup"}}) {
    SCOPED_TRACE(command[0] + " " + command.back());
    const Outcome o = Run(command);
    for (const std::string& line : said) EXPECT_NE(o.err.find(line), std::string::npos) << o.err;
    if (command[0] == "check") {
      EXPECT_EQ(o.status, 1);
    }
    if (command.back() == "--strict") {
      EXPECT_EQ(o.status, 1);
      EXPECT_FALSE(SentPackets(o)) << "refused before anything is sent";
    }
  }
  // Sent as the file format defines all the same.
  EXPECT_EQ(sim::SimController(state.path()).Block(1, 18)[2], 16959 & 0xFF);
  const Outcome json = Run({"--json", "check", odd});
  EXPECT_EQ(JsonLines(json.out).at(0)["changed"].size(), 5u);
  EXPECT_EQ(JsonLines(json.out).at(0)["target"], "MUX-410");

  const Outcome clean = Run({"check", files.File("unit.MUX")});
  EXPECT_EQ(clean.status, 0) << clean.err;
  tpx520::ConfigImage tpx;
  tpx.naviType() = 1;
  tpx.setPulseTimeout(500);
  ASSERT_TRUE(tpx520::WriteConfigFile(files.File("t.MUX"), tpx).ok());
  const Outcome other = Run({"check", files.File("t.MUX")});
  EXPECT_EQ(other.status, 0) << other.err;
  EXPECT_NE(other.out.find("reaches the device \"TPX-520\" as it is"), std::string::npos);
}

TEST_F(Workshop, EveryChangeToAUnitIsAppendedToTheHistory) {
  // The digest's known values, the two-block tail among them.
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");

  EXPECT_EQ(Run({"history"}).status, 1) << "nothing yet";
  const std::string file = MuxFile(3);
  ASSERT_EQ(Run({"write", "mux-410", file}).status, 3) << "declined: no change, no line";
  ASSERT_EQ(Run({"write", "mux-410", file, "--yes"}).status, 0);
  ASSERT_EQ(Run({"default", "mux-410", "--yes", "--no-backup"}).status, 0);
  ASSERT_EQ(Run({"reset", "tpx-520"}).status, 0);
  // A write that reached the unit and failed is a change too.
  WriteText(state.File("faults"), "forgetful\n");
  ASSERT_EQ(Run({"write", "mux-410", file, "--yes", "--no-backup"}).status, 1);

  const Outcome text = Run({"history"});
  ASSERT_EQ(text.status, 0) << text.err;
  const std::string digest = Sha256Hex(ReadText(file));
  EXPECT_NE(text.out.find("  write MUX-410  unit 41000123  adapter 20230417  (qvrctl)  ok  " +
                          file + " " + digest + "\n"),
            std::string::npos)
      << text.out;
  const nlohmann::json history = JsonLines(Run({"--json", "history"}).out).at(0)["history"];
  ASSERT_EQ(history.size(), 4u) << history;
  EXPECT_EQ(history[1]["command"], "default");
  EXPECT_EQ(history[1]["file"], "");
  EXPECT_EQ(history[2]["command"], "reset");
  EXPECT_EQ(history[2]["device"], "TPX-520");
  EXPECT_EQ(history[3]["result"], "failed");
  EXPECT_EQ(history[3]["simulated"], true);
  EXPECT_TRUE(std::regex_match(history[0]["time"].get<std::string>(),
                               std::regex(R"(20\d\d-\d\d-\d\dT\d\d:\d\d:\d\dZ)")));
}

// Every command, whatever its outcome, prints one object per adapter in the one format.
TEST_F(Workshop, EveryCommandPrintsOneObjectPerAdapterInTheOneFormat) {
  ASSERT_EQ(Run({"read", "mux-410", files.File("unit.MUX")}).status, 0);
  const std::string changed = MuxFile(4);
  const nlohmann::json diff = JsonLines(Run({"--json", "diff", "mux-410", changed}).out).at(0);
  EXPECT_EQ(diff["differences"],
            nlohmann::json::parse(R"([{"section":"NAVI","key":"TYPE","unit":"2","file":"4",)"
                                  R"("counted":true}])"));
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* word;
    const char* field;  // one of the command's own fields
  };
  const std::vector<Case> cases = {
      {{"info", "mux-410"}, 0, "ok", "identity"},
      {{"list"}, 0, "ok", "identity"},
      {{"reset", "mux-410"}, 0, "ok", "target"},
      {{"read", "mux-410", files.File("again.MUX")}, 0, "ok", "file"},
      {{"diff", "mux-410", files.File("unit.MUX")}, 0, "ok", "differences"},
      {{"diff", "mux-410", changed}, 1, "different", "differences"},
      {{"diff", "mux-410", files.File("none.MUX")}, 2, "failed", "file"},
      {{"write", "mux-410", changed}, 3, "declined", "file"},
      {{"write", "mux-410", changed, "--yes"}, 0, "ok", "verified"},
      {{"default", "mux-410", "--yes"}, 0, "ok", "backup"},
      {{"restore", "mux-410", "--yes"}, 0, "ok", "backup"},
      {{"backups"}, 0, "ok", "backups"},
      {{"update", "mux-410", files.File("none.LDR"), "--yes"}, 1, "failed", "file"},
      {{"read", "mux-410", "-"}, 2, "usage", nullptr},
      {{"info", "mux-999"}, 2, "usage", nullptr},
      {{"--controller", "sim:9", "info"}, 1, "failed", nullptr},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--json"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome o = Run(args);
    SCOPED_TRACE(c.args[0] + " " + c.args.back());
    EXPECT_EQ(o.status, c.status) << o.err;
    const std::vector<nlohmann::json> objects = JsonLines(o.out);
    ASSERT_EQ(objects.size(), 1u) << o.out;
    const nlohmann::json& object = objects[0];
    EXPECT_EQ(object["format"], 1);
    EXPECT_EQ(object["status"], c.word);
    for (const char* key : {"command", "adapter", "serial", "message"})
      EXPECT_TRUE(object.contains(key)) << key;
    if (c.status != 2 || c.field) {
      EXPECT_EQ(object["command"], c.args[0] == "--controller" ? "info" : c.args[0]);
    }
    EXPECT_FALSE(object["message"].get<std::string>().empty());
    if (c.field) {
      EXPECT_TRUE(object.contains(c.field)) << object;
    }
    if (c.word == std::string("ok") && c.args[0] != "backups") {
      EXPECT_EQ(object["adapter"], "sim:1");
      EXPECT_EQ(object["serial"], 20230417);
    }
  }
  // Several adapters: one object each, in adapter order.
  const Outcome batch =
      Run({"--json", "--simulated-adapters", "2", "--controller", "all", "info", "tpx-520"});
  const std::vector<nlohmann::json> objects = JsonLines(batch.out);
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[1]["adapter"], "sim:2");
  EXPECT_EQ(objects[1]["identity"]["serial"], 52000457);
}

TEST_F(Workshop, ADashReadsToStandardOutputAndWritesFromStandardInput) {
  const Outcome read = Run({"read", "mux-410", "-"});
  ASSERT_EQ(read.status, 0) << read.err;
  EXPECT_EQ(read.out.rfind("[CONFIGFILE]\r\nNAME=Demo\r\n", 0), 0u) << read.out.substr(0, 80);
  EXPECT_FALSE(std::filesystem::exists("-"));

  std::string edited = read.out;
  const size_t type = edited.find("TYPE=");
  ASSERT_NE(type, std::string::npos);
  edited.replace(type, 6, "TYPE=5");
  // Standard input holds the data, so it cannot answer the question as well.
  const Outcome unasked = Run({"write", "mux-410", "-", "--no-backup"}, edited.c_str());
  EXPECT_EQ(unasked.status, 3);
  EXPECT_NE(unasked.err.find("no terminal to ask on"), std::string::npos) << unasked.err;
  const Outcome written = Run({"write", "mux-410", "-", "--yes", "--no-backup"}, edited.c_str());
  EXPECT_EQ(written.status, 0) << written.err;
  EXPECT_EQ(sim::SimController(state.path()).Block(1, 17)[0], 5);
}

// Standard input is data of unknown size and content: it is read to a configuration file's
// limit, its NAME kept to what the window would send, its errors name it, and nothing of it is
// left in the temporary folder.
TEST_F(Workshop, StandardInputIsBoundedNamedAndLeavesNothingBehind) {
  const test::TempDir temporary;
  test::SetEnvironment("TMPDIR", temporary.path());
  const std::string read = Run({"read", "mux-410", "-"}).out;
  struct NameCase {
    std::string given;
    std::string sent;
  };
  for (const NameCase& c : {NameCase{"ab\x1B[2J\x07"
                                     "cd",
                                     "ab[2Jcd"},
                            NameCase{std::string(31, 'n'), std::string(31, 'n')},
                            NameCase{std::string(32, 'n'), "Too long name..."}}) {
    std::string edited = read;
    edited.replace(edited.find("NAME=Demo"), 9, "NAME=" + c.given);
    const Outcome o = Run({"write", "mux-410", "-", "--yes", "--no-backup"}, edited.c_str());
    EXPECT_EQ(o.status, 0) << o.err;
    const std::vector<uint8_t> name = sim::SimController(state.path()).Block(1, 5);
    EXPECT_EQ(std::string(name.begin(), std::find(name.begin(), name.end(), 0)), c.sent);
  }

  Outcome o = Run({"write", "mux-410", "-", "--yes"}, "[MainSettings]\r\nTop=1\r\n");
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err,
            "The file \"standard input\" is not a configuration file of the device \"MUX-410\"\n");
  const std::string huge = read + std::string(4 * 1024 * 1024, ';');
  o = Run({"--log", "diff", "mux-410", "-"}, huge.c_str());
  EXPECT_EQ(o.status, 2);
  EXPECT_NE(o.err.find("Standard input holds more than 4194304 bytes"), std::string::npos);
  EXPECT_EQ(o.err.find("->"), std::string::npos) << "nothing was sent";
  EXPECT_TRUE(std::filesystem::is_empty(temporary.path()));
  test::UnsetEnvironment("TMPDIR");
}

}  // namespace
}  // namespace qvr
