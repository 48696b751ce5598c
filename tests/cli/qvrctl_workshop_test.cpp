// qvrctl at a workshop bench: several adapters, batches, backups before changes, diff, JSON
// and standard input/output as files.
#include <algorithm>
#include <ctime>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>

#include "cli/qvrctl_fixture.h"
#include "devices/backup/device_backup.h"
#include "devices/mux410/config_file.h"
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
  EXPECT_EQ(adapters[1]["path"], "sim:2");
  EXPECT_EQ(adapters[1]["serial"], 20230418);
  EXPECT_EQ(adapters[1]["application"], "1.12");
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
  const Outcome missing = Run({"--simulated-adapters", "2", "--controller", "sim:7", "info"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("No adapter \"sim:7\" is connected"), std::string::npos);
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
      EXPECT_EQ(JsonLines(info.out).at(0)["application"], c.text) << info.out;
    }
    const Outcome list = Run({"--json", "list"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(JsonLines(list.out).at(0)["application"], c.text) << list.out;
  }
}

TEST_F(Workshop, ABatchWritesEveryAdapterAtOnceAndReportsTheOneThatFailed) {
  const std::string file = MuxFile(3);
  // Adapter 2 keeps its memory where it cannot save: its device refuses the write.
  WriteText(state.File("adapter-2"), "not a folder");
  const Outcome batch =
      Run({"--simulated-adapters", "3", "--controller", "all", "write", "mux-410", file, "--yes"});
  EXPECT_EQ(batch.status, 1);
  std::istringstream lines(batch.out);
  std::vector<std::string> results;
  for (std::string line; std::getline(lines, line);) results.push_back(line);
  ASSERT_EQ(results.size(), 3u) << batch.out;
  EXPECT_EQ(results[0], "sim:1: done: Configuration written to the device \"MUX-410\"");
  EXPECT_EQ(results[1].rfind("sim:2: failed: ", 0), 0u) << results[1];
  EXPECT_EQ(results[2], "sim:3: done: Configuration written to the device \"MUX-410\"");
  EXPECT_EQ(sim::SimController(state.File("adapter-3")).Block(1, 17)[0], 3);

  // Without --yes nobody can answer for all of them: declined, nothing sent.
  const Outcome declined =
      Run({"--simulated-adapters", "2", "--controller", "all", "--json", "default", "mux-410"});
  EXPECT_EQ(declined.status, 3);
  for (const nlohmann::json& result : JsonLines(declined.out)) EXPECT_EQ(result["exit"], 3);
}

TEST_F(Workshop, EveryWriteKeepsABackupOfWhatItReplacesAndStopsWithoutOne) {
  const std::string file = MuxFile(3);
  Outcome o = Run({"write", "mux-410", file, "--yes"});
  ASSERT_EQ(o.status, 0) << o.err;
  std::vector<std::string> backups = FilesIn(BackupFolder());
  ASSERT_EQ(backups.size(), 1u);
  // Device, serial number and the UTC time of the backup, to the second.
  EXPECT_TRUE(std::regex_match(backups[0], std::regex(R"(MUX-410-41000123-20\d{6}T\d{6}Z\.MUX)")))
      << backups[0];
  EXPECT_EQ(BackupFileName("TPX-520", 7, 86399), "TPX-520-7-19700101T235959Z.MUX");
  EXPECT_NE(o.out.find("Backup of the device's configuration saved to"), std::string::npos);
  mux410::ConfigImage before;
  mux410::ReadConfigFile(BackupFolder() + "/" + backups[0], before);
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

// Anything standing at a backup's name (another backup, a link planted there, even a dangling
// one) makes it take the next free name; without a home no backup is made anywhere.
TEST_F(Workshop, ABackupTakesOnlyAFreeNameAndNeedsAHome) {
  const std::string file = MuxFile(3);
  std::filesystem::create_directories(BackupFolder());
  const std::time_t now = std::time(nullptr);
  for (std::time_t second = now; second < now + 5; ++second) {
    const std::string name = BackupFileName("MUX-410", 41000123, second);
    std::filesystem::create_symlink(files.File("planted-" + name), BackupFolder() + "/" + name);
  }
  Outcome o = Run({"write", "mux-410", file, "--yes"});
  ASSERT_EQ(o.status, 0) << o.err;
  for (const std::string& name : FilesIn(files.path()))
    EXPECT_FALSE(name.starts_with("planted-")) << "a backup followed a link to " << name;
  std::vector<std::string> made;
  for (const std::string& name : FilesIn(BackupFolder())) {
    if (!std::filesystem::is_symlink(BackupFolder() + "/" + name)) made.push_back(name);
  }
  ASSERT_EQ(made.size(), 1u);
  EXPECT_TRUE(made[0].ends_with("Z-2.MUX")) << made[0];

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
  EXPECT_EQ(FilesIn(data.path() + "/.local/share/qvr-service/backups").size(), 1u);
  if (home) test::SetEnvironment("HOME", savedHome);
}

// Names and values from files and adapters are data: JSON takes any byte, a terminal gets no
// control character that could retitle it, clear it or overwrite a line.
TEST_F(Workshop, TextFromFilesReachesJsonAndTheTerminalAsHarmlessText) {
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
  o = Run({"diff", "mux-410", files.File("fake.MUX")});
  EXPECT_EQ(o.status, 1) << o.err;
  EXPECT_NE(o.out.find("| x?[1A?[2KNo differences\n"), std::string::npos) << o.out;
  EXPECT_EQ(o.out.find('\x1B'), std::string::npos);
}

TEST_F(Workshop, DiffShowsWhatAWriteWouldChange) {
  // Saved under the configuration's own name, so that writing it back would rename nothing.
  Outcome o = Run({"read", "mux-410", files.File("Demo.MUX")});
  ASSERT_EQ(o.status, 0) << o.err;
  o = Run({"diff", "mux-410", files.File("Demo.MUX")});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("is the same as the file"), std::string::npos);

  const std::string changed = MuxFile(4);
  o = Run({"--json", "diff", "mux-410", changed});
  EXPECT_EQ(o.status, 1) << o.err;
  const std::vector<nlohmann::json> differences = JsonLines(o.out);
  ASSERT_EQ(differences.size(), 2u) << o.out;
  EXPECT_EQ(
      differences[0],
      (nlohmann::json{
          {"section", "CONFIGFILE"}, {"key", "NAME"}, {"device", "Demo"}, {"file", "navi4"}}));
  EXPECT_EQ(differences[1],
            (nlohmann::json{{"section", "NAVI"}, {"key", "TYPE"}, {"device", "2"}, {"file", "4"}}));

  // Events the device does not have yet are keys only the file holds.
  WriteText(files.File("more.MUX"),
            ReadText(files.File("Demo.MUX")) + "[EVENT9]\r\nInput=2\r\nEvent=3\r\ntype=1\r\n");
  o = Run({"diff", "mux-410", files.File("more.MUX")});
  EXPECT_EQ(o.status, 1) << o.err;
  EXPECT_NE(o.out.find("[EVENT4] Event:  | 3"), std::string::npos) << o.out;

  // A failure in JSON mode is an object too, with the exit status.
  o = Run({"--json", "diff", "mux-410", files.File("missing.MUX")});
  EXPECT_EQ(o.status, 2);
  EXPECT_EQ(JsonLines(o.out).at(0)["status"], "failed");
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
