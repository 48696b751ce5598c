// qvrctl at a workshop bench: several adapters, batches, diff, read-back, JSON and standard
// input/output as files.
#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/workshop_fixture.h"
#include "devices/mux410/config_file.h"
#include "devices/tpx520/config_file.h"
#include "sim/sim_controller.h"

namespace qvr {
namespace {

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

#ifdef _WIN32
  const char* const kChosen[] = {"sim:2", "20230418", "SIM:2"};  // Windows ignores the case
#else
  const char* const kChosen[] = {"sim:2", "20230418"};
#endif
  for (const char* wanted : kChosen) {
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
  // Adapter 2's MUX-410 keeps its memory where it cannot save: the device refuses the write.
  std::filesystem::create_directories(state.File("adapter-2") + "/mux-410.state");
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

  // A unit name with Windows-1251's byte that has no letter, read as the C1 control U+0098:
  // JSON escapes it like the C0 ones, the terminal gets '?'.
  sim::SimController(state.path()).SetBlock(1, 5, {'x', 0x98, 'y'});
  o = Run({"--json", "diff", "--all", "mux-410", files.File("Demo.MUX")});
  EXPECT_NE(o.out.find("\"x\\u0098y\""), std::string::npos) << o.out;
  EXPECT_EQ(o.out.find("\xC2\x98"), std::string::npos);
  o = Run({"diff", "--all", "mux-410", files.File("Demo.MUX")});
  EXPECT_NE(o.out.find("x?y"), std::string::npos) << o.out;

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

  // The write ends with the unit's restart: silent for about a second (two requests left
  // unanswered), it is waited for and verified; silent beyond the wait, the write stands and
  // only its check is missing.
  const auto written = [&](const char* faults) {
    WriteText(state.File("faults"), faults);
    const Outcome run = Run({"--json", "write", "mux-410", file, "--yes", "--no-backup"});
    const std::vector<nlohmann::json> objects = JsonLines(run.out);
    EXPECT_EQ(objects.size(), 1u) << run.out;
    return std::pair{run, objects.empty() ? nlohmann::json() : objects[0]};
  };
  auto [brief, briefJson] = written("restart-silent 2\n");
  EXPECT_EQ(brief.status, 0) << brief.err;
  EXPECT_EQ(briefJson["written"], true);
  EXPECT_EQ(briefJson["verified"], true);
  EXPECT_FALSE(briefJson.contains("verify_error"));
  auto [silent, silentJson] = written("restart-silent 10\n");
  EXPECT_EQ(silent.status, 1);
  EXPECT_NE(silent.err.find("Configuration written to the device \"MUX-410\"\nThe MUX-410 "
                            "configuration was written, but could not be read back to check it:"
                            "\nthe unit has not answered since its restart\n"),
            std::string::npos)
      << silent.err;
  EXPECT_EQ(silent.err.find("Error"), std::string::npos) << "nothing says the write failed";
  EXPECT_EQ(silentJson["status"], "failed");
  EXPECT_EQ(silentJson["written"], true);
  EXPECT_EQ(silentJson["verified"], false);
  EXPECT_EQ(silentJson["verify_error"], "no-answer");
  // A write that did not go through says so in the same fields.
  auto [refused, refusedJson] = written("refuse 17 0\n");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refusedJson["written"], false);
  EXPECT_EQ(refusedJson["verified"], false);
  EXPECT_EQ(refusedJson["verify_error"], "not-written");

  // Every block is acknowledged and nothing kept.
  WriteText(state.File("faults"), "forgetful\n");
  const std::string other = MuxFile(3);
  o = Run({"write", "mux-410", other, "--yes", "--no-backup"});
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("after the write differs from what was sent:\n[CONFIGFILE] NAME: navi5 | "
                       "navi3\n[NAVI] TYPE: 5 | 3"),
            std::string::npos)
      << o.err;
  o = Run({"--json", "write", "mux-410", other, "--yes", "--no-backup", "--no-verify"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(JsonLines(o.out).at(0)["verify_error"], "skipped");
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
